#include "host/YTMainAppVideoPlayerOverlayViewController.h"

namespace host {

namespace {

uint64_t backwardSeeks = 0;
uint64_t forwardSeeks = 0;

}  // namespace

Class YTMainAppVideoPlayerOverlayViewController::objcClass() {
  using C = YTMainAppVideoPlayerOverlayViewController;
  static Class cls = objc_registerClass("YTMainAppVideoPlayerOverlayViewController",
                                        UIViewController::objcClass(), [](Class c) {
                                          objc_exposeMethod<&C::viewDidLoad>(c, "viewDidLoad");
                                          objc_exposeMethod<&C::isFullscreen>(c, "isFullscreen");
                                          objc_exposeMethod<&C::didPressSeekBackwardAccessibility>(
                                              c, "didPressSeekBackwardAccessibility:");
                                          objc_exposeMethod<&C::didPressSeekForwardAccessibility>(
                                              c, "didPressSeekForwardAccessibility:");
                                        });
  return cls;
}

void YTMainAppVideoPlayerOverlayViewController::viewDidLoad() {}

void YTMainAppVideoPlayerOverlayViewController::didPressSeekBackwardAccessibility(const id&) {
  ++backwardSeeks;
  setPlaybackPosition(position_ - kSeekStepSeconds);
}

void YTMainAppVideoPlayerOverlayViewController::didPressSeekForwardAccessibility(const id&) {
  ++forwardSeeks;
  setPlaybackPosition(position_ + kSeekStepSeconds);
}

uint64_t YTMainAppVideoPlayerOverlayViewController::backwardSeekCount() { return backwardSeeks; }
uint64_t YTMainAppVideoPlayerOverlayViewController::forwardSeekCount() { return forwardSeeks; }

}  // namespace host
