// Buttons: a control with a title and a title colour per control state, shown by its title label.
// A state with no title (or colour) of its own shows the normal state's, as on the device.
#pragma once

#include <utility>
#include <vector>

#include "UIKit/UIControl.h"
#include "UIKit/UILabel.h"

enum UIButtonType : int64_t {
  UIButtonTypeCustom = 0,
  UIButtonTypeSystem = 1,
};

class UIButton : public UIControl {
 public:
  static Class objcClass();

  static Ref<UIButton> buttonWithType(UIButtonType type);

  // Builds the title label, a subview that fills the button and centres its text.
  id initWithFrame(CGRect frame) override;

  UIButtonType buttonType() const { return buttonType_; }

  // A nil title or colour clears the state's own, so that it falls back to the normal state's.
  void setTitle(const Ref<NSString>& title, UIControlState state);
  Ref<NSString> titleForState(UIControlState state) const;
  void setTitleColor(const Ref<UIColor>& color, UIControlState state);
  Ref<UIColor> titleColorForState(UIControlState state) const;
  Ref<NSString> currentTitle() const { return titleForState(state()); }
  Ref<UIColor> currentTitleColor() const { return titleColorForState(state()); }

  // Shows the current state's title and title colour; its font is the caller's to set.
  Ref<UILabel> titleLabel() const { return titleLabel_; }

  void layoutSubviews() override;

  // The highlighted state changes while a touch is tracked; the title label follows it.
  void touchesBegan(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesMoved(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesEnded(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;
  void touchesCancelled(const Ref<NSSet>& touches, const Ref<UIEvent>& event) override;

 private:
  template <class T>
  using PerState = std::vector<std::pair<UIControlState, Ref<T>>>;

  template <class T>
  static void store(PerState<T>& table, UIControlState state, const Ref<T>& value);
  template <class T>
  static Ref<T> lookUp(const PerState<T>& table, UIControlState state);

  void showCurrentTitle();

  UIButtonType buttonType_ = UIButtonTypeCustom;
  Ref<UILabel> titleLabel_;
  PerState<NSString> titles_;
  PerState<UIColor> titleColors_;
};
