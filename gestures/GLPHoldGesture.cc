#include "gestures/GLPHoldGesture.h"

Class GLPHoldGesture::objcClass() {
  static Class cls =
      objc_registerClass("GLPHoldGesture", UILongPressGestureRecognizer::objcClass(), [](Class) {});
  return cls;
}

void GLPHoldGesture::startHold(const id& playerController, float rateBefore) {
  playerController_ = playerController;
  rateBefore_ = rateBefore;
  holding_ = true;
}

id GLPHoldGesture::endHold(float& rateBefore) {
  id playerController = holding_ ? playerController_.lock() : nullptr;
  rateBefore = rateBefore_;
  holding_ = false;
  playerController_.reset();
  return playerController;
}

void GLPHoldGesture::reset() {
  UILongPressGestureRecognizer::reset();
  // The action for the end has run by now; a hold still kept was never ended, and gives nothing.
  holding_ = false;
  playerController_.reset();
}
