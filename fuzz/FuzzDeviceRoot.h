// The fuzz process's device root (see tests/support/Device.h), made once and removed at exit,
// and the settings file written there byte for byte.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Foundation/DeviceRoot.h"
#include "support/Device.h"

namespace fuzz {

// Aborts when no root can be made: a target without one would test nothing.
inline void makeDeviceRoot() {
  static support::DeviceRoot root;
  if (!root.ready()) {
    std::perror("glidepad fuzz: device root");
    std::abort();
  }
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
