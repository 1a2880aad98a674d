// The settings keys, written once: where the file lives, the notification that announces a change,
// and one row per key with its kind, default, and what the playground shows for it. Header-only and
// free of the values themselves, so that the simulator, the benchmarks, the fuzz targets and the
// tests read it without linking the system. setup/Settings.cc fills the values from these rows,
// in the rows' order.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace glidepad::settings {

inline constexpr const char* kPath = "/var/mobile/Library/Preferences/com.vantor.glidepad.plist";
inline constexpr const char* kIdentifier = "com.vantor.glidepad";
// Darwin notification posted by the settings pane after it writes the file.
inline constexpr const char* kChangeNotification = "com.vantor.glidepad.prefs-changed";

// How a value is read: `boolValue`, `intValue` (signed 32-bit) or `floatValue` (32-bit float).
enum class Kind { Boolean, Integer, Decimal };

// What an area code (`topArea`, `bottomArea`) makes a swipe do; any other code does nothing.
inline constexpr std::array<const char*, 4> kAreaActions{"Nothing", "Volume", "Brightness", "Seek"};

// When a changed value is seen by the running library.
enum class TakesEffect { NextLaunch, NextSwipe, NextMove, NewPlayers, NextTouch, PlayerLeaves };

struct Key {
  const char* name;  // the key in the file
  Kind kind;
  double fallback;          // the default when absent (a boolean as 0 or 1)
  const char* fallbackKey;  // when not null, absent means this other key's value
  TakesEffect takesEffect;
  const char* label;        // for people, in the playground
  double minimum, maximum;  // the range the playground offers
  bool areaCode = false;    // an integer naming one of kAreaActions
};

// The loader reads the keys in this order.
inline constexpr std::array kKeys{
    Key{"enabledSwitch", Kind::Boolean, 1, nullptr, TakesEffect::NextLaunch,
        "Swipes and rate stepper", 0, 1},
    Key{"speed", Kind::Integer, 250, nullptr, TakesEffect::NextMove, "Swipe speed", 1, 2000},
    Key{"activateAfter", Kind::Integer, 70, nullptr, TakesEffect::NewPlayers,
        "Travel before a swipe begins (points)", 0, 400},
    Key{"topArea", Kind::Integer, 1, nullptr, TakesEffect::NextSwipe, "Upper half", 0, 3, true},
    Key{"bottomArea", Kind::Integer, 3, nullptr, TakesEffect::NextSwipe, "Lower half", 0, 3, true},
    Key{"showPlaybackRate", Kind::Boolean, 1, nullptr, TakesEffect::NextLaunch,
        "Rate stepper in the controls", 0, 1},
    Key{"showFeedback", Kind::Boolean, 1, nullptr, TakesEffect::NextSwipe,
        "Show what a swipe changes", 0, 1},
    Key{"haptics", Kind::Boolean, 0, nullptr, TakesEffect::NextMove, "Haptic tick per step", 0, 1},
    Key{"deadZone", Kind::Integer, 0, nullptr, TakesEffect::NextTouch,
        "Edge band where no swipe starts (points)", 0, 100},
    Key{"fullscreenOnly", Kind::Boolean, 0, nullptr, TakesEffect::NextSwipe,
        "Swipes only in fullscreen", 0, 1},
    Key{"volumeSpeed", Kind::Integer, 0, "speed", TakesEffect::NextMove, "Volume swipe speed", 1,
        2000},
    Key{"brightnessSpeed", Kind::Integer, 0, "speed", TakesEffect::NextMove,
        "Brightness swipe speed", 1, 2000},
    Key{"seekSpeed", Kind::Integer, 0, "speed", TakesEffect::NextMove, "Seek swipe speed", 1, 2000},
    Key{"restoreBrightness", Kind::Boolean, 0, nullptr, TakesEffect::PlayerLeaves,
        "Brightness back when a player closes", 0, 1},
    Key{"doubleTapSeek", Kind::Integer, 0, nullptr, TakesEffect::NextTouch,
        "Seek steps of a double tap at a side", 0, 30},
    Key{"holdRate", Kind::Decimal, 0, nullptr, TakesEffect::NextTouch,
        "Rate while a finger is held", 0, 4},
};

// The rows by number, for code that stores or shows one particular key.
enum Row : size_t {
  kEnabledSwitchRow,
  kSpeedRow,
  kActivateAfterRow,
  kTopAreaRow,
  kBottomAreaRow,
  kShowPlaybackRateRow,
  kShowFeedbackRow,
  kHapticsRow,
  kDeadZoneRow,
  kFullscreenOnlyRow,
  kVolumeSpeedRow,
  kBrightnessSpeedRow,
  kSeekSpeedRow,
  kRestoreBrightnessRow,
  kDoubleTapSeekRow,
  kHoldRateRow,
};

// The row of a key, or nothing for a key the library does not read.
constexpr std::optional<size_t> indexOf(std::string_view name) {
  for (size_t i = 0; i < kKeys.size(); ++i) {
    if (kKeys[i].name == name) return i;
  }
  return std::nullopt;
}

constexpr bool booleanDefault(Row row) { return kKeys[row].fallback != 0; }
constexpr float decimalDefault(Row row) { return static_cast<float>(kKeys[row].fallback); }
// A row with a fallback key defaults to that key's default.
constexpr int integerDefault(Row row) {
  if (const char* other = kKeys[row].fallbackKey)
    return integerDefault(Row(indexOf(other).value()));
  return static_cast<int>(kKeys[row].fallback);
}

}  // namespace glidepad::settings
