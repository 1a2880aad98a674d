// Unordered collections of distinct objects. The touch machinery refills one mutable set per
// touch sequence rather than making a new set per event, so that delivering a touch allocates
// nothing once the sequence is under way.
#pragma once

#include <vector>

#include "objc/NSObject.h"

class NSSet : public NSObject {
 public:
  static Class objcClass();

  NSUInteger count() const { return objects_.size(); }
  // Some object of the set, or nil when it is empty (here: the first added).
  id anyObject() const { return objects_.empty() ? nullptr : objects_.front(); }
  BOOL containsObject(const id& object) const;
  const std::vector<id>& allObjects() const { return objects_; }

 protected:
  std::vector<id> objects_;
};

class NSMutableSet : public NSSet {
 public:
  static Class objcClass();

  // Room for `capacity` objects, so that filling the set up to that many allocates nothing.
  id initWithCapacity(NSUInteger capacity);
  void addObject(const id& object);
  void removeObject(const id& object);
  void removeAllObjects() { objects_.clear(); }
};
