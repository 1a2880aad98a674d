// A continuous recognizer of one finger held still: Began once the finger has been down for
// `minimumPressDuration` seconds (on the main-queue clock) without coming `allowableMovement`
// points from where it touched down, Changed on every move after that, however far, Ended at the
// lift. Before it begins it fails for a lift, a second finger or a finger that moves that far.
#pragma once

#include "CoreGraphics/CGGeometry.h"
#include "UIKit/UIGestureRecognizer.h"

class UILongPressGestureRecognizer : public UIGestureRecognizer {
 public:
  static Class objcClass();

  double minimumPressDuration() const { return minimumPressDuration_; }  // seconds
  void setMinimumPressDuration(double seconds) { minimumPressDuration_ = seconds; }
  double allowableMovement() const { return allowableMovement_; }  // points
  void setAllowableMovement(double points) { allowableMovement_ = points; }

  void touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void reset() override;

 private:
  void stopTimer();

  double minimumPressDuration_ = 0.5;
  double allowableMovement_ = 10;
  CGPoint touchDown_ = CGPointZero;
  uint64_t timer_ = 0;  // the queued begin, 0 for none
};
