// A discrete recognizer of taps: it recognizes (Ended) on the touch-up of the last of
// `numberOfTapsRequired` taps of one finger each, when every tap is held at most kTapDuration,
// each next tap touches down at most kTapInterval after the last lift, and no touch of the taps
// comes kTapDistance points or more from where the first touched down. Otherwise it fails: at
// once for a tap too far away or a second finger, on the main-queue clock for a tap held too long
// or a next tap that does not come. Between taps it stays Possible, so with `delaysTouchesEnded`
// the lifts of the earlier taps reach the view only once it fails.
#pragma once

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIGestureRecognizer.h"

class UITapGestureRecognizer : public UIGestureRecognizer {
 public:
  static constexpr uint64_t kTapDurationMs = 350;
  static constexpr uint64_t kTapIntervalMs = 350;
  static constexpr double kTapDistance = 45;

  static Class objcClass();

  NSUInteger numberOfTapsRequired() const { return numberOfTapsRequired_; }
  void setNumberOfTapsRequired(NSUInteger taps) { numberOfTapsRequired_ = taps; }

  void touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void reset() override;

 private:
  // Fails unless the finger is still within reach of the first tap's touch-down.
  bool stayedNear();
  // Fails the recognizer once `delayMs` passes, unless another timer replaces this one first.
  void failAfter(uint64_t delayMs);

  NSUInteger numberOfTapsRequired_ = 1;
  NSUInteger taps_ = 0;  // lifted so far
  CGPoint firstTouch_ = CGPointZero;
  uint64_t timer_ = 0;  // the queued failure, 0 for none
};
