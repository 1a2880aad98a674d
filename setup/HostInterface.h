// The host app's members that the system calls, declared by their selectors and signatures.
//
// The system has no header of the host: it reaches these members through the runtime by name,
// so a wrong signature is refused by the runtime instead of corrupting the call.
#pragma once

#include "CoreGraphics/CGGeometry.h"
#include "objc/message.h"

namespace glidepad::host {

inline constexpr const char* kPlayerViewClass = "YTPlayerView";
inline constexpr const char* kOverlayViewControllerClass =
    "YTMainAppVideoPlayerOverlayViewController";
inline constexpr const char* kPlayerViewControllerClass = "YTPlayerViewController";
inline constexpr const char* kControlsOverlayViewClass = "YTMainAppControlsOverlayView";

// YTMainAppVideoPlayerOverlayViewController: whether the player fills the screen (NO for nil).
inline bool isFullscreen(const id& overlayController) {
  return objc_msgSend<bool>(overlayController, selector<"isFullscreen">());
}
// YTMainAppVideoPlayerOverlayViewController: one host-defined seek step; the sender is nil.
inline void didPressSeekBackwardAccessibility(const id& overlayController) {
  objc_msgSend(overlayController, selector<"didPressSeekBackwardAccessibility:">(), id());
}
inline void didPressSeekForwardAccessibility(const id& overlayController) {
  objc_msgSend(overlayController, selector<"didPressSeekForwardAccessibility:">(), id());
}

// YTPlayerViewController: the varispeed switch controller, asked for afresh at each use.
inline id varispeedController(const id& playerController) {
  return objc_msgSend<id>(playerController, selector<"varispeedController">());
}
inline float currentPlaybackRateForVarispeedSwitchController(const id& playerController,
                                                             const id& varispeedController) {
  return objc_msgSend<float>(playerController,
                             selector<"currentPlaybackRateForVarispeedSwitchController:">(),
                             varispeedController);
}
inline void varispeedSwitchControllerDidSelectRate(const id& playerController,
                                                   const id& varispeedController, float rate) {
  objc_msgSend(playerController, selector<"varispeedSwitchController:didSelectRate:">(),
               varispeedController, rate);
}

// A rate option of the varispeed switch controller's `_options` list.
inline float rate(const id& option) { return objc_msgSend<float>(option, selector<"rate">()); }
inline id title(const id& option) { return objc_msgSend<id>(option, selector<"title">()); }

// YTMainAppControlsOverlayView.
inline id playPauseButton(const id& overlayView) {
  return objc_msgSend<id>(overlayView, selector<"playPauseButton">());
}

}  // namespace glidepad::host
