#include "DeviceSettings.h"

#include <stdlib.h>

#include <filesystem>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "setup/SettingsTable.h"

namespace bench {

namespace table = glidepad::settings;

TemporaryDevice::TemporaryDevice() {
  std::string pattern = (std::filesystem::temp_directory_path() / "glidepad-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return;
  root_ = pattern;
  std::error_code error;
  std::filesystem::create_directories(
      root_ + std::filesystem::path(table::kPath).parent_path().string(), error);
  if (error) return;
  NSSetDeviceRoot_(root_);

  auto settings = alloc_init<NSMutableDictionary>();
  auto set = [&](table::Row row, const id& value) {
    settings->setObject(value, NSStr(table::kKeys[row].name));
  };
  set(table::kEnabledSwitchRow, NSNumber::numberWithBool(YES));
  set(table::kSpeedRow, NSNumber::numberWithLongLong(kTypicalSpeed));
  set(table::kActivateAfterRow, NSNumber::numberWithLongLong(kTypicalActivateAfter));
  set(table::kTopAreaRow, NSNumber::numberWithLongLong(1));     // volume
  set(table::kBottomAreaRow, NSNumber::numberWithLongLong(3));  // seek
  set(table::kShowPlaybackRateRow, NSNumber::numberWithBool(YES));
  ready_ = settings->writeToFile(NSStr(table::kPath), YES);
}

TemporaryDevice::~TemporaryDevice() {
  if (root_.empty()) return;
  std::error_code error;
  std::filesystem::remove_all(root_, error);
}

}  // namespace bench
