// Test support: a fresh device root per test, and property-list fixtures written by libplist in
// both of its forms.
#pragma once

#include <gtest/gtest.h>
#include <plist/plist.h>
#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>

#include "Foundation/DeviceRoot.h"

namespace test {

// A device root folder of its own, set for the process while it lives and removed afterwards.
class TempDeviceRoot {
 public:
  TempDeviceRoot() {
    std::string pattern = ::testing::TempDir() + "glidepad-root-XXXXXX";
    const char* made = ::mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr);
    path_ = made ? made : "";
    NSSetDeviceRoot_(path_);
  }
  TempDeviceRoot(const TempDeviceRoot&) = delete;
  TempDeviceRoot& operator=(const TempDeviceRoot&) = delete;
  ~TempDeviceRoot() {
    NSSetDeviceRoot_("");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  const std::string& path() const { return path_; }

  // The machine path of a device path, with its folders made.
  std::string hostPath(std::string_view devicePath) const {
    std::filesystem::path path = path_ + std::string(devicePath);
    std::filesystem::create_directories(path.parent_path());
    return path.string();
  }

  void write(std::string_view devicePath, std::string_view bytes) const {
    std::ofstream(hostPath(devicePath), std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  void remove(std::string_view devicePath) const {
    std::filesystem::remove(path_ + std::string(devicePath));
  }

 private:
  std::string path_;
};

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
  if (format == PlistFormat::Xml) {
    plist_to_xml(root.get(), &bytes, &length);
  } else {
    plist_to_bin(root.get(), &bytes, &length);
  }
  std::string result(bytes ? bytes : "", bytes ? length : 0);
  if (format == PlistFormat::Xml) {
    plist_to_xml_free(bytes);
  } else {
    plist_to_bin_free(bytes);
  }
  return result;
}

// A dictionary of one entry, taking ownership of the value.
inline Plist dictionaryWith(const char* key, plist_t value) {
  Plist root(plist_new_dict());
  plist_dict_set_item(root.get(), key, value);
  return root;
}

}  // namespace test
