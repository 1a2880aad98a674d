// The app's video player overlay view controller: it knows whether the player is fullscreen and
// seeks the playing video in steps of ten seconds.
#pragma once

#include "UIKit/UIViewController.h"

namespace host {

class YTMainAppVideoPlayerOverlayViewController : public UIViewController {
 public:
  static Class objcClass();

  static constexpr double kSeekStepSeconds = 10.0;

  // Its view, once loaded, is a plain view until the app gives it the controls overlay.
  void viewDidLoad() override;

  BOOL isFullscreen() const { return fullscreen_; }
  void setFullscreen(BOOL fullscreen) { fullscreen_ = fullscreen; }

  // One seek step back (not before the start) or forward; the sender is not used.
  void didPressSeekBackwardAccessibility(const id& sender);
  void didPressSeekForwardAccessibility(const id& sender);

  // The playing video's position, in seconds.
  double playbackPosition() const { return position_; }
  void setPlaybackPosition(double seconds) { position_ = seconds > 0 ? seconds : 0; }

  // Seeks of every overlay controller since the process started.
  static uint64_t backwardSeekCount();
  static uint64_t forwardSeekCount();

 private:
  BOOL fullscreen_ = NO;
  double position_ = 0;
};

}  // namespace host
