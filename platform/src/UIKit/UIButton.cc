#include "UIKit/UIButton.h"

#include <algorithm>

Class UIButton::objcClass() {
  static Class cls = objc_registerClass("UIButton", UIControl::objcClass(), [](Class) {});
  return cls;
}

Ref<UIButton> UIButton::buttonWithType(UIButtonType type) {
  auto button = alloc<UIButton>();
  button->initWithFrame(CGRectZero);
  button->buttonType_ = type;
  return button;
}

id UIButton::initWithFrame(CGRect frame) {
  id object = UIControl::initWithFrame(frame);
  titleLabel_ = alloc<UILabel>();
  titleLabel_->initWithFrame(CGRectMake(0, 0, frame.size.width, frame.size.height));
  titleLabel_->setTextAlignment(NSTextAlignmentCenter);
  addSubview(titleLabel_);
  return object;
}

template <class T>
void UIButton::store(PerState<T>& table, UIControlState state, const Ref<T>& value) {
  std::erase_if(table, [state](const auto& entry) { return entry.first == state; });
  if (value) table.emplace_back(state, value);
}

template <class T>
Ref<T> UIButton::lookUp(const PerState<T>& table, UIControlState state) {
  auto find = [&table](UIControlState wanted) -> Ref<T> {
    auto found = std::find_if(table.begin(), table.end(),
                              [wanted](const auto& entry) { return entry.first == wanted; });
    return found == table.end() ? nullptr : found->second;
  };
  if (auto own = find(state)) return own;
  return find(UIControlStateNormal);
}

void UIButton::setTitle(const Ref<NSString>& title, UIControlState state) {
  store(titles_, state, title);
  showCurrentTitle();
}

Ref<NSString> UIButton::titleForState(UIControlState state) const { return lookUp(titles_, state); }

void UIButton::setTitleColor(const Ref<UIColor>& color, UIControlState state) {
  store(titleColors_, state, color);
  showCurrentTitle();
}

Ref<UIColor> UIButton::titleColorForState(UIControlState state) const {
  return lookUp(titleColors_, state);
}

void UIButton::showCurrentTitle() {
  if (!titleLabel_) return;
  titleLabel_->setText(currentTitle());
  titleLabel_->setTextColor(currentTitleColor());
}

void UIButton::layoutSubviews() {
  UIControl::layoutSubviews();
  if (titleLabel_)
    titleLabel_->setFrame(CGRectMake(0, 0, bounds().size.width, bounds().size.height));
  showCurrentTitle();
}

void UIButton::touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  auto keepAlive = self();  // an action may drop the last other reference to the button
  UIControl::touchesBegan(touches, event);
  showCurrentTitle();
}

void UIButton::touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  UIControl::touchesMoved(touches, event);
  showCurrentTitle();
}

void UIButton::touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  auto keepAlive = self();  // an action may drop the last other reference to the button
  UIControl::touchesEnded(touches, event);
  showCurrentTitle();
}

void UIButton::touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>& event) {
  auto keepAlive = self();  // an action may drop the last other reference to the button
  UIControl::touchesCancelled(touches, event);
  showCurrentTitle();
}
