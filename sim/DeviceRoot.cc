#include "sim/DeviceRoot.h"

#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "Foundation/DeviceRoot.h"

namespace sim {

namespace {
constexpr const char* kPreferencesFolder = "/var/mobile/Library/Preferences";
}

DeviceRoot::~DeviceRoot() {
  if (temporary_) {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
}

std::string DeviceRoot::open(const std::string& folder) {
  std::error_code error;
  if (folder.empty()) {
    auto base = std::filesystem::temp_directory_path(error);
    if (error) base = "/tmp";
    std::string pattern = (base / "glidepad-sim.XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
      return "cannot make a temporary device root in " + base.string();
    }
    path_ = pattern;
    temporary_ = true;
  } else {
    path_ = std::filesystem::absolute(folder, error).lexically_normal().string();
    if (error) return "cannot use the device root '" + folder + "': " + error.message();
    if (std::filesystem::exists(path_, error) && !std::filesystem::is_directory(path_, error)) {
      return "the device root '" + folder + "' is not a folder";
    }
  }
  std::filesystem::create_directories(path_, error);
  if (error) return "cannot write to the device root '" + path_ + "': " + error.message();
  // The probe goes through the platform's writer, which makes the folders on the way and refuses
  // a link among them, so a root whose settings folder leads elsewhere fails here and not later.
  NSSetDeviceRoot_(path_);
  std::string probe = std::string(kPreferencesFolder) + "/.glidepad-sim-probe";
  std::string problem = NSDeviceWriteFile_(probe, "probe");
  if (problem.empty()) problem = NSDeviceRemoveFile_(probe);
  if (!problem.empty()) {
    NSSetDeviceRoot_("");
    return "cannot write to the device root '" + path_ + "': " + problem;
  }
  return "";
}

std::string DeviceRoot::hostPath(std::string_view devicePath) const {
  return path_ + std::string(devicePath);
}

}  // namespace sim
