// A finger on the screen, and the event that carries the touches of one moment.
#pragma once

#include "CoreGraphics/CGGeometry.h"
#include "Foundation/NSSet.h"
#include "objc/NSObject.h"

class UIView;
class UIWindow;

enum UITouchPhase : int64_t {
  UITouchPhaseBegan = 0,
  UITouchPhaseMoved = 1,
  UITouchPhaseStationary = 2,
  UITouchPhaseEnded = 3,
  UITouchPhaseCancelled = 4,
};

class UITouch : public NSObject {
 public:
  static Class objcClass();

  NSUInteger tapCount() const { return tapCount_; }
  UITouchPhase phase() const { return phase_; }
  Ref<UIWindow> window() const { return window_.lock(); }
  Ref<UIView> view() const { return view_.lock(); }
  // The location in `view`'s coordinates; with no view, in the touch's window's.
  CGPoint locationInView(const Ref<UIView>& view) const;

  // Set by the touch machinery, which owns the touch for its whole sequence.
  void setTapCount_(NSUInteger count) { tapCount_ = count; }
  void setPhase_(UITouchPhase phase) { phase_ = phase; }
  void setWindow_(const Ref<UIWindow>& window) { window_ = window; }
  void setView_(const Ref<UIView>& view) { view_ = view; }
  void setLocationInWindow_(CGPoint location) { locationInWindow_ = location; }

 private:
  NSUInteger tapCount_ = 1;
  UITouchPhase phase_ = UITouchPhaseBegan;
  WeakRef<UIWindow> window_;
  WeakRef<UIView> view_;
  CGPoint locationInWindow_{};
};

class UIEvent : public NSObject {
 public:
  static Class objcClass();

  Ref<NSSet> allTouches() const { return touches_; }
  double timestamp() const { return timestamp_; }

  void setTouches_(const Ref<NSSet>& touches) { touches_ = touches; }
  void setTimestamp_(double seconds) { timestamp_ = seconds; }

 private:
  Ref<NSSet> touches_;
  double timestamp_ = 0;
};
