// Controls: views that turn touches into target-action messages for control events.
#pragma once

#include <vector>

#include "UIKit/UIView.h"

using UIControlEvents = uint64_t;
inline constexpr UIControlEvents UIControlEventTouchDown = 1 << 0;
inline constexpr UIControlEvents UIControlEventTouchUpInside = 1 << 6;
inline constexpr UIControlEvents UIControlEventTouchUpOutside = 1 << 7;
inline constexpr UIControlEvents UIControlEventTouchCancel = 1 << 8;
inline constexpr UIControlEvents UIControlEventValueChanged = 1 << 12;

using UIControlState = uint64_t;
inline constexpr UIControlState UIControlStateNormal = 0;
inline constexpr UIControlState UIControlStateHighlighted = 1 << 0;
inline constexpr UIControlState UIControlStateDisabled = 1 << 1;
inline constexpr UIControlState UIControlStateSelected = 1 << 2;

class UIControl : public UIView {
 public:
  static Class objcClass();

  // Targets are not retained, as on the device; a target that is gone is skipped. Each action is
  // sent through the runtime with the control as its argument ("v@:@").
  void addTarget(const id& target, SEL action, UIControlEvents events);
  void removeTarget(const id& target, SEL action, UIControlEvents events);
  void sendActionsForControlEvents(UIControlEvents events);

  BOOL isEnabled() const { return enabled_; }
  void setEnabled(BOOL enabled) { enabled_ = enabled; }
  BOOL isHighlighted() const { return highlighted_; }
  UIControlState state() const;

  // A touch that began in the control and lifts inside its bounds is a touch-up-inside; the
  // control consumes its touches rather than passing them up the responder chain.
  void touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;

 private:
  struct TargetAction {
    WeakRef<NSObject> target;
    SEL action;
    UIControlEvents events;
  };
  std::vector<TargetAction> targetActions_;
  BOOL enabled_ = YES;
  BOOL highlighted_ = NO;
  BOOL tracking_ = NO;
};
