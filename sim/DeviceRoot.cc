#include "DeviceRoot.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
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
  std::string preferences = hostPath(kPreferencesFolder);
  std::filesystem::create_directories(preferences, error);
  if (error) {
    return "cannot write to the device root '" + path_ + "': " + error.message();
  }
  std::string probe = preferences + "/.glidepad-sim-probe";
  {
    std::ofstream out(probe);
    if (!out || !(out << "probe")) {
      return "cannot write to the device root '" + path_ + "' (" + preferences + ")";
    }
  }
  std::filesystem::remove(probe, error);
  NSSetDeviceRoot_(path_);
  return "";
}

std::string DeviceRoot::hostPath(std::string_view devicePath) const {
  return path_ + std::string(devicePath);
}

}  // namespace sim
