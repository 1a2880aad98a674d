// A "-" / label / "+" strip with rounded ends. A tap on a button moves the value by the step
// interval while the value has not reached the limit in that direction, and tells the owner through
// callbacks. The control never writes the label's text: that is its owner's.
#pragma once

#include <functional>
#include <memory>

#include "UIKit/UIButton.h"
#include "UIKit/UIControl.h"
#include "UIKit/UIFont.h"
#include "UIKit/UILabel.h"

class ZEBStepper : public UIControl {
 public:
  // Takes the stepper and a value. The stepper keeps its own copy of each callback it is given.
  using Callback = std::function<void(const Ref<ZEBStepper>& stepper, float value)>;

  static Class objcClass();

  id initWithFrame(CGRect frame) override;
  // There is no archive format here: the coder is not read, and the control starts as one made
  // with the zero frame.
  id initWithCoder(const id& coder);
  // Stores the defaults and builds the label and the two buttons; both initialisers run it.
  void commonInit();

  // Frames the "-" button, the label and the "+" button side by side, applies the hides rules and
  // rounds the ends. The constraints machinery of the base is not wanted here and is not run.
  void layoutSubviews() override;
  // For the zero proposal, the label's own fitting size widened by both buttons; any other
  // proposal is answered unchanged.
  CGSize sizeThatFits(CGSize size) const override;

  BOOL hidesDecrementWhenMinimum() const { return hidesDecrementWhenMinimum_; }
  void setHidesDecrementWhenMinimum(BOOL hides) { hidesDecrementWhenMinimum_ = hides; }
  BOOL hidesIncrementWhenMaximum() const { return hidesIncrementWhenMaximum_; }
  void setHidesIncrementWhenMaximum(BOOL hides) { hidesIncrementWhenMaximum_ = hides; }

  float value() const { return value_; }
  // Stores the value as given (no clamping, also when unchanged), applies the hides rules whose
  // flags are on, then calls the value callback.
  void setValue(float value);
  float stepInterval() const { return stepInterval_; }
  void setStepInterval(float interval) { stepInterval_ = interval; }
  float minimum() const { return minimum_; }
  void setMinimum(float minimum) { minimum_ = minimum; }
  float maximum() const { return maximum_; }
  void setMaximum(float maximum) { maximum_ = maximum; }

  // Replacing a subview only stores the reference; the new view is not added as a subview.
  Ref<UILabel> countLabel() const { return countLabel_; }
  void setCountLabel(const Ref<UILabel>& label) { countLabel_ = label; }
  Ref<UIColor> labelColor() const { return labelColor_; }
  void setLabelColor(const Ref<UIColor>& color) { labelColor_ = color; }
  Ref<UIButton> incrementButton() const { return incrementButton_; }
  void setIncrementButton(const Ref<UIButton>& button) { incrementButton_ = button; }
  Ref<UIButton> decrementButton() const { return decrementButton_; }
  void setDecrementButton(const Ref<UIButton>& button) { decrementButton_ = button; }
  double buttonWidth() const { return buttonWidth_; }
  void setButtonWidth(double width) { buttonWidth_ = width; }

  // An empty callback means that nothing is called.
  const Callback& valueChangedCallback() const { return callbackOrEmpty(valueChangedCallback_); }
  void setValueChangedCallback(const Callback& callback);
  const Callback& incrementCallback() const { return callbackOrEmpty(incrementCallback_); }
  void setIncrementCallback(const Callback& callback);
  const Callback& decrementCallback() const { return callbackOrEmpty(decrementCallback_); }
  void setDecrementCallback(const Callback& callback);

  // Appearance, passed on to the layers and subviews; nothing is stored in the control.
  void setBorderColor(const Ref<UIColor>& color);
  void setBorderWidth(double width);  // the control's own border only
  void setCornerRadius(double radius);
  void setLabelTextColor(const Ref<UIColor>& color);
  void setLabelFont(const Ref<UIFont>& font);
  void setButtonTextColor(const Ref<UIColor>& color, UIControlState state);
  void setButtonFont(const Ref<UIFont>& font);

  // Exact single-precision equality, no tolerance.
  BOOL isMinimum() const { return value() == minimum(); }
  BOOL isMaximum() const { return value() == maximum(); }

  // Reports the current value to the value callback, if one is set, so that an owner that has
  // configured the control sees the starting value.
  void setup();

  // The buttons' touch-up-inside actions ("v@:@"); a direct call behaves as a tap.
  void incrementButtonTapped(const id& sender);
  void decrementButtonTapped(const id& sender);

 private:
  // Each callback copy sits behind a shared pointer so that a call keeps it alive even when the
  // callback replaces or clears itself while it runs.
  using SharedCallback = std::shared_ptr<const Callback>;

  static const Callback& callbackOrEmpty(const SharedCallback& callback);
  static SharedCallback copyOf(const Callback& callback);
  void call(const SharedCallback& callback, float value);

  BOOL hidesDecrementWhenMinimum_ = NO;
  BOOL hidesIncrementWhenMaximum_ = NO;
  float value_ = 0;
  float stepInterval_ = 1;
  float minimum_ = -100;
  float maximum_ = 100;
  Ref<UILabel> countLabel_;
  Ref<UIColor> labelColor_;
  Ref<UIButton> incrementButton_;
  Ref<UIButton> decrementButton_;
  double buttonWidth_ = 50;
  SharedCallback valueChangedCallback_;
  SharedCallback incrementCallback_;
  SharedCallback decrementCallback_;
};
