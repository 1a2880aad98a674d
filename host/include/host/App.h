// The stand-in app itself: a key window that fills the screen, the video players it opens and
// closes, its controls and its own speed menu.
#pragma once

#include <memory>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UITouchDispatcher.h"
#include "UIKit/UIWindow.h"
#include "host/YTMainAppControlsOverlayView.h"
#include "host/YTMainAppVideoPlayerOverlayViewController.h"
#include "host/YTPlayerView.h"
#include "host/YTPlayerViewController.h"
#include "host/YTVarispeedSwitchController.h"

namespace host {

// Everything the app holds of one player; closing the player releases it all.
struct Player {
  Ref<YTPlayerViewController> playerController;
  Ref<YTPlayerView> playerView;
  Ref<YTMainAppVideoPlayerOverlayViewController> overlayController;
  Ref<YTMainAppControlsOverlayView> controlsOverlay;  // nil when its initialiser gave nil
};

struct SeekCounts {
  int64_t backward = 0;
  int64_t forward = 0;
};

class App {
 public:
  // The host classes must be registered first (registerHostClasses).
  explicit App(CGSize screen);

  const Ref<UIWindow>& window() const { return window_; }
  UITouchDispatcher& touches() { return touches_; }

  // Opens a player at the screen origin, in the app's order: the player view controller loads,
  // the player view is made, the player overlay view controller loads, the controls overlay is
  // made with its play/pause button shown at alpha 1. Not yet shown nor laid out.
  std::unique_ptr<Player> openPlayer(CGSize size, const std::vector<RateOption>& rates);
  // The window shows one player at a time.
  void show(const Player& player);
  void hide(const Player& player);
  // A layout pass of the player's controls overlay.
  void layOut(const Player& player);

  void setControlsShown(const Player& player, bool shown);
  void setControlsAlpha(const Player& player, double alpha);
  // The app's own speed menu selects `rate`.
  void selectRate(const Player& player, float rate);

  SeekCounts seekCounts() const;

 private:
  Ref<UIWindow> window_;
  UITouchDispatcher touches_;
};

}  // namespace host
