#include "Device.h"

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/NSString.h"
#include "setup/SettingsTable.h"

namespace support {

void runMainQueue(uint64_t nanoseconds) {
  dispatch_main_clock_advance_to(dispatch_main_clock_now() + nanoseconds);
}

void waitMilliseconds(double ms) { runMainQueue(static_cast<uint64_t>(ms * NSEC_PER_MSEC)); }

void announceSettings() {
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       NSStr(glidepad::settings::kChangeNotification).get(),
                                       nullptr, nullptr, true);
}

}  // namespace support
