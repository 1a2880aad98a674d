#include "UIKit/UITouchDispatcher.h"

#include <algorithm>

#include "GestureArbitration.h"
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

// Drops the recognizers that have left Possible from those a lift waits on; answers whether one of
// them recognized with cancelsTouchesInView, so that the lift's touches are cancelled instead.
bool dropDecided(std::vector<Ref<UIGestureRecognizer>>& waiting) {
  bool recognized = false;
  std::erase_if(waiting, [&](const Ref<UIGestureRecognizer>& recognizer) {
    auto state = recognizer->state();
    if (state == UIGestureRecognizerStatePossible) return false;
    recognized |= state != UIGestureRecognizerStateFailed &&
                  state != UIGestureRecognizerStateCancelled && recognizer->cancelsTouchesInView();
    return true;
  });
  return recognized;
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
  delaying.reserve(16);
}

UITouchDispatcher::HeldEnd::HeldEnd() {
  touches.reserve(kMaxFingers);
  for (size_t i = 0; i < kMaxFingers; ++i) touches.push_back(alloc_init<UITouch>());
  touchSet = alloc<NSMutableSet>();
  touchSet->initWithCapacity(kMaxFingers);
  event = alloc_init<UIEvent>();
  event->setTouches_(touchSet);
  waitingOn.reserve(16);
}

UITouchDispatcher::UITouchDispatcher(const Ref<UIWindow>& window)
    : window_(window), main_(kMaxFingers), apart_(1) {
  uikit_detail::addDispatcher(this);
}

UITouchDispatcher::~UITouchDispatcher() { uikit_detail::removeDispatcher(this); }

void UITouchDispatcher::touchesDown(std::span<const CGPoint> points, NSUInteger tapCount) {
  if (points.empty() || main_.fingers == kMaxFingers) return;
  if (main_.fingers == 0) beginSequence(main_, points.front(), nullptr);
  addFingers(main_, points, tapCount);
}

void UITouchDispatcher::addFingers(Sequence& sequence, std::span<const CGPoint> points,
                                   NSUInteger tapCount) {
  setPhase(*sequence.allTouches, UITouchPhaseStationary);
  sequence.phaseTouches->removeAllObjects();
  bool first = sequence.fingers == 0;
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
  if (first) {
    std::erase_if(sequence.recognizers, [&](const Ref<UIGestureRecognizer>& recognizer) {
      return !uikit_detail::delegateAllowsTouch(*recognizer, sequence.touches.front());
    });
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
  if (phase == Phase::Ended) {
    sequence.delaying.clear();
    for (const auto& recognizer : sequence.recognizers) {
      if (recognizer->delaysTouchesEnded() &&
          recognizer->state() == UIGestureRecognizerStatePossible) {
        sequence.delaying.push_back(recognizer);
      }
    }
  }
  // By index, holding each recognizer, since an action may reach back into the dispatcher.
  for (size_t i = 0; i < sequence.recognizers.size(); ++i) {
    auto recognizer = sequence.recognizers[i];
    if (recognizer->isFinished_()) continue;
    if (recognizer->handleTouchEvent_(phase, phaseTouches, event)) {
      uikit_detail::failOthers(*recognizer, sequence.recognizers);
    }
  }
  // A lift held back for a recognizer that failed at this event goes first: it came first.
  releaseHeldEnds();
  const auto& view = sequence.view;
  if (view && !sequence.viewCancelled) {
    if (withhold || phase == Phase::Cancelled) {
      cancelView(sequence);
      setPhase(*phaseTouches, touchPhase(phase));
    } else if (phase == Phase::Began) {
      view->touchesBegan(phaseTouches, event);
    } else if (phase == Phase::Moved) {
      view->touchesMoved(phaseTouches, event);
    } else {
      endTouches(sequence);
    }
  }
  releaseHeldEnds();
  if (phase == Phase::Ended || phase == Phase::Cancelled) endSequence(sequence);
}

void UITouchDispatcher::endTouches(Sequence& sequence) {
  if (dropDecided(sequence.delaying)) return cancelView(sequence);
  if (!sequence.delaying.empty()) return hold(sequence);
  sequence.view->touchesEnded(sequence.phaseTouches, sequence.event);
}

void UITouchDispatcher::cancelView(Sequence& sequence) {
  if (!sequence.view || sequence.viewCancelled) return;
  sequence.viewCancelled = true;
  setPhase(*sequence.allTouches, UITouchPhaseCancelled);
  sequence.view->touchesCancelled(sequence.allTouches, sequence.event);
}

void UITouchDispatcher::hold(Sequence& sequence) {
  auto slot =
      std::find_if(held_.begin(), held_.end(), [](const HeldEnd& end) { return !end.held; });
  if (slot == held_.end()) {
    // Every slot in use: the oldest goes out now, whatever it waits for.
    slot = std::min_element(held_.begin(), held_.end(),
                            [](const HeldEnd& a, const HeldEnd& b) { return a.order < b.order; });
    slot->waitingOn.clear();
    releaseHeldEnds();
  }
  HeldEnd& end = *slot;
  end.touchSet->removeAllObjects();
  size_t copied = 0;
  for (const auto& object : sequence.phaseTouches->allObjects()) {
    const auto& lifted = static_cast<const UITouch&>(*object);
    auto& copy = end.touches[copied++];
    copy->setTapCount_(lifted.tapCount());
    copy->setPhase_(UITouchPhaseEnded);
    copy->setWindow_(lifted.window());
    copy->setView_(lifted.view());
    copy->setLocationInWindow_(lifted.locationInView(nullptr));
    end.touchSet->addObject(copy);
  }
  end.view = sequence.view;
  end.waitingOn.assign(sequence.delaying.begin(), sequence.delaying.end());
  end.order = heldSoFar_++;
  end.cancel = false;
  end.held = true;
}

void UITouchDispatcher::releaseHeldEnds() {
  for (;;) {
    HeldEnd* next = nullptr;
    for (auto& end : held_) {
      if (!end.held) continue;
      end.cancel |= dropDecided(end.waitingOn);
      bool ready = end.cancel || end.waitingOn.empty();
      if (ready && (next == nullptr || end.order < next->order)) next = &end;
    }
    if (next == nullptr) return;
    next->held = false;
    next->waitingOn.clear();
    auto view = next->view.lock();
    if (!view) continue;
    next->event->setTimestamp_(static_cast<double>(dispatch_main_clock_now()) / NSEC_PER_SEC);
    if (next->cancel) {
      setPhase(*next->touchSet, UITouchPhaseCancelled);
      view->touchesCancelled(next->touchSet, next->event);
    } else {
      view->touchesEnded(next->touchSet, next->event);
    }
  }
}

void UITouchDispatcher::recognizerChangedOutsideEvent_(const Ref<UIGestureRecognizer>& recognizer,
                                                       bool began) {
  for (Sequence* sequence : {&main_, &apart_}) {
    auto& list = sequence->recognizers;
    if (std::find(list.begin(), list.end(), recognizer) == list.end()) continue;
    if (began) uikit_detail::failOthers(*recognizer, list);
    auto state = recognizer->state();
    bool underWay =
        state == UIGestureRecognizerStateBegan || state == UIGestureRecognizerStateChanged;
    if (underWay && recognizer->cancelsTouchesInView()) {
      cancelView(*sequence);
      setPhase(*sequence->allTouches, UITouchPhaseStationary);
    }
  }
  releaseHeldEnds();
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
