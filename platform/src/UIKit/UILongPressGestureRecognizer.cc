#include "UIKit/UILongPressGestureRecognizer.h"

#include <cmath>

#include "Foundation/NSSet.h"
#include "UIKit/UITouch.h"
#include "dispatch/dispatch.h"

Class UILongPressGestureRecognizer::objcClass() {
  using G = UILongPressGestureRecognizer;
  static Class cls = objc_registerClass(
      "UILongPressGestureRecognizer", UIGestureRecognizer::objcClass(), [](Class c) {
        objc_exposeMethod<&G::minimumPressDuration>(c, "minimumPressDuration");
        objc_exposeMethod<&G::setMinimumPressDuration>(c, "setMinimumPressDuration:");
        objc_exposeMethod<&G::allowableMovement>(c, "allowableMovement");
        objc_exposeMethod<&G::setAllowableMovement>(c, "setAllowableMovement:");
      });
  return cls;
}

void UILongPressGestureRecognizer::stopTimer() {
  dispatch_cancel_(timer_);
  timer_ = 0;
}

void UILongPressGestureRecognizer::touchesBegan(const Ref<NSSet>& touches,
                                                const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesBegan(touches, event);
  if (state() != UIGestureRecognizerStatePossible) return;  // a second finger once begun is kept
  if (!event || event->allTouches()->count() != 1) {
    stopTimer();
    setState(UIGestureRecognizerStateFailed);
    return;
  }
  touchDown_ = locationInView(nullptr);
  // A duration that is no number, or negative, is none.
  double nanoseconds = std::fmax(minimumPressDuration_, 0.0) * NSEC_PER_SEC;
  auto delay =
      nanoseconds < 1e18 ? static_cast<int64_t>(nanoseconds) : int64_t{1000000000000000000};
  WeakRef<UIGestureRecognizer> weak = objc_cast<UIGestureRecognizer>(self());
  timer_ = dispatch_after_cancellable_(
      dispatch_time(DISPATCH_TIME_NOW, delay), dispatch_get_main_queue(), dispatch_block([weak] {
        auto recognizer = weak.lock();
        auto* press = static_cast<UILongPressGestureRecognizer*>(recognizer.get());
        if (!press || press->state() != UIGestureRecognizerStatePossible) return;
        press->timer_ = 0;
        press->changeStateOutsideEvent_(UIGestureRecognizerStateBegan);
      }));
}

void UILongPressGestureRecognizer::touchesMoved(const Ref<NSSet>& touches,
                                                const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesMoved(touches, event);
  switch (state()) {
    case UIGestureRecognizerStatePossible: {
      CGPoint at = locationInView(nullptr);
      // Reaching the allowed movement is too far: "within" it is strictly less.
      if (!(std::hypot(at.x - touchDown_.x, at.y - touchDown_.y) < allowableMovement_)) {
        stopTimer();
        setState(UIGestureRecognizerStateFailed);
      }
      break;
    }
    case UIGestureRecognizerStateBegan:
    case UIGestureRecognizerStateChanged:
      setState(UIGestureRecognizerStateChanged);
      break;
    default:
      break;
  }
}

void UILongPressGestureRecognizer::touchesEnded(const Ref<NSSet>& touches,
                                                const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesEnded(touches, event);
  auto current = state();
  stopTimer();
  if (current == UIGestureRecognizerStateBegan || current == UIGestureRecognizerStateChanged) {
    setState(UIGestureRecognizerStateEnded);
  } else if (current == UIGestureRecognizerStatePossible) {
    setState(UIGestureRecognizerStateFailed);  // lifted too soon
  }
}

void UILongPressGestureRecognizer::touchesCancelled(const Ref<NSSet>& touches,
                                                    const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesCancelled(touches, event);
  stopTimer();
  auto current = state();
  if (current == UIGestureRecognizerStateBegan || current == UIGestureRecognizerStateChanged) {
    setState(UIGestureRecognizerStateCancelled);
  } else {
    setState(UIGestureRecognizerStateFailed);
  }
}

void UILongPressGestureRecognizer::reset() {
  UIGestureRecognizer::reset();
  stopTimer();
  touchDown_ = CGPointZero;
}
