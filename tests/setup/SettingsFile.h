// Writing the settings file at its device path, in either form.
#pragma once

#include <plist/plist.h>

#include <utility>
#include <vector>

#include "platform/DeviceFiles.h"
#include "setup/Settings.h"

namespace test {

// Each value is a fresh libplist node, owned by the file written.
using SettingsEntries = std::vector<std::pair<const char*, plist_t>>;

inline void writeSettings(const TempDeviceRoot& root, PlistFormat format,
                          const SettingsEntries& entries) {
  Plist list(plist_new_dict());
  for (const auto& [key, value] : entries) plist_dict_set_item(list.get(), key, value);
  root.write(glidepad::kSettingsPath, serialized(list, format));
}

}  // namespace test
