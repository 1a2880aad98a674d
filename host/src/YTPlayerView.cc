#include "host/YTPlayerView.h"

namespace host {

Class YTPlayerView::objcClass() {
  static Class cls = objc_registerClass("YTPlayerView", UIView::objcClass(), [](Class c) {
    objc_exposeMethod<&YTPlayerView::initWithFrame>(c, "initWithFrame:");
  });
  return cls;
}

id YTPlayerView::initWithFrame(CGRect frame) { return UIView::initWithFrame(frame); }

// The player handles its own touches: none of them goes up the responder chain.
void YTPlayerView::touchesBegan(const Ref<NSSet>&, const Ref<UIEvent>&) { tracking_ = true; }

void YTPlayerView::touchesMoved(const Ref<NSSet>&, const Ref<UIEvent>&) {}

void YTPlayerView::touchesEnded(const Ref<NSSet>&, const Ref<UIEvent>&) {
  if (!tracking_) return;
  tracking_ = false;
  toggleControls();
}

void YTPlayerView::touchesCancelled(const Ref<NSSet>&, const Ref<UIEvent>&) { tracking_ = false; }

void YTPlayerView::toggleControls() {
  ++controlsToggles_;
  id overlay = controlsOverlay();
  if (!overlay) return;
  if (auto button = objc_cast<UIView>(objc_msgSend<id>(overlay, selector<"playPauseButton">()))) {
    button->setHidden(!button->isHidden());
  }
  objc_msgSend(overlay, selector<"setNeedsLayout">());
  objc_msgSend(overlay, selector<"layoutIfNeeded">());
}

}  // namespace host
