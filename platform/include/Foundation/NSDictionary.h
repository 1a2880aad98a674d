// Dictionaries with string keys, and their property-list files.
//
// `initWithContentsOfFile:` reads an XML or binary property list whose root is a dictionary, and
// answers nil for a file that is missing, unreadable, larger than 1 MiB, nested too deeply, not a
// property list, or whose root is something else. `writeToFile:atomically:` writes a binary list,
// as the device's preferences daemon does. Paths are device paths (Foundation/DeviceRoot.h).
#pragma once

#include <map>
#include <string>

#include "Foundation/NSString.h"
#include "objc/NSObject.h"

class NSDictionary : public NSObject {
 public:
  static Class objcClass();
  // A dictionary of the given entries; a nil value raises NSInvalidArgumentException.
  static Ref<NSDictionary> dictionaryWithEntries_(std::map<std::string, id> entries);

  id initWithContentsOfFile(const Ref<NSString>& path);
  NSUInteger count() const { return storage_.size(); }
  id objectForKey(const Ref<NSString>& key) const;
  BOOL writeToFile(const Ref<NSString>& path, BOOL atomically) const;

  const std::map<std::string, id>& entries_() const { return storage_; }

 protected:
  std::map<std::string, id> storage_;
};

class NSMutableDictionary : public NSDictionary {
 public:
  static Class objcClass();

  // A nil object or key raises NSInvalidArgumentException, as in Foundation.
  void setObject(const id& object, const Ref<NSString>& key);
  void removeObjectForKey(const Ref<NSString>& key);
};
