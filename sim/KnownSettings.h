// The settings file as the simulator knows it: where it lies, the notification that has it read
// again, and the keys the library reads (setup/Settings.cc) with what each takes, for the
// playground's settings pane and for messages about a key or a value that the library would
// pass over without a word.
#pragma once

#include <cctype>
#include <string_view>

namespace sim {

inline constexpr const char* kSettingsPath =
    "/var/mobile/Library/Preferences/com.vantor.glidepad.plist";
inline constexpr const char* kSettingsNotification = "com.vantor.glidepad.prefs-changed";

struct KnownSetting {
  const char* key;
  const char* takes;  // completes "expected KEY's value, …"
};

inline constexpr KnownSetting kKnownSettings[] = {
    {"enabledSwitch", "true or false (read at launch only)"},
    {"showPlaybackRate", "true or false (read at launch only)"},
    {"speed", "an integer (the swipe speed factor)"},
    {"activateAfter", "an integer (the points a swipe travels before it acts)"},
    {"topArea", "an integer (1 volume, 2 brightness, 3 seek; any other does nothing)"},
    {"bottomArea", "an integer (1 volume, 2 brightness, 3 seek; any other does nothing)"},
};

// The key's entry, or nullptr for a key the library does not read. With `ignoringCase`, the entry
// whose key differs from `key` in letter case only, to name what a misspelt key meant.
inline const KnownSetting* knownSetting(std::string_view key, bool ignoringCase = false) {
  auto same = [&](std::string_view known) {
    if (known.size() != key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i) {
      unsigned char a = static_cast<unsigned char>(known[i]);
      unsigned char b = static_cast<unsigned char>(key[i]);
      if (ignoringCase ? std::tolower(a) != std::tolower(b) : a != b) return false;
    }
    return true;
  };
  for (const auto& setting : kKnownSettings) {
    if (same(setting.key)) return &setting;
  }
  return nullptr;
}

}  // namespace sim
