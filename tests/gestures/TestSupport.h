// What the swipe tests share besides the driver in tests/support: records of what reaches the
// screen and the volume slider, and a controls overlay of their own.
#pragma once

#include <vector>

#include "UIKit/UITouchDispatcher.h"
#include "host/YTMainAppVideoPlayerOverlayViewController.h"
#include "host/YTPlayerView.h"
#include "support/Device.h"
#include "support/SettingsScope.h"
#include "support/Views.h"

using host::YTMainAppVideoPlayerOverlayViewController;
using host::YTPlayerView;

namespace testsupport {

// Hooks `setValue:` of the volume slider and `setBrightness:` of the screen to record their
// arguments before passing them on. Called once, after the library has loaded.
void installRecorders();
// The arguments since the last clear; room for thousands is reserved, so recording allocates
// nothing.
std::vector<float>& volumeValuesSet();
std::vector<double>& brightnessValuesSet();

// A controls overlay stand-in: a view with a play/pause button, counting its layout passes.
class TestControlsOverlay : public UIView {
 public:
  static Class objcClass();
  id init() override;
  id playPauseButton() const { return button_; }
  void layoutSubviews() override;
  int layoutPasses = 0;

 private:
  Ref<UIView> button_;
};

}  // namespace testsupport
