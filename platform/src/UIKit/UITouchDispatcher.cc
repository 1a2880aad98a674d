#include "UIKit/UITouchDispatcher.h"

#include <algorithm>

#include "dispatch/dispatch.h"

namespace {

UITouchPhase touchPhase(UIGestureRecognizer::TouchPhase_ phase) {
  switch (phase) {
    case UIGestureRecognizer::TouchPhase_::Began:
      return UITouchPhaseBegan;
    case UIGestureRecognizer::TouchPhase_::Moved:
      return UITouchPhaseMoved;
    case UIGestureRecognizer::TouchPhase_::Ended:
      return UITouchPhaseEnded;
    case UIGestureRecognizer::TouchPhase_::Cancelled:
      break;
  }
  return UITouchPhaseCancelled;
}

void setPhase(const NSSet& touches, UITouchPhase phase) {
  for (const auto& touch : touches.allObjects()) static_cast<UITouch&>(*touch).setPhase_(phase);
}

}  // namespace

UITouchDispatcher::UITouchDispatcher(const Ref<UIWindow>& window) : window_(window) {
  touches_.reserve(kMaxFingers);
  for (size_t i = 0; i < kMaxFingers; ++i) touches_.push_back(alloc_init<UITouch>());
  phaseTouches_ = alloc<NSMutableSet>();
  phaseTouches_->initWithCapacity(kMaxFingers);
  allTouches_ = alloc<NSMutableSet>();
  allTouches_->initWithCapacity(kMaxFingers);
  event_ = alloc_init<UIEvent>();
  event_->setTouches_(allTouches_);
  recognizers_.reserve(16);
}

void UITouchDispatcher::touchesDown(std::span<const CGPoint> points, NSUInteger tapCount) {
  if (points.empty() || fingers_ == kMaxFingers) return;
  if (fingers_ == 0) beginSequence(points.front());
  setPhase(*allTouches_, UITouchPhaseStationary);
  phaseTouches_->removeAllObjects();
  for (CGPoint point : points) {
    if (fingers_ == kMaxFingers) break;
    auto& touch = touches_[fingers_++];
    touch->setTapCount_(tapCount);
    touch->setPhase_(UITouchPhaseBegan);
    touch->setWindow_(window_);
    touch->setView_(view_);
    touch->setLocationInWindow_(point);
    phaseTouches_->addObject(touch);
    allTouches_->addObject(touch);
  }
  deliver(Phase::Began);
}

void UITouchDispatcher::touchesMove(std::span<const CGPoint> points) {
  size_t moving = std::min(points.size(), fingers_);
  if (moving == 0) return;
  setPhase(*allTouches_, UITouchPhaseStationary);
  phaseTouches_->removeAllObjects();
  for (size_t i = 0; i < moving; ++i) {
    touches_[i]->setLocationInWindow_(points[i]);
    touches_[i]->setPhase_(UITouchPhaseMoved);
    phaseTouches_->addObject(touches_[i]);
  }
  deliver(Phase::Moved);
}

void UITouchDispatcher::touchesUp() {
  if (fingers_ == 0) return;
  phaseTouches_->removeAllObjects();
  for (size_t i = 0; i < fingers_; ++i) phaseTouches_->addObject(touches_[i]);
  setPhase(*phaseTouches_, UITouchPhaseEnded);
  deliver(Phase::Ended);
}

void UITouchDispatcher::touchesCancel() {
  if (fingers_ == 0) return;
  phaseTouches_->removeAllObjects();
  for (size_t i = 0; i < fingers_; ++i) phaseTouches_->addObject(touches_[i]);
  setPhase(*phaseTouches_, UITouchPhaseCancelled);
  deliver(Phase::Cancelled);
}

void UITouchDispatcher::beginSequence(CGPoint point) {
  allTouches_->removeAllObjects();
  viewCancelled_ = false;
  view_ = window_ ? window_->hitTest(point) : nullptr;
  recognizers_.clear();
  for (auto view = view_; view; view = view->superview()) {
    for (const auto& recognizer : view->gestureRecognizers()) recognizers_.push_back(recognizer);
  }
}

void UITouchDispatcher::deliver(Phase phase) {
  event_->setTimestamp_(static_cast<double>(dispatch_main_clock_now()) / NSEC_PER_SEC);
  // Withholding is decided by the recognizers' states as the event arrives.
  bool withhold = false;
  for (size_t i = 0; i < recognizers_.size(); ++i) {
    auto state = recognizers_[i]->state();
    if (recognizers_[i]->cancelsTouchesInView() &&
        (state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged)) {
      withhold = true;
    }
  }
  // By index, holding each recognizer, since an action may reach back into the dispatcher.
  for (size_t i = 0; i < recognizers_.size(); ++i) {
    auto recognizer = recognizers_[i];
    if (!recognizer->isFinished_()) recognizer->handleTouchEvent_(phase, phaseTouches_, event_);
  }
  if (view_ && !viewCancelled_) {
    if (withhold || phase == Phase::Cancelled) {
      viewCancelled_ = true;
      setPhase(*allTouches_, UITouchPhaseCancelled);
      view_->touchesCancelled(allTouches_, event_);
      setPhase(*phaseTouches_, touchPhase(phase));
    } else if (phase == Phase::Began) {
      view_->touchesBegan(phaseTouches_, event_);
    } else if (phase == Phase::Moved) {
      view_->touchesMoved(phaseTouches_, event_);
    } else {
      view_->touchesEnded(phaseTouches_, event_);
    }
  }
  if (phase == Phase::Ended || phase == Phase::Cancelled) endSequence();
}

void UITouchDispatcher::endSequence() {
  fingers_ = 0;
  for (size_t i = 0; i < recognizers_.size(); ++i) {
    auto recognizer = recognizers_[i];
    recognizer->endTouchSequence_();
  }
  recognizers_.clear();
  view_.reset();
}
