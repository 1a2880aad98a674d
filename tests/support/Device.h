// The device around the app: a root folder of the process's own for the device's files, time
// passing on the main queue, and the settings pane announcing that it wrote the settings file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "dispatch/dispatch.h"

namespace support {

// A new folder holding the settings file's folder, in memory where the machine offers it (the
// fuzz targets write the settings file thousands of times a second). While it lives, the library
// reads and writes device paths inside it.
class DeviceRoot {
 public:
  DeviceRoot();
  // Back to the machine's own root, the folder removed.
  ~DeviceRoot();
  DeviceRoot(const DeviceRoot&) = delete;
  DeviceRoot& operator=(const DeviceRoot&) = delete;

  // The folder and the settings folder were made.
  bool ready() const { return ready_; }
  const std::string& path() const { return folder_; }

  // The machine path of a device path, with its folders made.
  std::string hostPath(std::string_view devicePath) const;
  void write(std::string_view devicePath, std::string_view bytes) const;
  void remove(std::string_view devicePath) const;

 private:
  std::string folder_;
  bool ready_ = false;
};

// Moves the main queue's clock on, running the work that falls due (the volume steps).
void runMainQueue(uint64_t nanoseconds = NSEC_PER_SEC);

// Posts the settings-change notification, as the settings pane does after writing the file.
void announceSettings();

}  // namespace support
