// The simulated device the benchmarks run on: a temporary device root holding a typical settings
// file, every key, written as the device's preferences daemon writes it (a binary property
// list). Removed when the program ends.
#pragma once

#include "support/Device.h"

namespace bench {

// Typical values, none of them the default, so that a benchmark can tell the file was read.
inline constexpr int kTypicalSpeed = 200;
inline constexpr int kTypicalActivateAfter = 60;

class TemporaryDevice {
 public:
  TemporaryDevice();
  TemporaryDevice(const TemporaryDevice&) = delete;
  TemporaryDevice& operator=(const TemporaryDevice&) = delete;

  bool ready() const { return ready_; }

 private:
  support::DeviceRoot root_;
  bool ready_ = false;
};

}  // namespace bench
