#include "DeviceSettings.h"

#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "setup/SettingsTable.h"

namespace bench {

namespace table = glidepad::settings;

TemporaryDevice::TemporaryDevice() {
  if (!root_.ready()) return;
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
  set(table::kShowFeedbackRow, NSNumber::numberWithBool(YES));
  set(table::kHapticsRow, NSNumber::numberWithBool(NO));
  ready_ = settings->writeToFile(NSStr(table::kPath), YES);
}

}  // namespace bench
