#include "Foundation/NSDate.h"

Class NSDate::objcClass() {
  static Class cls = objc_registerClass("NSDate", NSObject::objcClass(), [](Class) {});
  return cls;
}

Ref<NSDate> NSDate::dateWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds) {
  auto date = alloc_init<NSDate>();
  date->seconds_ = seconds;
  return date;
}
