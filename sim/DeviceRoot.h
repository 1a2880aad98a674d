// The simulated device's filesystem: a folder on this machine that stands for the device's root.
// The platform resolves every absolute device path inside it.
#pragma once

#include <string>
#include <string_view>

namespace sim {

class DeviceRoot {
 public:
  DeviceRoot() = default;
  DeviceRoot(const DeviceRoot&) = delete;
  DeviceRoot& operator=(const DeviceRoot&) = delete;
  ~DeviceRoot();

  // Uses `folder` (created if missing), or a new temporary folder when it is empty, and checks that
  // the settings folder inside it can be written. Answers what went wrong, or "" on success.
  std::string open(const std::string& folder);

  const std::string& path() const { return path_; }
  // A temporary root is removed when this object goes; the playground hands one over across a
  // relaunch, which re-executes the program.
  bool temporary() const { return temporary_; }
  void setTemporary(bool temporary) { temporary_ = temporary; }
  // Where a device path such as "/var/mobile/…" lies on this machine.
  std::string hostPath(std::string_view devicePath) const;

 private:
  std::string path_;
  bool temporary_ = false;
};

}  // namespace sim
