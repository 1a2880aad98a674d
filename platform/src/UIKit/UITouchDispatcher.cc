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

UITouchDispatcher::Sequence::Sequence(size_t fingerCapacity) {
  touches.reserve(fingerCapacity);
  for (size_t i = 0; i < fingerCapacity; ++i) touches.push_back(alloc_init<UITouch>());
  phaseTouches = alloc<NSMutableSet>();
  phaseTouches->initWithCapacity(fingerCapacity);
  allTouches = alloc<NSMutableSet>();
  allTouches->initWithCapacity(fingerCapacity);
  event = alloc_init<UIEvent>();
  event->setTouches_(allTouches);
  recognizers.reserve(16);
}

UITouchDispatcher::UITouchDispatcher(const Ref<UIWindow>& window)
    : window_(window), main_(kMaxFingers), apart_(1) {}

void UITouchDispatcher::touchesDown(std::span<const CGPoint> points, NSUInteger tapCount) {
  if (points.empty() || main_.fingers == kMaxFingers) return;
  if (main_.fingers == 0) beginSequence(main_, points.front(), nullptr);
  addFingers(main_, points, tapCount);
}

void UITouchDispatcher::addFingers(Sequence& sequence, std::span<const CGPoint> points,
                                   NSUInteger tapCount) {
  setPhase(*sequence.allTouches, UITouchPhaseStationary);
  sequence.phaseTouches->removeAllObjects();
  for (CGPoint point : points) {
    if (sequence.fingers == sequence.touches.size()) break;
    auto& touch = sequence.touches[sequence.fingers++];
    touch->setTapCount_(tapCount);
    touch->setPhase_(UITouchPhaseBegan);
    touch->setWindow_(window_);
    touch->setView_(sequence.view);
    touch->setLocationInWindow_(point);
    sequence.phaseTouches->addObject(touch);
    sequence.allTouches->addObject(touch);
  }
  deliver(sequence, Phase::Began);
}

void UITouchDispatcher::touchesMove(std::span<const CGPoint> points) {
  size_t moving = std::min(points.size(), main_.fingers);
  if (moving == 0) return;
  setPhase(*main_.allTouches, UITouchPhaseStationary);
  main_.phaseTouches->removeAllObjects();
  for (size_t i = 0; i < moving; ++i) {
    main_.touches[i]->setLocationInWindow_(points[i]);
    main_.touches[i]->setPhase_(UITouchPhaseMoved);
    main_.phaseTouches->addObject(main_.touches[i]);
  }
  deliver(main_, Phase::Moved);
}

void UITouchDispatcher::touchesUp() { lift(main_, Phase::Ended); }

void UITouchDispatcher::touchesCancel() { lift(main_, Phase::Cancelled); }

Ref<UIView> UITouchDispatcher::tapApart_(CGPoint point) {
  beginSequence(apart_, point, &main_);
  Ref<UIView> reached = apart_.view;
  addFingers(apart_, {&point, 1}, 1);
  lift(apart_, Phase::Ended);
  return reached;
}

void UITouchDispatcher::lift(Sequence& sequence, Phase phase) {
  if (sequence.fingers == 0) return;
  sequence.phaseTouches->removeAllObjects();
  for (size_t i = 0; i < sequence.fingers; ++i) {
    sequence.phaseTouches->addObject(sequence.touches[i]);
  }
  setPhase(*sequence.phaseTouches,
           phase == Phase::Ended ? UITouchPhaseEnded : UITouchPhaseCancelled);
  deliver(sequence, phase);
}

void UITouchDispatcher::beginSequence(Sequence& sequence, CGPoint point, const Sequence* besides) {
  sequence.allTouches->removeAllObjects();
  sequence.viewCancelled = false;
  sequence.view = window_ ? window_->hitTest(point) : nullptr;
  sequence.recognizers.clear();
  for (auto view = sequence.view; view; view = view->superview()) {
    for (const auto& recognizer : view->gestureRecognizers()) {
      bool taken = besides && std::find(besides->recognizers.begin(), besides->recognizers.end(),
                                        recognizer) != besides->recognizers.end();
      if (!taken) sequence.recognizers.push_back(recognizer);
    }
  }
}

void UITouchDispatcher::deliver(Sequence& sequence, Phase phase) {
  auto& event = sequence.event;
  auto& phaseTouches = sequence.phaseTouches;
  event->setTimestamp_(static_cast<double>(dispatch_main_clock_now()) / NSEC_PER_SEC);
  // Withholding is decided by the recognizers' states as the event arrives.
  bool withhold = false;
  for (size_t i = 0; i < sequence.recognizers.size(); ++i) {
    auto state = sequence.recognizers[i]->state();
    if (sequence.recognizers[i]->cancelsTouchesInView() &&
        (state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged)) {
      withhold = true;
    }
  }
  // By index, holding each recognizer, since an action may reach back into the dispatcher.
  for (size_t i = 0; i < sequence.recognizers.size(); ++i) {
    auto recognizer = sequence.recognizers[i];
    if (!recognizer->isFinished_()) recognizer->handleTouchEvent_(phase, phaseTouches, event);
  }
  const auto& view = sequence.view;
  if (view && !sequence.viewCancelled) {
    if (withhold || phase == Phase::Cancelled) {
      sequence.viewCancelled = true;
      setPhase(*sequence.allTouches, UITouchPhaseCancelled);
      view->touchesCancelled(sequence.allTouches, event);
      setPhase(*phaseTouches, touchPhase(phase));
    } else if (phase == Phase::Began) {
      view->touchesBegan(phaseTouches, event);
    } else if (phase == Phase::Moved) {
      view->touchesMoved(phaseTouches, event);
    } else {
      view->touchesEnded(phaseTouches, event);
    }
  }
  if (phase == Phase::Ended || phase == Phase::Cancelled) endSequence(sequence);
}

void UITouchDispatcher::endSequence(Sequence& sequence) {
  sequence.fingers = 0;
  for (size_t i = 0; i < sequence.recognizers.size(); ++i) {
    auto recognizer = sequence.recognizers[i];
    recognizer->endTouchSequence_();
  }
  sequence.recognizers.clear();
  sequence.view.reset();
}
