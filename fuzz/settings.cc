// The settings loader fed arbitrary bytes as the settings file. Whatever the file holds, loading
// must neither crash, hang nor leak, and must come out the same when the same file is read again;
// and a file that reads gives a tree within the loader's bounds (a guard that counted less than
// libplist builds would let a deeper or larger tree through).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "Foundation/NSArray.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSString.h"
#include "FuzzDeviceRoot.h"
#include "setup/Settings.h"

namespace {

struct Values {
  bool enabledSwitch;
  int speed;
  int activateAfter;
  int topArea;
  int bottomArea;
  bool showPlaybackRate;
  bool operator==(const Values&) const = default;
};

Values loaded() {
  glidepad::loadSettings();
  return {glidepad::enabledSwitch, glidepad::speed,      glidepad::activateAfter,
          glidepad::topArea,       glidepad::bottomArea, glidepad::showPlaybackRate};
}

// Values in the tree, keys included; past the bound when it nests deeper than 128 levels.
size_t treeValues(const id& object, unsigned depth) {
  constexpr size_t kPastBound = size_t{1} << 20;
  if (auto array = objc_cast<NSArray>(object)) {
    if (depth == 128) return kPastBound;
    size_t values = 1;
    for (NSUInteger i = 0; i < array->count(); ++i) {
      values += treeValues(array->objectAtIndex(i), depth + 1);
    }
    return values;
  }
  if (auto dictionary = objc_cast<NSDictionary>(object)) {
    if (depth == 128) return kPastBound;
    size_t values = 1;
    for (const auto& [key, value] : dictionary->entries_()) {
      values += 1 + treeValues(value, depth + 1);
    }
    return values;
  }
  return 1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::makeDeviceRoot();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = NSDeviceResolvePath_(glidepad::kSettingsPath);
  fuzz::writeHostFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
  Values first = loaded();
  if (!(loaded() == first)) __builtin_trap();
  id tree = alloc<NSMutableDictionary>()->initWithContentsOfFile(NSStr(glidepad::kSettingsPath));
  if (tree && treeValues(tree, 0) > (size_t{1} << 16)) __builtin_trap();
  return 0;
}
