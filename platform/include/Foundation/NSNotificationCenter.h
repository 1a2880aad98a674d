// The process's default notification centre: named notifications delivered synchronously, on the
// posting thread, to every observer in the order it subscribed. Observers are not retained, and
// one that has been destroyed is never called (it is forgotten, as Foundation's centre does).
#pragma once

#include <string>
#include <vector>

#include "Foundation/NSString.h"
#include "objc/NSObject.h"

class NSNotification : public NSObject {
 public:
  static Class objcClass();
  static Ref<NSNotification> notificationWithName(const Ref<NSString>& name, const id& object);

  Ref<NSString> name() const { return name_; }
  id object() const { return object_; }

 private:
  Ref<NSString> name_;
  id object_;
};

class NSNotificationCenter : public NSObject {
 public:
  static Class objcClass();
  static Ref<NSNotificationCenter> defaultCenter();

  // `selector` is sent through the runtime; it may take the notification ("v@:@") or nothing
  // ("v@:"). A nil name or object matches every notification or every sender.
  void addObserver(const id& observer, SEL selector, const Ref<NSString>& name, const id& object);
  void removeObserver(const id& observer);
  void postNotificationName(const Ref<NSString>& name, const id& object);

  size_t observerCount_() const { return observers_.size(); }

 private:
  struct Observer {
    WeakRef<NSObject> observer;
    const NSObject* identity;  // for removeObserver:, compared only, never dereferenced
    SEL selector;
    std::string name;  // empty: any name
    bool anyName;
    WeakRef<NSObject> object;
    bool anyObject;
  };
  std::vector<Observer> observers_;
};
