#include "CoreFoundation/CFNotificationCenter.h"

#include <string>
#include <vector>

#include "Foundation/NSString.h"

struct CFNotificationCenter {
  struct Observer {
    const void* observer;
    CFNotificationCallback callback;
    std::string name;
  };
  std::vector<Observer> observers;
};

CFNotificationCenterRef CFNotificationCenterGetDarwinNotifyCenter() {
  static auto* center = new CFNotificationCenter;
  return center;
}

void CFNotificationCenterAddObserver(CFNotificationCenterRef center, const void* observer,
                                     CFNotificationCallback callback, CFStringRef name, const void*,
                                     CFNotificationSuspensionBehavior) {
  if (center == nullptr || callback == nullptr || name == nullptr) return;
  center->observers.push_back({observer, callback, name->string()});
}

void CFNotificationCenterPostNotification(CFNotificationCenterRef center, CFStringRef name,
                                          const void*, CFDictionaryRef, bool) {
  if (center == nullptr || name == nullptr) return;
  // A callback may subscribe more observers; they hear the next post, not this one.
  auto observers = center->observers;
  for (const auto& entry : observers) {
    if (entry.name != name->string()) continue;
    entry.callback(center, const_cast<void*>(entry.observer), name, nullptr, nullptr);
  }
}
