// The player view's hold recognizer: a long press that also keeps what its hold changed, so that
// the lift (or a cancel) can put the rate back on the player it was taken from.
#pragma once

#include "UIKit/UILongPressGestureRecognizer.h"

class GLPHoldGesture : public UILongPressGestureRecognizer {
 public:
  static Class objcClass();

  // The hold under way: the player controller whose rate it set (not retained) and the rate in
  // force before it. None between holds.
  void startHold(const id& playerController, float rateBefore);
  // The player controller of the hold under way, if still there, and the rate to put back;
  // clears the hold, so each hold gives its rate back once.
  id endHold(float& rateBefore);
  bool isHolding() const { return holding_; }

  void reset() override;

 private:
  WeakRef<NSObject> playerController_;
  float rateBefore_ = 0;
  bool holding_ = false;
};
