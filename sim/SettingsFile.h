// The settings file as the device's settings pane edits it: one key at a time, every other entry
// kept exactly as the file holds it, of whatever kind (a keyed archive's UID, a date, a nested
// list), since the pane never rewrites what it did not change. The file is replaced atomically
// and never through a symbolic link (Foundation/DeviceRoot.h).
#pragma once

#include <string>

#include "sim/Script.h"

namespace sim {

// Sets `key` to `value` in the settings file, making the file when it is missing; a file that holds
// no dictionary (or none that Foundation reads) is replaced by one. Answers "" or what went wrong.
std::string writeSettingsValue(const std::string& key, const SettingValue& value);

// Removes `key` from the settings file in the same way.
std::string removeSettingsValue(const std::string& key);

}  // namespace sim
