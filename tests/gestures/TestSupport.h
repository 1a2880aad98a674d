// What the swipe tests share besides the driver in tests/support: records of what reaches the
// screen and the volume slider.
#pragma once

#include <vector>

#include "UIKit/UITouchDispatcher.h"
#include "support/Device.h"
#include "support/SettingsScope.h"
#include "support/Views.h"

namespace testsupport {

// Hooks `setValue:` of the volume slider and `setBrightness:` of the screen to record their
// arguments before passing them on. Called once, after the library has loaded.
void installRecorders();
// The arguments since the last clear; room for thousands is reserved, so recording allocates
// nothing.
std::vector<float>& volumeValuesSet();
std::vector<double>& brightnessValuesSet();

}  // namespace testsupport
