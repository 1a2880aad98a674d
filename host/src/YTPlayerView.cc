#include "host/YTPlayerView.h"

#include <algorithm>

namespace host {

Class YTPlayerView::objcClass() {
  static Class cls = objc_registerClass("YTPlayerView", UIView::objcClass(), [](Class c) {
    objc_exposeMethod<&YTPlayerView::initWithFrame>(c, "initWithFrame:");
  });
  return cls;
}

id YTPlayerView::initWithFrame(CGRect frame) { return UIView::initWithFrame(frame); }

// The player handles its own touches: none of them goes up the responder chain.
void YTPlayerView::touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>&) {
  if (touches) inFlight_ += touches->count();
}

void YTPlayerView::touchesMoved(const Ref<NSSet>&, const Ref<UIEvent>&) {}

void YTPlayerView::touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>&) {
  if (inFlight_ == 0) return;
  inFlight_ -= std::min<uint64_t>(touches ? touches->count() : 0, inFlight_);
  toggleControls();
}

void YTPlayerView::touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>&) {
  inFlight_ -= std::min<uint64_t>(touches ? touches->count() : 0, inFlight_);
}

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
