#include "UIKit/UITapGestureRecognizer.h"

#include <cmath>

#include "Foundation/NSSet.h"
#include "UIKit/UITouch.h"
#include "dispatch/dispatch.h"

Class UITapGestureRecognizer::objcClass() {
  using G = UITapGestureRecognizer;
  static Class cls =
      objc_registerClass("UITapGestureRecognizer", UIGestureRecognizer::objcClass(), [](Class c) {
        objc_exposeMethod<&G::numberOfTapsRequired>(c, "numberOfTapsRequired");
        objc_exposeMethod<&G::setNumberOfTapsRequired>(c, "setNumberOfTapsRequired:");
      });
  return cls;
}

bool UITapGestureRecognizer::stayedNear() {
  CGPoint at = locationInView(nullptr);
  if (std::hypot(at.x - firstTouch_.x, at.y - firstTouch_.y) < kTapDistance) return true;
  setState(UIGestureRecognizerStateFailed);
  return false;
}

void UITapGestureRecognizer::failAfter(uint64_t delayMs) {
  dispatch_cancel_(timer_);
  WeakRef<UIGestureRecognizer> weak = objc_cast<UIGestureRecognizer>(self());
  // One nanosecond past the limit: a touch that comes exactly at the limit is still in time.
  auto when = dispatch_time(DISPATCH_TIME_NOW, static_cast<int64_t>(delayMs * NSEC_PER_MSEC + 1));
  timer_ = dispatch_after_cancellable_(
      when, dispatch_get_main_queue(), dispatch_block([weak] {
        auto recognizer = weak.lock();
        auto* tap = static_cast<UITapGestureRecognizer*>(recognizer.get());
        if (!tap || tap->state() != UIGestureRecognizerStatePossible) return;
        tap->timer_ = 0;
        tap->changeStateOutsideEvent_(UIGestureRecognizerStateFailed);
      }));
}

void UITapGestureRecognizer::touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesBegan(touches, event);
  if (state() != UIGestureRecognizerStatePossible) return;
  if (!event || event->allTouches()->count() != 1) {
    setState(UIGestureRecognizerStateFailed);  // a second finger, or two at once
    return;
  }
  if (taps_ == 0) {
    firstTouch_ = locationInView(nullptr);
  } else if (!stayedNear()) {
    return;
  }
  failAfter(kTapDurationMs);
}

void UITapGestureRecognizer::touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesMoved(touches, event);
  if (state() == UIGestureRecognizerStatePossible) stayedNear();
}

void UITapGestureRecognizer::touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesEnded(touches, event);
  if (state() != UIGestureRecognizerStatePossible || !stayedNear()) return;
  if (++taps_ >= numberOfTapsRequired_) {
    dispatch_cancel_(timer_);
    timer_ = 0;
    setState(UIGestureRecognizerStateEnded);
    return;
  }
  failAfter(kTapIntervalMs);
}

void UITapGestureRecognizer::touchesCancelled(const Ref<NSSet>& touches,
                                              const Ref<UIEvent>& event) {
  UIGestureRecognizer::touchesCancelled(touches, event);
  setState(UIGestureRecognizerStateFailed);
}

void UITapGestureRecognizer::reset() {
  UIGestureRecognizer::reset();
  dispatch_cancel_(timer_);
  timer_ = 0;
  taps_ = 0;
  firstTouch_ = CGPointZero;
}
