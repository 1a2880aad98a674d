#include "DeviceSettings.h"

#include <stdlib.h>

#include <filesystem>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "setup/Settings.h"

namespace bench {

TemporaryDevice::TemporaryDevice() {
  std::string pattern = (std::filesystem::temp_directory_path() / "glidepad-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return;
  root_ = pattern;
  std::error_code error;
  std::filesystem::create_directories(root_ + "/var/mobile/Library/Preferences", error);
  if (error) return;
  NSSetDeviceRoot_(root_);

  auto settings = alloc_init<NSMutableDictionary>();
  settings->setObject(NSNumber::numberWithBool(YES), NSStr("enabledSwitch"));
  settings->setObject(NSNumber::numberWithLongLong(kTypicalSpeed), NSStr("speed"));
  settings->setObject(NSNumber::numberWithLongLong(kTypicalActivateAfter), NSStr("activateAfter"));
  settings->setObject(NSNumber::numberWithLongLong(1), NSStr("topArea"));     // volume
  settings->setObject(NSNumber::numberWithLongLong(3), NSStr("bottomArea"));  // seek
  settings->setObject(NSNumber::numberWithBool(YES), NSStr("showPlaybackRate"));
  ready_ = settings->writeToFile(NSStr(glidepad::kSettingsPath), YES);
}

TemporaryDevice::~TemporaryDevice() {
  if (root_.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(root_, error);
}

}  // namespace bench
