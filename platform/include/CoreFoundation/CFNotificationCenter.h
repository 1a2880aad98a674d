// The Darwin notification centre: process-wide, named, payload-free notifications, as the device
// delivers between processes (here, within the one process). Observers are called synchronously,
// on the posting thread, in the order they subscribed; the object and user info they receive are
// always null, as Darwin notifications carry none.
#pragma once

class NSString;
class NSDictionary;

struct CFNotificationCenter;
using CFNotificationCenterRef = CFNotificationCenter*;
using CFStringRef = const NSString*;
using CFDictionaryRef = const NSDictionary*;
using CFIndex = long;

using CFNotificationCallback = void (*)(CFNotificationCenterRef center, void* observer,
                                        CFStringRef name, const void* object,
                                        CFDictionaryRef userInfo);

enum CFNotificationSuspensionBehavior : CFIndex {
  CFNotificationSuspensionBehaviorDrop = 1,
  CFNotificationSuspensionBehaviorCoalesce = 2,
  CFNotificationSuspensionBehaviorHold = 3,
  CFNotificationSuspensionBehaviorDeliverImmediately = 4,
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter();

// The name is copied. A null name is ignored (the Darwin centre requires one); the object and
// the suspension behaviour do not matter to a Darwin centre.
void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, CFStringRef name,
                                     const void* object,
                                     CFNotificationSuspensionBehavior suspensionBehavior);

// Calls every observer of `name` that subscribed before the post began.
void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name,
                                          const void* object, CFDictionaryRef userInfo,
                                          bool deliverImmediately);
