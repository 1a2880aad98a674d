// Immutable byte buffers, as a property list's data values hold them.
#pragma once

#include <cstdint>
#include <vector>

#include "objc/NSObject.h"

class NSData : public NSObject {
 public:
  static Class objcClass();
  static Ref<NSData> dataWithBytes(const void* bytes, NSUInteger length);

  const void* bytes() const { return bytes_.data(); }
  NSUInteger length() const { return bytes_.size(); }

 private:
  std::vector<uint8_t> bytes_;
};
