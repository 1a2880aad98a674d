#include "gestures/VolumeStepper.h"

#include "dispatch/dispatch.h"
#include "gestures/Rounding.h"

namespace glidepad {

Ref<MPVolumeView> volumeView;
Ref<UISlider> volumeSlider;

namespace {

constexpr double kVolumeStep[2] = {-0.02, +0.02};  // down, up
constexpr int64_t kStepDelay = 10 * NSEC_PER_MSEC;

void findVolumeSlider() {
  for (const auto& subview : volumeView->subviews()) {
    if (subview->isKindOfClass(UISlider::objcClass())) {
      volumeSlider = objc_cast<UISlider>(subview);
      return;
    }
  }
}

// Runs on the main queue; takes the slider held now, which may have been found since queueing.
void applyVolumeStep(bool up) {
  id slider = volumeSlider;
  double value = objc_msgSend<float>(slider, selector<"value">());
  objc_msgSend(slider, selector<"setValue:">(), toSinglePrecision(value + kVolumeStep[up]));
}

}  // namespace

void changeVolumeUp(bool up) {
  if (!volumeView) volumeView = objc_cast<MPVolumeView>(alloc<MPVolumeView>()->init());
  if (volumeView && !volumeSlider) findVolumeSlider();
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, kStepDelay), dispatch_get_main_queue(),
                 [up] { applyVolumeStep(up); });
}

}  // namespace glidepad
