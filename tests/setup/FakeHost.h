// Stand-ins for the host app's player classes, under the host's class names, with just the
// members the grafts replace or call; each member notes its calls. The runtime's class table is
// process-wide and grafts cannot be undone, so they are registered only in isolated children.
#pragma once

#include <string>
#include <vector>

#include "UIKit/UIView.h"
#include "objc/NSObject.h"

namespace fake {

struct HostOptions {
  bool controlsOverlayHasUpdatePlaybackRate = false;  // a member the system would add
  bool rateSelectionTakesDouble = false;              // a host member of another signature
  bool withoutControlsOverlay = false;                // classes the host does not have
  bool withoutPlayerController = false;
};

// Registers the classes; once per process.
void registerHost(const HostOptions& options = {});

struct Call {
  std::string member;
  const NSObject* receiver;
  id object;  // the object argument, if any
  double number = 0;
  CGRect frame{};
};
extern std::vector<Call> calls;

class OverlayController : public NSObject {  // YTMainAppVideoPlayerOverlayViewController
 public:
  static Class objcClass();
  bool isFullscreen();
  void viewDidLoad();
  void didPressSeekBackwardAccessibility(const id& sender);
  void didPressSeekForwardAccessibility(const id& sender);
  bool fullscreen = false;
};

class PlayerView : public UIView {  // YTPlayerView
 public:
  static Class objcClass();
  id initWithFrame(CGRect frame) override;
};

class PlayerController : public NSObject {  // YTPlayerViewController
 public:
  static Class objcClass();
  void viewDidLoad();
  void didSelectRate(const id& varispeedController, float rate);
  void didSelectRateAsDouble(const id& varispeedController, double rate);
  id varispeedController() { return nullptr; }
  float currentPlaybackRate(const id&) { return 1.0f; }
};

class ControlsOverlay : public UIView {  // YTMainAppControlsOverlayView
 public:
  static Class objcClass();
  id initWithDelegate(const id& delegate);
  void layoutSubviews() override;
  void updatePlaybackRate();
  id playPauseButton();

 private:
  Ref<UIView> playPauseButton_;
};

}  // namespace fake
