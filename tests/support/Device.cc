#include "Device.h"

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/DeviceRoot.h"
#include "Foundation/NSString.h"
#include "setup/SettingsTable.h"

namespace support {

DeviceRoot::DeviceRoot() {
  std::string parent = ::access("/dev/shm", W_OK) == 0
                           ? "/dev/shm"
                           : std::filesystem::temp_directory_path().string();
  std::string pattern = parent + "/glidepad-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return;
  folder_ = pattern;
  std::error_code error;
  auto settingsFolder = std::filesystem::path(glidepad::settings::kPath).parent_path();
  std::filesystem::create_directories(folder_ + settingsFolder.string(), error);
  NSSetDeviceRoot_(folder_);
  ready_ = !error;
}

DeviceRoot::~DeviceRoot() {
  if (folder_.empty()) return;
  NSSetDeviceRoot_("");
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string DeviceRoot::hostPath(std::string_view devicePath) const {
  std::filesystem::path path = folder_ + std::string(devicePath);
  std::filesystem::create_directories(path.parent_path());
  return path.string();
}

void DeviceRoot::write(std::string_view devicePath, std::string_view bytes) const {
  std::ofstream(hostPath(devicePath), std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void DeviceRoot::remove(std::string_view devicePath) const {
  std::filesystem::remove(folder_ + std::string(devicePath));
}

void runMainQueue(uint64_t nanoseconds) {
  dispatch_main_clock_advance_to(dispatch_main_clock_now() + nanoseconds);
}

void announceSettings() {
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       NSStr(glidepad::settings::kChangeNotification).get(),
                                       nullptr, nullptr, true);
}

}  // namespace support
