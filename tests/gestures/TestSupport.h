// What the swipe tests share: player views made as the host makes them, a window to touch them
// in, the main queue's clock, and records of what reaches the screen and the volume slider.
#pragma once

#include <vector>

#include "UIKit/UITouchDispatcher.h"
#include "UIKit/UIWindow.h"
#include "dispatch/dispatch.h"
#include "gestures/GLPInsideViewGesture.h"
#include "host/YTMainAppVideoPlayerOverlayViewController.h"
#include "host/YTPlayerView.h"

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

// Restores the swipe settings when the test is done.
class SettingsScope {
 public:
  SettingsScope();
  ~SettingsScope();
  SettingsScope(const SettingsScope&) = delete;
  SettingsScope& operator=(const SettingsScope&) = delete;

 private:
  int speed_, activateAfter_, topArea_, bottomArea_;
};

Ref<UIWindow> makeWindow(CGRect frame);
// Through the runtime, as the host app makes them, so that the grafted initialiser runs.
Ref<YTPlayerView> makePlayerView(CGRect frame);
Ref<GLPInsideViewGesture> swipeRecognizerOf(const Ref<UIView>& view);

// Moves the main queue's clock on, running the work that falls due (the volume steps).
void runMainQueue(uint64_t nanoseconds = NSEC_PER_SEC);

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
