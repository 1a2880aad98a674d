#include "sim/SettingsFile.h"

#include <plist/plist.h>

#include <cstdlib>
#include <memory>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "sim/KnownSettings.h"

namespace sim {

namespace {

// Foundation reads no settings file larger than this.
constexpr size_t kLargestSettingsFile = 1 << 20;

struct PlistFree {
  void operator()(void* node) const { plist_free(node); }
};
using Plist = std::unique_ptr<void, PlistFree>;

// The file's dictionary as libplist's own tree, which holds every kind the file can, or a new
// empty one. Foundation reads the file first: it bounds the size and nesting that libplist, which
// recurses without a limit, is then given.
Plist existingSettings() {
  auto dictionary = objc_cast<NSDictionary>(
      alloc<NSMutableDictionary>()->initWithContentsOfFile(NSStr(kSettingsPath)));
  if (dictionary) {
    if (auto bytes = NSDeviceReadFile_(kSettingsPath, kLargestSettingsFile)) {
      plist_t root = nullptr;
      plist_from_memory(bytes->data(), static_cast<uint32_t>(bytes->size()), &root);
      Plist owned(root);
      if (owned && plist_get_node_type(owned.get()) == PLIST_DICT) return owned;
    }
  }
  return Plist(plist_new_dict());
}

std::string written(const Plist& settings) {
  char* bytes = nullptr;
  uint32_t length = 0;
  plist_to_bin(settings.get(), &bytes, &length);
  if (bytes == nullptr) return "cannot encode the settings file";
  std::string problem = NSDeviceWriteFile_(kSettingsPath, std::string_view(bytes, length));
  plist_to_bin_free(bytes);
  return problem;
}

plist_t nodeOf(const SettingValue& value) {
  switch (value.kind) {
    case SettingValue::Boolean:
      return plist_new_bool(value.boolean ? 1 : 0);
    case SettingValue::Integer:
      // libplist keeps every integer unsigned and writes a negative one back as it was given.
      return plist_new_uint(static_cast<uint64_t>(value.integer));
    case SettingValue::Real:
      return plist_new_real(value.real);
    case SettingValue::String:
      return plist_new_string(value.string.c_str());
  }
  return nullptr;
}

}  // namespace

std::string writeSettingsValue(const std::string& key, const SettingValue& value) {
  Plist settings = existingSettings();
  plist_dict_set_item(settings.get(), key.c_str(), nodeOf(value));
  return written(settings);
}

std::string removeSettingsValue(const std::string& key) {
  Plist settings = existingSettings();
  plist_dict_remove_item(settings.get(), key.c_str());
  return written(settings);
}

}  // namespace sim
