// Points in time, as seconds since the reference date (2001-01-01 00:00:00 UTC), as a property
// list's date values hold them.
#pragma once

#include "objc/NSObject.h"

using NSTimeInterval = double;

class NSDate : public NSObject {
 public:
  static Class objcClass();
  static Ref<NSDate> dateWithTimeIntervalSinceReferenceDate(NSTimeInterval seconds);

  NSTimeInterval timeIntervalSinceReferenceDate() const { return seconds_; }

 private:
  NSTimeInterval seconds_ = 0;
};
