#include "gestures/SwipeGrafts.h"

#include "UIKit/UIScreen.h"
#include "gestures/GLPInsideViewGesture.h"
#include "gestures/Rounding.h"
#include "gestures/VolumeStepper.h"
#include "setup/HostInterface.h"
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

void stepBrightness(double step) {
  id screen = UIScreen::mainScreen();
  double brightness = objc_msgSend<double>(screen, selector<"brightness">());
  // No bound here: the screen keeps its brightness within its own range.
  double next = toSinglePrecision(brightness + step);
  objc_msgSend(screen, selector<"setBrightness:">(), next);
}

// At most one step per change event, in the direction the step position moved.
void stepSwipe(GLPInsideViewGesture& gesture) {
  uint64_t position = toStepPosition(gesture.scale() * static_cast<double>(speed));
  if (!gesture.isStarted()) {
    gesture.started();
    // The touch-down seed was taken at ten times this scale; the swipe's first position is the
    // baseline instead, so that its first step follows the finger like every later one.
    gesture.setPreviousPoint(position);
  }
  gesture.setCurrentPoint(position);
  if (isVolumeSwipe) {
    if (gesture.isCursorMovementLeft()) {
      changeVolumeUp(false);
    } else if (gesture.isCursorMovementRight()) {
      changeVolumeUp(true);
    }
  } else if (isBrightnessSwipe) {
    if (gesture.isCursorMovementLeft()) {
      stepBrightness(-kBrightnessStep);
    } else if (gesture.isCursorMovementRight()) {
      stepBrightness(+kBrightnessStep);
    }
  } else if (isSeekSwipe) {
    // The ratchet follows the finger whether or not there is a controller to seek.
    if (gesture.isCursorMovementLeft()) {
      if (lastOverlayController) host::didPressSeekBackwardAccessibility(lastOverlayController);
    } else if (gesture.isCursorMovementRight()) {
      if (lastOverlayController) host::didPressSeekForwardAccessibility(lastOverlayController);
    }
  }
}

}  // namespace

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
  return saved::playerViewInitWithFrame(self, _cmd, frame);
}

void playerViewGLPGesture(const id& self, SEL, id recognizer) {
  auto gesture = objc_cast<GLPInsideViewGesture>(recognizer);
  if (!gesture) return;
  switch (gesture->state()) {
    case UIGestureRecognizerStateEnded:
    case UIGestureRecognizerStateCancelled:
      clearSwipeKind();
      break;
    case UIGestureRecognizerStateBegan:
      chooseSwipeKind(*gesture, self);
      break;
    case UIGestureRecognizerStateChanged:
      stepSwipe(*gesture);
      break;
    default:
      break;
  }
}

}  // namespace glidepad
