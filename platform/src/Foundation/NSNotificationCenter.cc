#include "Foundation/NSNotificationCenter.h"

#include <cstring>

Class NSNotification::objcClass() {
  static Class cls = objc_registerClass("NSNotification", NSObject::objcClass(), [](Class) {});
  return cls;
}

Ref<NSNotification> NSNotification::notificationWithName(const Ref<NSString>& name,
                                                         const id& object) {
  auto notification = alloc_init<NSNotification>();
  notification->name_ = name;
  notification->object_ = object;
  return notification;
}

Class NSNotificationCenter::objcClass() {
  static Class cls =
      objc_registerClass("NSNotificationCenter", NSObject::objcClass(), [](Class) {});
  return cls;
}

Ref<NSNotificationCenter> NSNotificationCenter::defaultCenter() {
  static auto* center = new Ref<NSNotificationCenter>(alloc_init<NSNotificationCenter>());
  return *center;
}

void NSNotificationCenter::addObserver(const id& observer, SEL selector, const Ref<NSString>& name,
                                       const id& object) {
  if (!observer || selector == nullptr) return;
  // Also here, not only when posting: observers that subscribe and go without a post between
  // (overlays of players opened and closed) would otherwise pile up for good.
  std::erase_if(observers_, [](const Observer& entry) { return entry.observer.expired(); });
  observers_.push_back(
      {observer, observer.get(), selector, name ? name->string() : "", !name, object, !object});
}

void NSNotificationCenter::removeObserver(const id& observer) {
  std::erase_if(observers_,
                [&](const Observer& entry) { return entry.identity == observer.get(); });
}

void NSNotificationCenter::postNotificationName(const Ref<NSString>& name, const id& object) {
  std::erase_if(observers_, [](const Observer& entry) { return entry.observer.expired(); });
  // Deliver to the observers subscribed when the post began; one may subscribe or go meanwhile.
  auto snapshot = observers_;
  Ref<NSNotification> notification;
  for (const auto& entry : snapshot) {
    if (!entry.anyName && (!name || entry.name != name->string())) continue;
    if (!entry.anyObject && entry.object.lock() != object) continue;
    id observer = entry.observer.lock();
    if (!observer) continue;
    Method method = class_getInstanceMethod(object_getClass(observer), entry.selector);
    if (method != nullptr && std::strcmp(method_getTypeEncoding(method), "v@:") == 0) {
      objc_msgSend(observer, entry.selector);
    } else {
      if (!notification) notification = NSNotification::notificationWithName(name, object);
      objc_msgSend(observer, entry.selector, notification);
    }
  }
}
