#include "Foundation/NSSet.h"

#include <algorithm>

Class NSSet::objcClass() {
  static Class cls = objc_registerClass("NSSet", NSObject::objcClass(), [](Class) {});
  return cls;
}

Class NSMutableSet::objcClass() {
  static Class cls = objc_registerClass("NSMutableSet", NSSet::objcClass(), [](Class) {});
  return cls;
}

BOOL NSSet::containsObject(const id& object) const {
  return std::find(objects_.begin(), objects_.end(), object) != objects_.end();
}

id NSMutableSet::initWithCapacity(NSUInteger capacity) {
  objects_.reserve(capacity);
  return self();
}

void NSMutableSet::addObject(const id& object) {
  if (object && !containsObject(object)) objects_.push_back(object);
}

void NSMutableSet::removeObject(const id& object) { std::erase(objects_, object); }
