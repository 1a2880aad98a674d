#include "UIKit/UIControl.h"

#include <algorithm>

#include "Foundation/NSSet.h"
#include "UIKit/UITouch.h"

Class UIControl::objcClass() {
  static Class cls = objc_registerClass("UIControl", UIView::objcClass(), [](Class) {});
  return cls;
}

void UIControl::addTarget(const id& target, SEL action, UIControlEvents events) {
  targetActions_.push_back({target, action, events});
}

void UIControl::removeTarget(const id& target, SEL action, UIControlEvents events) {
  std::erase_if(targetActions_, [&](const TargetAction& entry) {
    return entry.target.lock() == target && (action == nullptr || entry.action == action) &&
           (entry.events & events) != 0;
  });
}

void UIControl::sendActionsForControlEvents(UIControlEvents events) {
  // A copy, since an action may add or remove targets.
  auto entries = targetActions_;
  id sender = self();
  for (const auto& entry : entries) {
    if ((entry.events & events) == 0) continue;
    if (auto target = entry.target.lock()) objc_msgSend(target, entry.action, sender);
  }
}

UIControlState UIControl::state() const {
  UIControlState state = UIControlStateNormal;
  if (highlighted_) state |= UIControlStateHighlighted;
  if (!enabled_) state |= UIControlStateDisabled;
  return state;
}

void UIControl::touchesBegan(const Ref<NSSet>&, const Ref<UIEvent>&) {
  if (!enabled_) return;
  tracking_ = YES;
  highlighted_ = YES;
  sendActionsForControlEvents(UIControlEventTouchDown);
}

void UIControl::touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>&) {
  if (!tracking_) return;
  auto touch = objc_cast<UITouch>(touches->anyObject());
  highlighted_ = touch && pointInside(touch->locationInView(selfAs<UIView>()));
}

void UIControl::touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>&) {
  if (!tracking_) return;
  tracking_ = NO;
  highlighted_ = NO;
  auto touch = objc_cast<UITouch>(touches->anyObject());
  bool inside = touch && pointInside(touch->locationInView(selfAs<UIView>()));
  sendActionsForControlEvents(inside ? UIControlEventTouchUpInside : UIControlEventTouchUpOutside);
}

void UIControl::touchesCancelled(const Ref<NSSet>&, const Ref<UIEvent>&) {
  if (!tracking_) return;
  tracking_ = NO;
  highlighted_ = NO;
  sendActionsForControlEvents(UIControlEventTouchCancel);
}
