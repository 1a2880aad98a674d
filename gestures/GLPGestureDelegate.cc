#include "gestures/GLPGestureDelegate.h"

#include "UIKit/UIScreen.h"
#include "UIKit/UITouch.h"
#include "UIKit/UIWindow.h"
#include "gestures/DeadZone.h"
#include "gestures/DoubleTapChoice.h"
#include "gestures/GLPHoldGesture.h"
#include "gestures/HoldChoice.h"
#include "gestures/SwipeGrafts.h"
#include "setup/HostInterface.h"
#include "setup/RateOptions.h"
#include "setup/ResponderChain.h"
#include "setup/Settings.h"

namespace {

using namespace glidepad;

// The same bands as the swipe's: across the player view, and down the screen.
bool touchInDeadZone(const Ref<UIView>& view, const UITouch& touch) {
  if (deadZone <= 0) return false;
  CGPoint inWindow = touch.locationInView(nullptr);
  auto window = touch.window();
  CGPoint onScreen = window ? window->convertPointToWindow(inWindow, nullptr) : inWindow;
  return inDeadZone(touch.locationInView(view).x, view->bounds().size.width, onScreen.y,
                    UIScreen::mainScreen()->bounds().size.height, deadZone);
}

TapSide sideOf(CGPoint inView, const UIView& view) {
  return tapSide(inView.x, view.bounds().size.width);
}

}  // namespace

Class GLPGestureDelegate::objcClass() {
  using D = GLPGestureDelegate;
  static Class cls = objc_registerClass("GLPGestureDelegate", NSObject::objcClass(), [](Class c) {
    objc_exposeMethod<&D::gestureRecognizer>(c, "gestureRecognizer:shouldReceiveTouch:");
    objc_exposeMethod<&D::gestureRecognizerShouldBegin>(c, "gestureRecognizerShouldBegin:");
  });
  return cls;
}

id GLPGestureDelegate::shared() {
  static const auto* delegate = new id(alloc_init<GLPGestureDelegate>());
  return *delegate;
}

bool GLPGestureDelegate::gestureRecognizer(const id& recognizer, const id& touch) {
  auto gesture = objc_cast<UIGestureRecognizer>(recognizer);
  auto finger = objc_cast<UITouch>(touch);
  auto view = gesture ? gesture->view() : nullptr;
  if (!view || !finger || touchInDeadZone(view, *finger)) return false;
  if (objc_cast<GLPHoldGesture>(recognizer)) return holdIsOn(holdRate);
  return doubleTapSteps(doubleTapSeek) > 0 &&
         sideOf(finger->locationInView(view), *view) != TapSide::Middle;
}

bool GLPGestureDelegate::gestureRecognizerShouldBegin(const id& recognizer) {
  auto gesture = objc_cast<UIGestureRecognizer>(recognizer);
  auto view = gesture ? gesture->view() : nullptr;
  if (!view) return false;
  // Held back outside fullscreen, a hold or a double tap stays a plain touch for the host.
  if (fullscreenOnly && !host::isFullscreen(overlayControllerOfPlayerView(view))) return false;
  if (objc_cast<GLPHoldGesture>(recognizer)) {
    // A hold that would change nothing does not take the touch from the host.
    id player = responderOfClassUp(view, host::kPlayerViewControllerClass);
    return holdOption(holdRate, rateOptions(player)).has_value();
  }
  return doubleTapSteps(doubleTapSeek) > 0 &&
         sideOf(gesture->locationInView(view), *view) != TapSide::Middle;
}
