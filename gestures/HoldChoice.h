// The hold's decision, made on the host's ordered list of rate options alone (any list that
// answers `count()` and `rateAt(position)`, as in stepper/RateChoice.h).
#pragma once

#include <cstdint>
#include <optional>

namespace glidepad {

// Off for 0, a negative rate or NaN.
inline bool holdIsOn(float holdRate) { return holdRate > 0; }

// The first option, in the list's order, whose rate is at or above `holdRate`; none for no such
// option or a hold that is off.
template <class Options>
std::optional<uint64_t> holdOption(float holdRate, const Options& options) {
  if (!holdIsOn(holdRate)) return std::nullopt;
  for (uint64_t position = 0; position < options.count(); ++position) {
    if (options.rateAt(position) >= holdRate) return position;
  }
  return std::nullopt;
}

}  // namespace glidepad
