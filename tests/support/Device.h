// What happens on the device around the app: time passing on the main queue, and the settings
// pane announcing that it wrote the settings file.
#pragma once

#include <cstdint>

#include "dispatch/dispatch.h"

namespace support {

// Moves the main queue's clock on, running the work that falls due (the volume steps).
void runMainQueue(uint64_t nanoseconds = NSEC_PER_SEC);
void waitMilliseconds(double ms);

// Posts the settings-change notification, as the settings pane does after writing the file.
void announceSettings();

}  // namespace support
