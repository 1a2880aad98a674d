// The settings loader fed arbitrary bytes as the settings file. Whatever the file holds, loading
// must neither crash, hang nor leak, and must come out the same when the same file is read again.
#include <cstddef>
#include <cstdint>
#include <string_view>

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

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::makeDeviceRoot();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = fuzz::hostPath(glidepad::kSettingsPath);
  fuzz::writeHostFile(path, std::string_view(reinterpret_cast<const char*>(data), size));
  Values first = loaded();
  if (!(loaded() == first)) __builtin_trap();
  return 0;
}
