#include "Foundation/NSDictionary.h"

#include "DeviceFile.h"
#include "PropertyList.h"
#include "PropertyListLimits.h"

Class NSDictionary::objcClass() {
  static Class cls = objc_registerClass("NSDictionary", NSObject::objcClass(), [](Class c) {
    objc_exposeMethod<&NSDictionary::initWithContentsOfFile>(c, "initWithContentsOfFile:");
    objc_exposeMethod<&NSDictionary::count>(c, "count");
    objc_exposeMethod<&NSDictionary::objectForKey>(c, "objectForKey:");
    objc_exposeMethod<&NSDictionary::writeToFile>(c, "writeToFile:atomically:");
  });
  return cls;
}

Class NSMutableDictionary::objcClass() {
  static Class cls =
      objc_registerClass("NSMutableDictionary", NSDictionary::objcClass(), [](Class c) {
        objc_exposeMethod<&NSMutableDictionary::setObject>(c, "setObject:forKey:");
        objc_exposeMethod<&NSMutableDictionary::removeObjectForKey>(c, "removeObjectForKey:");
      });
  return cls;
}

Ref<NSDictionary> NSDictionary::dictionaryWithEntries_(std::map<std::string, id> entries) {
  for (const auto& [key, value] : entries) {
    if (!value) {
      throw NSException(NSInvalidArgumentException,
                        "-[NSDictionary dictionaryWithEntries_]: nil object for key " + key);
    }
  }
  auto dictionary = alloc_init<NSDictionary>();
  dictionary->storage_ = std::move(entries);
  return dictionary;
}

id NSDictionary::initWithContentsOfFile(const Ref<NSString>& path) {
  if (!path) return nullptr;
  auto bytes =
      foundation_detail::readDeviceFile(path->string(), foundation_detail::kMaxPropertyListBytes);
  if (!bytes) return nullptr;
  auto root = objc_cast<NSDictionary>(foundation_detail::propertyListFromBytes(*bytes));
  if (!root) return nullptr;
  storage_ = std::move(root->storage_);
  return self();
}

id NSDictionary::objectForKey(const Ref<NSString>& key) const {
  if (!key) return nullptr;
  auto found = storage_.find(key->string());
  return found == storage_.end() ? nullptr : found->second;
}

BOOL NSDictionary::writeToFile(const Ref<NSString>& path, BOOL atomically) const {
  if (!path) return NO;
  auto bytes = foundation_detail::binaryPropertyList(*this);
  return bytes && foundation_detail::writeDeviceFile(path->string(), *bytes, atomically);
}

void NSMutableDictionary::setObject(const id& object, const Ref<NSString>& key) {
  if (!object || !key) {
    throw NSException(NSInvalidArgumentException,
                      std::string("-[NSMutableDictionary setObject:forKey:]: ") +
                          (key ? "object" : "key") + " cannot be nil");
  }
  storage_.insert_or_assign(key->string(), object);
}

void NSMutableDictionary::removeObjectForKey(const Ref<NSString>& key) {
  if (key) storage_.erase(key->string());
}
