// What the swipe tests share besides the driver in tests/support: the arguments that reached the
// volume slider's `setValue:` and the screen's `setBrightness:` since the last clear, recorded by
// hooks that main installs once the library has loaded. Room for thousands is reserved, so
// recording allocates nothing.
#pragma once

#include <vector>

#include "UIKit/UITouchDispatcher.h"
#include "support/Device.h"
#include "support/SettingsScope.h"
#include "support/Views.h"

namespace testsupport {

inline std::vector<float> volumeValuesSet;
inline std::vector<double> brightnessValuesSet;

}  // namespace testsupport
