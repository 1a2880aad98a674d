// The rate stepper's two decisions, made on the current rate and the host's ordered list of rate
// options alone, so that they need neither the host nor the platform.
//
// `Options` is any list that answers `count()`, `rateAt(position)` and `titleAt(position)`.
// Rates match by exact single-precision equality: no tolerance, and a NaN matches nothing.
#pragma once

#include <cstdint>
#include <optional>

namespace glidepad {

enum class StepDirection { Down, Up };

// The position of the first option whose rate equals `rate`. The count is read afresh at every
// step of the walk.
template <class Options>
std::optional<uint64_t> firstOptionWithRate(float rate, const Options& options) {
  for (uint64_t position = 0; position < options.count(); ++position) {
    if (options.rateAt(position) == rate) return position;
  }
  return std::nullopt;
}

// The title to show for `rate`: that of the first option with this rate, or none.
template <class Options>
auto labelForRate(float rate, const Options& options)
    -> std::optional<decltype(options.titleAt(0))> {
  auto match = firstOptionWithRate(rate, options);
  if (!match) return std::nullopt;
  return options.titleAt(*match);
}

// The position a step selects: the neighbour of the first option with this rate in the given
// direction; with no such option, the first position. None when that lies outside the list.
template <class Options>
std::optional<uint64_t> stepTarget(float rate, const Options& options, StepDirection direction) {
  int64_t target = 0;
  if (auto match = firstOptionWithRate(rate, options)) {
    target = static_cast<int64_t>(*match) + (direction == StepDirection::Up ? 1 : -1);
  }
  if (target < 0 || static_cast<uint64_t>(target) >= options.count()) return std::nullopt;
  return static_cast<uint64_t>(target);
}

}  // namespace glidepad
