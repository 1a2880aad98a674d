// Immutable ordered lists of objects. `count` ("Q@:") and `objectAtIndex:` ("@@:Q") are also
// answered through the runtime.
#pragma once

#include <vector>

#include "objc/NSObject.h"

inline constexpr const char* NSRangeException = "NSRangeException";

class NSArray : public NSObject {
 public:
  static Class objcClass();
  // As Foundation's arrays, it cannot hold nil: a nil element raises NSInvalidArgumentException.
  static Ref<NSArray> arrayWithObjects(std::vector<id> objects);

  NSUInteger count() const { return objects_.size(); }
  // An index at or past the end raises NSRangeException.
  id objectAtIndex(NSUInteger index) const;

 private:
  std::vector<id> objects_;
};
