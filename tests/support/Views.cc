#include "Views.h"

#include "gestures/SwipeGrafts.h"

namespace support {

Ref<UIWindow> makeWindow(CGRect frame) {
  return objc_cast<UIWindow>(alloc<UIWindow>()->initWithFrame(frame));
}

Ref<host::YTPlayerView> makePlayerView(CGRect frame) {
  return objc_cast<host::YTPlayerView>(
      objc_msgSend<id>(alloc<host::YTPlayerView>(), selector<"initWithFrame:">(), frame));
}

Ref<GLPInsideViewGesture> swipeRecognizerOf(const Ref<UIView>& view) {
  for (const auto& recognizer : view->gestureRecognizers()) {
    if (auto swipe = objc_cast<GLPInsideViewGesture>(recognizer)) return swipe;
  }
  return nullptr;
}

Ref<ZEBStepper> stepperOf(const host::Player& player) {
  if (!player.controlsOverlay) return nullptr;
  return objc_cast<ZEBStepper>(
      objc_msgSend<id>(player.controlsOverlay, selector<"playbackRateStepper">()));
}

bool anySwipeKind() {
  return glidepad::isVolumeSwipe || glidepad::isBrightnessSwipe || glidepad::isSeekSwipe;
}

CGPoint centreInWindow(const Ref<UIView>& view, const Ref<UIWindow>& window) {
  CGRect bounds = view->bounds();
  return view->convertPointToView({CGRectGetMidX(bounds), CGRectGetMidY(bounds)}, window);
}

}  // namespace support
