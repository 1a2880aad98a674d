// A device root of the fuzz process's own, in a new temporary folder removed at exit, with the
// settings folder made, so that targets write the settings file where the library reads it.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "Foundation/DeviceRoot.h"

namespace fuzz {

inline std::string& deviceRootFolder() {
  static auto* folder = new std::string;
  return *folder;
}

inline void removeDeviceRoot() {
  std::error_code ignored;
  std::filesystem::remove_all(deviceRootFolder(), ignored);
}

// In memory where the machine offers it: the targets write the settings file thousands of times
// a second. Aborts when no folder can be made: a target without one would test nothing.
inline void makeDeviceRoot() {
  std::string folder = ::access("/dev/shm", W_OK) == 0
                           ? "/dev/shm"
                           : std::filesystem::temp_directory_path().string();
  std::string pattern = folder + "/glidepad-fuzz-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    std::perror("glidepad fuzz: mkdtemp");
    std::abort();
  }
  deviceRootFolder() = pattern;
  std::atexit(&removeDeviceRoot);
  NSSetDeviceRoot_(pattern);
  std::filesystem::create_directories(pattern + "/var/mobile/Library/Preferences");
}

// The machine path of a device path inside the root.
inline std::string hostPath(std::string_view devicePath) {
  return NSDeviceResolvePath_(devicePath);
}

// Writes the bytes as they are; aborts if they cannot be written.
inline void writeHostFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr ||
      (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) ||
      std::fclose(file) != 0) {
    std::perror("glidepad fuzz: write");
    std::abort();
  }
}

}  // namespace fuzz
