#include "gestures/SwipeGrafts.h"

#include "UIKit/UIScreen.h"
#include "gestures/BrightnessRecord.h"
#include "gestures/GLPInsideViewGesture.h"
#include "gestures/Rounding.h"
#include "gestures/TapAndHoldGrafts.h"
#include "gestures/VolumeStepper.h"
#include "setup/FeedbackHooks.h"
#include "setup/HostInterface.h"
#include "setup/ResponderChain.h"
#include "setup/SavedImplementations.h"
#include "setup/Settings.h"

namespace glidepad {

bool isVolumeSwipe = false;
bool isBrightnessSwipe = false;
bool isSeekSwipe = false;
id lastOverlayController;

namespace {

enum AreaCode : int { kVolumeArea = 1, kBrightnessArea = 2, kSeekArea = 3 };
constexpr double kBrightnessStep = 0.02;
constexpr int64_t kGestureSpeedPerSpeed = 10;

void clearSwipeKind() {
  isVolumeSwipe = false;
  isBrightnessSwipe = false;
  isSeekSwipe = false;
}

void chooseSwipeKind(GLPInsideViewGesture& gesture, const id& playerView) {
  double y = gesture.locationInView(objc_cast<UIView>(playerView)).y;
  double height = objc_msgSend<CGRect>(playerView, selector<"frame">()).size.height;
  if (y < height * 50 / 100) gesture.setIsStartedFromTop(YES);
  switch (gesture.isStartedFromTop() ? topArea : bottomArea) {
    case kVolumeArea:
      isVolumeSwipe = true;
      break;
    case kBrightnessArea:
      isBrightnessSwipe = true;
      break;
    case kSeekArea:
      isSeekSwipe = true;
      break;
    default:  // tracked, but steps nothing
      break;
  }
}

// The overlay controller of the swiped player, found as the swipe began; the one loaded last
// where the player view holds none.
id overlayControllerOf(const GLPInsideViewGesture& gesture) {
  if (id found = gesture.swipedOverlayController()) return found;
  return lastOverlayController;
}

void reportStep(const id& playerView, const SwipeStep& step) {
  if (feedbackHooks.swipeStepped) feedbackHooks.swipeStepped(playerView, step);
}

void stepBrightness(const id& playerView, int direction) {
  id screen = UIScreen::mainScreen();
  double brightness = objc_msgSend<double>(screen, selector<"brightness">());
  // No bound here: the screen keeps its brightness within its own range.
  double next = toSinglePrecision(brightness + direction * kBrightnessStep);
  objc_msgSend(screen, selector<"setBrightness:">(), next);
  double now = objc_msgSend<double>(screen, selector<"brightness">());
  recordBrightnessStep(playerView, brightness, now);
  if (!feedbackHooks.swipeStepped) return;
  reportStep(playerView, {SwipeControl::Brightness, direction, now, now != brightness});
}

void seek(const GLPInsideViewGesture& gesture, const id& playerView, int direction) {
  if (id overlayController = overlayControllerOf(gesture)) {
    if (direction < 0) {
      host::didPressSeekBackwardAccessibility(overlayController);
    } else {
      host::didPressSeekForwardAccessibility(overlayController);
    }
  }
  reportStep(playerView, {SwipeControl::Seek, direction});
}

// The speed factor of the swipe under way, read afresh at every change event.
int speedOfSwipe() {
  if (isVolumeSwipe) return volumeSpeed;
  if (isBrightnessSwipe) return brightnessSpeed;
  if (isSeekSwipe) return seekSpeed;
  return speed;
}

// At most one step per change event, in the direction the step position moved.
void stepSwipe(GLPInsideViewGesture& gesture, const id& playerView) {
  uint64_t position = toStepPosition(gesture.scale() * static_cast<double>(speedOfSwipe()));
  if (!gesture.isStarted()) {
    gesture.started();
    // The touch-down seed was taken at ten times this scale; the swipe's first position is the
    // baseline instead, so that its first step follows the finger like every later one.
    gesture.setPreviousPoint(position);
  }
  gesture.setCurrentPoint(position);
  if (isVolumeSwipe) {
    if (gesture.isCursorMovementLeft()) {
      changeVolumeUp(false, playerView);
    } else if (gesture.isCursorMovementRight()) {
      changeVolumeUp(true, playerView);
    }
  } else if (isBrightnessSwipe) {
    if (gesture.isCursorMovementLeft()) {
      stepBrightness(playerView, -1);
    } else if (gesture.isCursorMovementRight()) {
      stepBrightness(playerView, +1);
    }
  } else if (isSeekSwipe) {
    // The ratchet follows the finger whether or not there is a controller to seek.
    if (gesture.isCursorMovementLeft()) {
      seek(gesture, playerView, -1);
    } else if (gesture.isCursorMovementRight()) {
      seek(gesture, playerView, +1);
    }
  }
}

}  // namespace

id overlayControllerOfPlayerView(const id& playerView) {
  if (id found = viewControllerUnder(playerView, host::kOverlayViewControllerClass)) return found;
  return lastOverlayController;
}

bool overlayControllerIsFullscreen(const id& self, SEL _cmd) {
  return saved::overlayControllerIsFullscreen(self, _cmd);
}

void overlayControllerViewDidLoad(const id& self, SEL _cmd) {
  saved::overlayControllerViewDidLoad(self, _cmd);
  lastOverlayController = self;
}

id playerViewInitWithFrame(const id& self, SEL _cmd, CGRect frame) {
  // Configured and attached before the host's own initialiser runs.
  auto gesture = objc_cast<GLPInsideViewGesture>(
      alloc<GLPInsideViewGesture>()->initWithTarget(self, selector<"GLPGesture:">()));
  if (gesture) {
    gesture->setCancelsTouchesInView(NO);
    gesture->setNumberOfTapsRequired(0);
    gesture->setNumberOfTouchesRequired(1);
    gesture->setGestureSpeed(static_cast<uint64_t>(int64_t{speed} * kGestureSpeedPerSpeed));
    gesture->setActivateAfter(static_cast<double>(activateAfter));
    objc_msgSend(self, selector<"addGestureRecognizer:">(), gesture);
  }
  attachTapAndHold(self);
  attachBrightnessRecord(self);
  return saved::playerViewInitWithFrame(self, _cmd, frame);
}

void playerViewDidMoveToWindow(const id& self, SEL _cmd) {
  saved::playerViewDidMoveToWindow(self, _cmd);
  auto view = objc_cast<UIView>(self);
  if (view && !view->window()) endBrightnessStay(self, restoreBrightness);
}

void playerViewGLPGesture(const id& self, SEL, id recognizer) {
  auto gesture = objc_cast<GLPInsideViewGesture>(recognizer);
  if (!gesture) return;
  switch (gesture->state()) {
    case UIGestureRecognizerStateEnded:
    case UIGestureRecognizerStateCancelled:
      clearSwipeKind();
      if (feedbackHooks.swipeEnded) feedbackHooks.swipeEnded(self);
      break;
    case UIGestureRecognizerStateBegan:
      // Looked for once a swipe, among the player view's subviews.
      gesture->setSwipedOverlayController(
          viewControllerUnder(self, host::kOverlayViewControllerClass));
      // Held back outside fullscreen, a swipe is tracked as one of an area that does nothing.
      if (!fullscreenOnly || host::isFullscreen(overlayControllerOf(*gesture))) {
        chooseSwipeKind(*gesture, self);
      }
      if (feedbackHooks.swipeBegan) feedbackHooks.swipeBegan(self);
      break;
    case UIGestureRecognizerStateChanged:
      stepSwipe(*gesture, self);
      break;
    default:
      break;
  }
}

}  // namespace glidepad
