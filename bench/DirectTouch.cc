#include "DirectTouch.h"

#include "objc/message.h"

namespace bench {

using Phase = UIGestureRecognizer::TouchPhase_;

DirectTouch::DirectTouch()
    : touch_(alloc_init<UITouch>()),
      touches_(alloc<NSMutableSet>()),
      event_(alloc_init<UIEvent>()) {
  touch_->setTapCount_(1);
  touches_->initWithCapacity(1);
  touches_->addObject(touch_);
  event_->setTouches_(touches_);
}

void DirectTouch::down(const Ref<GLPInsideViewGesture>& recognizer, const Ref<UIWindow>& window,
                       CGPoint point) {
  recognizer_ = recognizer;
  view_ = recognizer->view();
  touch_->setWindow_(window);
  touch_->setView_(recognizer->view());
  touch_->setPhase_(UITouchPhaseBegan);
  touch_->setLocationInWindow_(point);
  recognizer_->handleTouchEvent_(Phase::Began, touches_, event_);
}

void DirectTouch::move(CGPoint point) {
  touch_->setPhase_(UITouchPhaseMoved);
  touch_->setLocationInWindow_(point);
  recognizer_->handleTouchEvent_(Phase::Moved, touches_, event_);
}

void DirectTouch::moveStraight(CGPoint point) {
  touch_->setLocationInWindow_(point);
  recognizer_->touchesMoved(touches_, event_);
  objc_msgSend(view_, selector<"GLPGesture:">(), recognizer_);
}

void DirectTouch::up() {
  touch_->setPhase_(UITouchPhaseEnded);
  recognizer_->handleTouchEvent_(Phase::Ended, touches_, event_);
  recognizer_->endTouchSequence_();
}

}  // namespace bench
