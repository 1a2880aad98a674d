#include "objc/NSObject.h"

#include <cstdio>

Class NSObject::objcClass() {
  static Class cls = objc_registerClass("NSObject", nullptr, [](Class c) {
    objc_exposeMethod<&NSObject::init>(c, "init");
    objc_exposeMethod<&NSObject::respondsToSelector>(c, "respondsToSelector:");
  });
  return cls;
}

id NSObject::init() { return self(); }

std::string NSObject::description() const {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
  return std::string("<") + class_getName(isa_) + ": " + address + ">";
}

BOOL NSObject::isKindOfClass(Class cls) const {
  for (Class c = isa_; c != nullptr; c = class_getSuperclass(c)) {
    if (c == cls) return YES;
  }
  return NO;
}

BOOL NSObject::respondsToSelector(SEL sel) const { return class_respondsToSelector(isa_, sel); }
