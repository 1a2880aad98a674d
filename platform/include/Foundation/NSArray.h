// Immutable ordered lists of objects.
#pragma once

#include <vector>

#include "objc/NSObject.h"

class NSArray : public NSObject {
 public:
  static Class objcClass();

  static Ref<NSArray> arrayWithObjects(std::vector<id> objects);

  NSUInteger count() const { return objects_.size(); }
  // An index past the end raises NSRangeException, as on the device.
  id objectAtIndex(NSUInteger index) const;

 private:
  std::vector<id> objects_;
};
