#include "gestures/GLPInsideViewGesture.h"

#include "UIKit/UIScreen.h"
#include "gestures/DeadZone.h"
#include "gestures/Rounding.h"
#include "setup/Settings.h"

Class GLPInsideViewGesture::objcClass() {
  using G = GLPInsideViewGesture;
  static Class cls =
      objc_registerClass("GLPInsideViewGesture", GLPPanGestureRecognizer::objcClass(), [](Class c) {
        objc_exposeMethod<&G::started>(c, "started");
        objc_exposeMethod<&G::isCursorMovementLeft>(c, "isCursorMovementLeft");
        objc_exposeMethod<&G::isCursorMovementRight>(c, "isCursorMovementRight");
        objc_exposeMethod<&G::hasSelection>(c, "hasSelection");
        objc_exposeMethod<&G::isStarted>(c, "isStarted");
        objc_exposeMethod<&G::setIsStarted>(c, "setIsStarted:");
        objc_exposeMethod<&G::isStartedFromTop>(c, "isStartedFromTop");
        objc_exposeMethod<&G::setIsStartedFromTop>(c, "setIsStartedFromTop:");
        objc_exposeMethod<&G::currentPoint>(c, "currentPoint");
        objc_exposeMethod<&G::setCurrentPoint>(c, "setCurrentPoint:");
        objc_exposeMethod<&G::previousPoint>(c, "previousPoint");
        objc_exposeMethod<&G::setPreviousPoint>(c, "setPreviousPoint:");
        objc_exposeMethod<&G::startedScale>(c, "startedScale");
        objc_exposeMethod<&G::setStartedScale>(c, "setStartedScale:");
        objc_exposeMethod<&G::gestureSpeed>(c, "gestureSpeed");
        objc_exposeMethod<&G::setGestureSpeed>(c, "setGestureSpeed:");
        objc_exposeMethod<&G::keyboardDelegate>(c, "keyboardDelegate");
        objc_exposeMethod<&G::setKeyboardDelegate>(c, "setKeyboardDelegate:");
        objc_exposeMethod<&G::currentLayout>(c, "currentLayout");
        objc_exposeMethod<&G::setCurrentLayout>(c, "setCurrentLayout:");
        objc_exposeMethod<&G::pivotPoint>(c, "pivotPoint");
        objc_exposeMethod<&G::setPivotPoint>(c, "setPivotPoint:");
        objc_exposeMethod<&G::movingPosition>(c, "movingPosition");
        objc_exposeMethod<&G::setMovingPosition>(c, "setMovingPosition:");
        objc_exposeMethod<&G::fadeKeyboard>(c, "fadeKeyboard");
        objc_exposeMethod<&G::setFadeKeyboard>(c, "setFadeKeyboard:");
        objc_exposeMethod<&G::isBlacklistedInput>(c, "isBlacklistedInput");
        objc_exposeMethod<&G::setIsBlacklistedInput>(c, "setIsBlacklistedInput:");
        objc_exposeMethod<&G::isCurrentlySelecting>(c, "isCurrentlySelecting");
        objc_exposeMethod<&G::setIsCurrentlySelecting>(c, "setIsCurrentlySelecting:");
      });
  return cls;
}

void GLPInsideViewGesture::touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  GLPPanGestureRecognizer::touchesBegan(touches, event);
  if (state() == UIGestureRecognizerStatePossible && beganInDeadZone()) {
    setState(UIGestureRecognizerStateFailed);  // the touch is the host's alone
  }
  keyboardDelegate_.reset();
  currentLayout_.reset();
  startedScale_ = scale() * static_cast<double>(gestureSpeed_);
  currentPoint_ = glidepad::toStepPosition(startedScale_);
  previousPoint_ = currentPoint_;
}

void GLPInsideViewGesture::reset() {
  GLPPanGestureRecognizer::reset();
  isStarted_ = NO;
  currentPoint_ = 0;
  previousPoint_ = 0;
  startedScale_ = 0.0;
  setCancelsTouchesInView(NO);
  setScale(1.0);
  keyboardDelegate_.reset();
  currentLayout_.reset();
  pivotPoint_.reset();
  movingPosition_.reset();
  isCurrentlySelecting_ = NO;
  isStartedFromTop_ = NO;
  swipedOverlayController_.reset();
}

void GLPInsideViewGesture::started() {
  isStarted_ = YES;
  setCancelsTouchesInView(YES);
  pivotPoint_.reset();
  movingPosition_.reset();
  isCurrentlySelecting_ = NO;
}

BOOL GLPInsideViewGesture::isCursorMovementLeft() {
  if (previousPoint_ >= currentPoint_) return NO;
  previousPoint_ = currentPoint_;
  return YES;
}

BOOL GLPInsideViewGesture::isCursorMovementRight() {
  if (previousPoint_ <= currentPoint_) return NO;
  previousPoint_ = currentPoint_;
  return YES;
}

BOOL GLPInsideViewGesture::hasSelection() {
  if (isCurrentlySelecting_) return YES;
  // With no delegate or no range the messages answer NO, and an unknown range is not empty.
  id range = objc_msgSend<id>(keyboardDelegate(), selector<"selectedTextRange">());
  BOOL empty = objc_msgSend<bool>(range, selector<"isEmpty">());
  isCurrentlySelecting_ = !empty;
  return isCurrentlySelecting_;
}

bool GLPInsideViewGesture::beganInDeadZone() const {
  if (glidepad::deadZone <= 0) return false;
  auto holder = view();
  if (!holder) return false;
  double x = locationInView(holder).x;
  return glidepad::inDeadZone(x, holder->bounds().size.width, initialLocationOnScreen().y,
                              UIScreen::mainScreen()->bounds().size.height, glidepad::deadZone);
}
