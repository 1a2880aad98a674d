// The settings file as the simulator knows it, from the library's own table of keys: where it
// lies, the notification that has it read again, and what each key takes, for the playground's
// settings pane and for messages about a key or a value that the library would pass over without
// a word.
#pragma once

#include <string>
#include <string_view>

#include "setup/SettingsTable.h"

namespace sim {

inline constexpr const char* kSettingsPath = glidepad::settings::kPath;
inline constexpr const char* kSettingsNotification = glidepad::settings::kChangeNotification;
inline constexpr const auto& kKnownSettings = glidepad::settings::kKeys;

using KnownSetting = glidepad::settings::Key;

// The key's row, or nullptr for a key the library does not read. With `ignoringCase`, the row
// whose key differs from `key` in letter case only, to name what a misspelt key meant.
const KnownSetting* knownSetting(std::string_view key, bool ignoringCase = false);

// What the key's value must be, completing "expected KEY's value, …": "an integer (Swipe speed)".
std::string whatItTakes(const KnownSetting& setting);

}  // namespace sim
