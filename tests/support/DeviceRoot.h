// A device root of the process's own: a new folder holding the settings file's folder, in memory
// where the machine offers it (the fuzz targets write the settings file thousands of times a
// second). While it lives, the library reads and writes device paths inside it.
#pragma once

#include <string>

namespace support {

class DeviceRoot {
 public:
  DeviceRoot();
  // Back to the machine's own root, the folder removed.
  ~DeviceRoot();
  DeviceRoot(const DeviceRoot&) = delete;
  DeviceRoot& operator=(const DeviceRoot&) = delete;

  // The folder and the settings folder were made.
  bool ready() const { return ready_; }

 private:
  std::string folder_;
  bool ready_ = false;
};

}  // namespace support
