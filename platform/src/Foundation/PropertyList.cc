#include "PropertyList.h"

#include <plist/plist.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <vector>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "PropertyListEncoding.h"
#include "PropertyListLimits.h"

namespace foundation_detail {

namespace {

struct PlistFree {
  void operator()(void* node) const { plist_free(node); }
};
// One owned libplist tree.
using Plist = std::unique_ptr<void, PlistFree>;

struct MallocFree {
  void operator()(void* memory) const { std::free(memory); }
};

// Foundation's dates count from 2001-01-01 as libplist's do. libplist 2.2.0 hands a date back as
// whole seconds truncated toward zero and the fraction's magnitude, so a negative time's fraction
// is to be taken off (between -1 and 0 the sign is lost; settings hold no such dates).
double secondsOf(plist_t node) {
  int32_t seconds = 0;
  int32_t microseconds = 0;
  plist_get_date_val(node, &seconds, &microseconds);
  double fraction = microseconds / 1e6;
  return seconds < 0 ? seconds - fraction : seconds + fraction;
}

// The libplist tree as Foundation objects. Recursion is bounded by the nesting check made before
// parsing.
id objectFrom(plist_t node) {
  switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
      uint8_t value = 0;
      plist_get_bool_val(node, &value);
      return NSNumber::numberWithBool(value != 0);
    }
    case PLIST_UINT: {
      // libplist keeps every integer unsigned; a stored -1 comes back as 0xFFFFFFFFFFFFFFFF.
      uint64_t value = 0;
      plist_get_uint_val(node, &value);
      return NSNumber::numberWithLongLong(static_cast<long long>(value));
    }
    case PLIST_REAL: {
      double value = 0;
      plist_get_real_val(node, &value);
      return NSNumber::numberWithDouble(value);
    }
    case PLIST_STRING: {
      uint64_t length = 0;
      const char* text = plist_get_string_ptr(node, &length);
      return NSString::stringWithUTF8String(std::string_view(text ? text : "", text ? length : 0));
    }
    case PLIST_DATA: {
      uint64_t length = 0;
      const char* bytes = plist_get_data_ptr(node, &length);
      return NSData::dataWithBytes(bytes, bytes ? length : 0);
    }
    case PLIST_DATE:
      return NSDate::dateWithTimeIntervalSinceReferenceDate(secondsOf(node));
    case PLIST_ARRAY: {
      // By iterator: libplist finds an item by index by walking from the first item, unless
      // the array was built by appending.
      std::vector<id> objects;
      objects.reserve(plist_array_get_size(node));
      plist_array_iter iterator = nullptr;
      plist_array_new_iter(node, &iterator);
      std::unique_ptr<void, MallocFree> ownIterator(iterator);
      while (true) {
        plist_t item = nullptr;
        plist_array_next_item(node, iterator, &item);
        if (item == nullptr) break;
        id object = objectFrom(item);
        if (!object) return nullptr;
        objects.push_back(std::move(object));
      }
      return NSArray::arrayWithObjects(std::move(objects));
    }
    case PLIST_DICT: {
      std::map<std::string, id> entries;
      plist_dict_iter iterator = nullptr;
      plist_dict_new_iter(node, &iterator);
      std::unique_ptr<void, MallocFree> ownIterator(iterator);
      while (true) {
        char* rawKey = nullptr;
        plist_t value = nullptr;
        plist_dict_next_item(node, iterator, &rawKey, &value);
        std::unique_ptr<char, MallocFree> key(rawKey);
        if (value == nullptr) break;
        id object = objectFrom(value);
        if (!object || !key) return nullptr;
        entries.insert_or_assign(key.get(), std::move(object));
      }
      return NSDictionary::dictionaryWithEntries_(std::move(entries));
    }
    case PLIST_UID:
      // A keyed archive's object reference has no value class of its own here; it stands as a
      // plain object, which answers no conversion.
      return alloc_init<NSObject>();
    case PLIST_KEY:
    case PLIST_NONE:
      break;
  }
  return nullptr;
}

bool withinLimits(std::string_view bytes) {
  if (plist_is_binary(bytes.data(), static_cast<uint32_t>(bytes.size()))) {
    return binaryPropertyListWithinLimits(bytes);
  }
  return xmlPropertyListWithinLimits(bytes);
}

Plist nodeFrom(const NSObject* object, unsigned depth) {
  if (auto* string = dynamic_cast<const NSString*>(object)) {
    return Plist(plist_new_string(string->UTF8String()));
  }
  if (auto* number = dynamic_cast<const NSNumber*>(object)) {
    switch (number->kind_()) {
      case NSNumber::Kind::Boolean:
        return Plist(plist_new_bool(number->boolValue() ? 1 : 0));
      case NSNumber::Kind::Integer:
        return Plist(plist_new_uint(static_cast<uint64_t>(number->longLongValue())));
      case NSNumber::Kind::Real:
        return Plist(plist_new_real(number->doubleValue()));
    }
  }
  if (auto* data = dynamic_cast<const NSData*>(object)) {
    return Plist(plist_new_data(static_cast<const char*>(data->bytes()), data->length()));
  }
  if (auto* date = dynamic_cast<const NSDate*>(object)) {
    double seconds = date->timeIntervalSinceReferenceDate();
    double whole = std::floor(seconds);
    if (!(whole >= std::numeric_limits<int32_t>::min() &&
          whole <= std::numeric_limits<int32_t>::max())) {
      return nullptr;
    }
    return Plist(
        plist_new_date(static_cast<int32_t>(whole), static_cast<int32_t>((seconds - whole) * 1e6)));
  }
  if (depth == kMaxPropertyListDepth) return nullptr;
  if (auto* array = dynamic_cast<const NSArray*>(object)) {
    Plist node(plist_new_array());
    for (NSUInteger i = 0; i < array->count(); ++i) {
      Plist item = nodeFrom(array->objectAtIndex(i).get(), depth + 1);
      if (!item) return nullptr;
      plist_array_append_item(node.get(), item.release());
    }
    return node;
  }
  if (auto* dictionary = dynamic_cast<const NSDictionary*>(object)) {
    Plist node(plist_new_dict());
    for (const auto& [key, value] : dictionary->entries_()) {
      Plist item = nodeFrom(value.get(), depth + 1);
      if (!item) return nullptr;
      plist_dict_set_item(node.get(), key.c_str(), item.release());
    }
    return node;
  }
  return nullptr;
}

}  // namespace

id propertyListFromBytes(std::string_view bytes) {
  if (bytes.size() > kMaxPropertyListBytes) return nullptr;
  std::string converted;
  auto readable = unmarkedUtf8(bytes, converted);
  // libplist reads nothing shorter than its binary header, and takes a 32-bit length.
  if (!readable || readable->size() < 8) return nullptr;
  if (!withinLimits(*readable)) return nullptr;
  // A rejected binary input leaves the result untouched, so it must start out null.
  plist_t root = nullptr;
  plist_from_memory(readable->data(), static_cast<uint32_t>(readable->size()), &root);
  Plist owned(root);
  if (!owned) return nullptr;
  return objectFrom(owned.get());
}

std::optional<std::string> binaryPropertyList(const NSObject& root) {
  Plist node = nodeFrom(&root, 0);
  if (!node) return std::nullopt;
  char* bytes = nullptr;
  uint32_t length = 0;
  plist_to_bin(node.get(), &bytes, &length);
  if (bytes == nullptr) return std::nullopt;
  std::string result(bytes, length);
  plist_to_bin_free(bytes);
  return result;
}

}  // namespace foundation_detail
