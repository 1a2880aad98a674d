// The host app's player controls overlay: a view over the video holding the play/pause button,
// which the host fades and hides with the rest of its controls.
#pragma once

#include "UIKit/UIButton.h"
#include "UIKit/UIView.h"

namespace host {

class YTMainAppControlsOverlayView : public UIView {
 public:
  static Class objcClass();

  // Makes an overlay as the host app does: `initWithDelegate:` sent through the runtime (so that
  // replacements of it run), then the frame the app gives it. nil when the initialiser gives nil.
  static Ref<YTMainAppControlsOverlayView> overlayWithDelegate(const id& delegate, CGRect frame);

  // While set, every `initWithDelegate:` answers nil, as a failing host initialiser would.
  static void setInitWithDelegateReturnsNil(bool returnsNil);

  // Builds the play/pause button; the frame stays empty until the app sets it.
  virtual id initWithDelegate(const id& delegate);
  // Applies the constraints the overlay holds, then centres the play/pause button.
  void layoutSubviews() override;

  Ref<UIButton> playPauseButton() const { return playPauseButton_; }
  id delegate() const { return delegate_.lock(); }

  static constexpr double kPlayPauseButtonSize = 60;

 private:
  WeakRef<NSObject> delegate_;
  Ref<UIButton> playPauseButton_;
};

}  // namespace host
