#include "UIKit/UIGestureRecognizer.h"

#include "Foundation/NSSet.h"
#include "GestureArbitration.h"
#include "UIKit/UITouch.h"

namespace {

// The state crosses the runtime as the NSInteger it is on the device.
int64_t stateImp(const id& self, SEL) {
  return static_cast<UIGestureRecognizer*>(self.get())->state();
}
void setStateImp(const id& self, SEL, int64_t state) {
  static_cast<UIGestureRecognizer*>(self.get())
      ->setState(static_cast<UIGestureRecognizerState>(state));
}

unsigned stateBit(UIGestureRecognizerState state) {
  auto value = static_cast<uint64_t>(state);
  return value < 32 ? 1u << value : 0u;
}

}  // namespace

Class UIGestureRecognizer::objcClass() {
  static Class cls = objc_registerClass("UIGestureRecognizer", NSObject::objcClass(), [](Class c) {
    objc_exposeMethod<&UIGestureRecognizer::initWithTarget>(c, "initWithTarget:action:");
    class_addMethod<int64_t>(c, sel_registerName("state"), &stateImp, "q@:");
    class_addMethod<void, int64_t>(c, sel_registerName("setState:"), &setStateImp, "v@:q");
    objc_exposeMethod<&UIGestureRecognizer::cancelsTouchesInView>(c, "cancelsTouchesInView");
    objc_exposeMethod<&UIGestureRecognizer::setCancelsTouchesInView>(c, "setCancelsTouchesInView:");
    objc_exposeMethod<&UIGestureRecognizer::delaysTouchesEnded>(c, "delaysTouchesEnded");
    objc_exposeMethod<&UIGestureRecognizer::setDelaysTouchesEnded>(c, "setDelaysTouchesEnded:");
    objc_exposeMethod<&UIGestureRecognizer::delegate>(c, "delegate");
    objc_exposeMethod<&UIGestureRecognizer::setDelegate>(c, "setDelegate:");
    objc_exposeMethod<&UIGestureRecognizer::view>(c, "view");
    objc_exposeMethod<&UIGestureRecognizer::locationInView>(c, "locationInView:");
    objc_exposeMethod<&UIGestureRecognizer::reset>(c, "reset");
  });
  return cls;
}

id UIGestureRecognizer::initWithTarget(const id& target, SEL action) {
  target_ = target;
  action_ = action;
  return self();
}

void UIGestureRecognizer::setState(UIGestureRecognizerState state) {
  state_ = state;
  reportedStates_ |= stateBit(state);
}

CGPoint UIGestureRecognizer::locationInView(const Ref<UIView>& view) const {
  if (!touches_) return CGPointZero;
  CGPoint sum{0, 0};
  double count = 0;
  for (const auto& object : touches_->allObjects()) {
    auto* touch = dynamic_cast<const UITouch*>(object.get());
    if (touch == nullptr) continue;
    CGPoint location = touch->locationInView(view);
    sum.x += location.x;
    sum.y += location.y;
    count += 1;
  }
  if (count == 0) return CGPointZero;
  return {sum.x / count, sum.y / count};
}

void UIGestureRecognizer::touchesBegan(const Ref<NSSet>&, const Ref<UIEvent>&) {}
void UIGestureRecognizer::touchesMoved(const Ref<NSSet>&, const Ref<UIEvent>&) {}
void UIGestureRecognizer::touchesEnded(const Ref<NSSet>&, const Ref<UIEvent>&) {}
void UIGestureRecognizer::touchesCancelled(const Ref<NSSet>&, const Ref<UIEvent>&) {}
void UIGestureRecognizer::reset() {}

bool UIGestureRecognizer::handleTouchEvent_(TouchPhase_ phase, const Ref<NSSet>& touches,
                                            const Ref<UIEvent>& event) {
  UIGestureRecognizerState before = state_;
  reportedStates_ = 0;
  inTouchSequence_ = YES;
  touches_ = event ? event->allTouches() : touches;
  switch (phase) {
    case TouchPhase_::Began:
      touchesBegan(touches, event);
      break;
    case TouchPhase_::Moved:
      touchesMoved(touches, event);
      break;
    case TouchPhase_::Ended:
      touchesEnded(touches, event);
      break;
    case TouchPhase_::Cancelled:
      touchesCancelled(touches, event);
      break;
  }
  bool began = beginsIfAllowed(before);
  unsigned reported = reportedStates_;
  reportedStates_ = 0;
  bool send = false;
  switch (state_) {
    case UIGestureRecognizerStateChanged:
      send = true;  // whether or not Changed was reported again in this event
      break;
    case UIGestureRecognizerStateBegan:
    case UIGestureRecognizerStateEnded:
    case UIGestureRecognizerStateCancelled:
      send = (reported & stateBit(state_)) != 0;
      break;
    default:
      break;
  }
  if (send) sendAction();
  return began;
}

bool UIGestureRecognizer::beginsIfAllowed(UIGestureRecognizerState before) {
  if (before != UIGestureRecognizerStatePossible) return false;
  if (state_ != UIGestureRecognizerStateBegan && state_ != UIGestureRecognizerStateEnded) {
    return false;
  }
  if (uikit_detail::delegateAllowsBegin(*this)) return true;
  state_ = UIGestureRecognizerStateFailed;
  return false;
}

void UIGestureRecognizer::changeStateOutsideEvent_(UIGestureRecognizerState state) {
  UIGestureRecognizerState before = state_;
  state_ = state;
  bool began = beginsIfAllowed(before);
  // Changed is sent also when it was Changed already: the timer stands for an event.
  if (state_ != UIGestureRecognizerStatePossible && state_ != UIGestureRecognizerStateFailed) {
    sendAction();
  }
  auto self = objc_cast<UIGestureRecognizer>(this->self());
  uikit_detail::recognizerChangedOutsideEvent(self, began);
  if (!inTouchSequence_ && isFinished_()) {
    state_ = UIGestureRecognizerStatePossible;
    reportedStates_ = 0;
    reset();
  }
}

void UIGestureRecognizer::failForOther_() {
  if (state_ == UIGestureRecognizerStatePossible) state_ = UIGestureRecognizerStateFailed;
}

BOOL UIGestureRecognizer::isFinished_() const {
  return state_ == UIGestureRecognizerStateEnded || state_ == UIGestureRecognizerStateCancelled ||
         state_ == UIGestureRecognizerStateFailed;
}

void UIGestureRecognizer::endTouchSequence_() {
  inTouchSequence_ = NO;
  if (state_ == UIGestureRecognizerStateBegan || state_ == UIGestureRecognizerStateChanged) {
    state_ = UIGestureRecognizerStateCancelled;
    sendAction();
  }
  if (state_ == UIGestureRecognizerStatePossible) return;
  state_ = UIGestureRecognizerStatePossible;
  reportedStates_ = 0;
  reset();
}

void UIGestureRecognizer::viewLeftWindow_() {
  if (!inTouchSequence_) return;
  // Finished states stay as they are: the end of the sequence resets them.
  if (state_ == UIGestureRecognizerStateBegan || state_ == UIGestureRecognizerStateChanged) {
    state_ = UIGestureRecognizerStateCancelled;
    sendAction();
  } else if (state_ == UIGestureRecognizerStatePossible) {
    state_ = UIGestureRecognizerStateFailed;
  }
}

void UIGestureRecognizer::sendAction() {
  auto target = target_.lock();
  if (target && action_ != nullptr) objc_msgSend(target, action_, self());
}
