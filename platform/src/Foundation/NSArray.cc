#include "Foundation/NSArray.h"

#include <string>

Class NSArray::objcClass() {
  static Class cls = objc_registerClass("NSArray", NSObject::objcClass(), [](Class c) {
    objc_exposeMethod<&NSArray::count>(c, "count");
    objc_exposeMethod<&NSArray::objectAtIndex>(c, "objectAtIndex:");
  });
  return cls;
}

Ref<NSArray> NSArray::arrayWithObjects(std::vector<id> objects) {
  for (size_t i = 0; i < objects.size(); ++i) {
    if (!objects[i]) {
      throw NSException(NSInvalidArgumentException,
                        "-[NSArray arrayWithObjects:]: nil object at " + std::to_string(i));
    }
  }
  auto array = alloc_init<NSArray>();
  array->objects_ = std::move(objects);
  return array;
}

id NSArray::objectAtIndex(NSUInteger index) const {
  if (index >= objects_.size()) {
    throw NSException(NSRangeException, "-[NSArray objectAtIndex:]: index " +
                                            std::to_string(index) + " beyond bounds for count " +
                                            std::to_string(objects_.size()));
  }
  return objects_[index];
}
