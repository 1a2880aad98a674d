// Puts back every settings value when done, so that a test may set any of them.
#pragma once

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "setup/Settings.h"

namespace support {

// The process-wide values, in the order of the table's rows.
inline constexpr std::tuple kSettingsValues{
    &glidepad::enabledSwitch, &glidepad::speed,      &glidepad::activateAfter,
    &glidepad::topArea,       &glidepad::bottomArea, &glidepad::showPlaybackRate,
};
inline constexpr size_t kSettingsCount = std::tuple_size_v<decltype(kSettingsValues)>;
static_assert(kSettingsCount == glidepad::settings::kKeys.size(), "a value for every row");

template <size_t... Rows>
constexpr bool valuesMatchRows(std::index_sequence<Rows...>) {
  using glidepad::settings::Kind, glidepad::settings::kKeys;
  return ((std::is_same_v<decltype(*std::get<Rows>(kSettingsValues)), bool&> ==
           (kKeys[Rows].kind == Kind::Boolean)) &&
          ...);
}
static_assert(valuesMatchRows(std::make_index_sequence<kSettingsCount>()),
              "a boolean value for each boolean row, an integer for each other");

class SettingsScope {
 public:
  SettingsScope() : saved_(read(kSettingsValues)) {}
  ~SettingsScope() { restore(std::make_index_sequence<kSettingsCount>()); }
  SettingsScope(const SettingsScope&) = delete;
  SettingsScope& operator=(const SettingsScope&) = delete;

 private:
  template <class... T>
  static std::tuple<T...> read(const std::tuple<T*...>& values) {
    return std::apply([](T*... value) { return std::tuple<T...>{*value...}; }, values);
  }
  template <size_t... Rows>
  void restore(std::index_sequence<Rows...>) {
    ((*std::get<Rows>(kSettingsValues) = std::get<Rows>(saved_)), ...);
  }

  decltype(read(kSettingsValues)) saved_;
};

}  // namespace support
