#include "gestures/VolumeStepper.h"

#include "dispatch/dispatch.h"
#include "gestures/Rounding.h"
#include "setup/FeedbackHooks.h"

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

float sliderValue(const id& slider) { return objc_msgSend<float>(slider, selector<"value">()); }

void report(const id& playerView, bool up, float level, bool moved, bool asked) {
  feedbackHooks.swipeStepped(playerView, {SwipeControl::Volume, up ? +1 : -1, level, moved, asked});
}

// Runs on the main queue; takes the slider held now, which may have been found since queueing.
void applyVolumeStep(bool up, const WeakRef<NSObject>& playerView) {
  id slider = volumeSlider;
  double value = sliderValue(slider);
  objc_msgSend(slider, selector<"setValue:">(), toSinglePrecision(value + kVolumeStep[up]));
  if (!feedbackHooks.swipeStepped) return;
  float landed = sliderValue(slider);
  report(playerView.lock(), up, landed, landed != value, false);
}

}  // namespace

void changeVolumeUp(bool up, const id& playerView) {
  if (!volumeView) volumeView = objc_cast<MPVolumeView>(alloc<MPVolumeView>()->init());
  if (volumeView && !volumeSlider) findVolumeSlider();
  if (feedbackHooks.swipeStepped) report(playerView, up, sliderValue(volumeSlider), true, true);
  WeakRef<NSObject> steppedView = playerView;
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, kStepDelay), dispatch_get_main_queue(),
                 [up, steppedView] { applyVolumeStep(up, steppedView); });
}

}  // namespace glidepad
