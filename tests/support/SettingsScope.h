// Puts back every settings value when done, so that a test may set any of them.
#pragma once

#include <tuple>

#include "setup/Settings.h"

namespace support {

// The process-wide values, in the order of the table's rows.
inline constexpr std::tuple kSettingsValues{
    &glidepad::enabledSwitch, &glidepad::speed,
    &glidepad::activateAfter, &glidepad::topArea,
    &glidepad::bottomArea,    &glidepad::showPlaybackRate,
    &glidepad::showFeedback,  &glidepad::haptics,
    &glidepad::deadZone,      &glidepad::fullscreenOnly,
    &glidepad::volumeSpeed,   &glidepad::brightnessSpeed,
    &glidepad::seekSpeed,     &glidepad::restoreBrightness,
    &glidepad::doubleTapSeek, &glidepad::holdRate,
};
static_assert(std::tuple_size_v<decltype(kSettingsValues)> == glidepad::settings::kKeys.size(),
              "a value for every row of the table");

class SettingsScope {
 public:
  SettingsScope() : saved_(std::apply(read, kSettingsValues)) {}
  ~SettingsScope() {
    std::apply(
        [this](auto*... value) { std::apply([&](auto... was) { ((*value = was), ...); }, saved_); },
        kSettingsValues);
  }

 private:
  static constexpr auto read = [](auto*... value) { return std::tuple{*value...}; };
  decltype(std::apply(read, kSettingsValues)) saved_;
};

}  // namespace support
