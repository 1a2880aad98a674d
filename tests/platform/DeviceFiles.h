// Test support: a fresh device root per test (tests/support/Device.h), and property-list
// fixtures written by libplist in both of its forms.
#pragma once

#include <plist/plist.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "support/Device.h"

namespace test {

// The device root of tests/support, by the name these tests know it.
using TempDeviceRoot = support::DeviceRoot;

struct PlistFree {
  void operator()(void* node) const { plist_free(node); }
};
using Plist = std::unique_ptr<void, PlistFree>;

enum class PlistFormat { Xml, Binary };
inline const char* nameOf(PlistFormat format) {
  return format == PlistFormat::Xml ? "XML" : "binary";
}
inline constexpr PlistFormat kBothFormats[] = {PlistFormat::Xml, PlistFormat::Binary};

inline std::string serialized(const Plist& root, PlistFormat format) {
  char* bytes = nullptr;
  uint32_t length = 0;
  bool xml = format == PlistFormat::Xml;
  (xml ? plist_to_xml : plist_to_bin)(root.get(), &bytes, &length);
  std::string result(bytes ? bytes : "", bytes ? length : 0);
  (xml ? plist_to_xml_free : plist_to_bin_free)(bytes);
  return result;
}

// A dictionary of one entry, taking ownership of the value.
inline Plist dictionaryWith(const char* key, plist_t value) {
  Plist root(plist_new_dict());
  plist_dict_set_item(root.get(), key, value);
  return root;
}

}  // namespace test
