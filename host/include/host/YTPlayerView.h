// The app's video player view. A tap on it (touches the view saw begin and then sees end, neither
// cancelled nor withheld by a gesture) shows or hides the player's controls, once for each end.
//
// The app makes player views through the runtime,
//   objc_msgSend<id>(alloc<YTPlayerView>(), selector<"initWithFrame:">(), frame),
// so that an injected replacement of initWithFrame: takes part.
#pragma once

#include "Foundation/NSSet.h"
#include "UIKit/UITouch.h"
#include "UIKit/UIView.h"

namespace host {

class YTPlayerView : public UIView {
 public:
  static Class objcClass();

  id initWithFrame(CGRect frame) override;

  // The controls overlay whose play/pause button a tap shows or hides; not retained.
  void setControlsOverlay(const id& overlay) { controlsOverlay_ = overlay; }
  id controlsOverlay() const { return controlsOverlay_.lock(); }
  uint64_t controlsToggleCount() const { return controlsToggles_; }

  void touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;

 private:
  void toggleControls();

  WeakRef<NSObject> controlsOverlay_;
  uint64_t inFlight_ = 0;  // touches seen to begin, not yet ended or cancelled
  uint64_t controlsToggles_ = 0;
};

}  // namespace host
