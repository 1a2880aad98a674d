#include "Foundation/NSData.h"

Class NSData::objcClass() {
  static Class cls = objc_registerClass("NSData", NSObject::objcClass(), [](Class) {});
  return cls;
}

Ref<NSData> NSData::dataWithBytes(const void* bytes, NSUInteger length) {
  auto data = alloc_init<NSData>();
  const auto* first = static_cast<const uint8_t*>(bytes);
  if (length > 0) data->bytes_.assign(first, first + length);
  return data;
}
