#include "stepper/ZEBStepper.h"

Class ZEBStepper::objcClass() {
  static Class cls = objc_registerClass("ZEBStepper", UIControl::objcClass(), [](Class c) {
    objc_exposeMethod<&ZEBStepper::initWithCoder>(c, "initWithCoder:");
    objc_exposeMethod<&ZEBStepper::incrementButtonTapped>(c, "incrementButtonTapped:");
    objc_exposeMethod<&ZEBStepper::decrementButtonTapped>(c, "decrementButtonTapped:");
    objc_exposeMethod<&ZEBStepper::value>(c, "value");
    objc_exposeMethod<&ZEBStepper::setValue>(c, "setValue:");
    objc_exposeMethod<&ZEBStepper::setup>(c, "setup");
  });
  return cls;
}

id ZEBStepper::initWithFrame(CGRect frame) {
  id object = UIControl::initWithFrame(frame);
  if (object) commonInit();
  return object;
}

id ZEBStepper::initWithCoder(const id&) {
  id object = UIControl::initWithFrame(CGRectZero);
  if (object) commonInit();
  return object;
}

void ZEBStepper::commonInit() {
  value_ = 0;
  stepInterval_ = 1;
  minimum_ = -100;
  maximum_ = 100;
  hidesDecrementWhenMinimum_ = NO;
  hidesIncrementWhenMaximum_ = NO;
  buttonWidth_ = 50;

  setClipsToBounds(YES);
  setBorderWidth(1);
  setBackgroundColor(UIColor::blackColor()->colorWithAlphaComponent(0.3));

  auto label = alloc<UILabel>();
  label->initWithFrame(CGRectZero);
  setCountLabel(label);
  countLabel()->setTextAlignment(NSTextAlignmentCenter);
  countLabel()->layer()->setBorderWidth(1);
  addSubview(countLabel());

  id target = self();
  setIncrementButton(UIButton::buttonWithType(UIButtonTypeCustom));
  incrementButton()->setTitle(NSStr("+"), UIControlStateNormal);
  incrementButton()->addTarget(target, selector<"incrementButtonTapped:">(),
                               UIControlEventTouchUpInside);
  addSubview(incrementButton());

  setDecrementButton(UIButton::buttonWithType(UIButtonTypeCustom));
  decrementButton()->setTitle(NSStr("-"), UIControlStateNormal);
  decrementButton()->addTarget(target, selector<"decrementButtonTapped:">(),
                               UIControlEventTouchUpInside);
  addSubview(decrementButton());

  auto white = UIColor::whiteColor();
  setBorderColor(white);
  setLabelTextColor(white);
  setButtonTextColor(white, UIControlStateNormal);
  // "Avernir-Roman" is not an installed font: the label keeps the platform's default font.
  setLabelFont(UIFont::fontWithName(NSStr("Avernir-Roman"), 14));
  setButtonFont(UIFont::fontWithName(NSStr("Avenir-Black"), 24));
}

void ZEBStepper::layoutSubviews() {
  CGRect area = bounds();
  double width = area.size.width;
  double height = area.size.height;
  double button = buttonWidth();
  countLabel()->setFrame(CGRectMake(button, 0, width - 2 * button, height));
  incrementButton()->setFrame(CGRectMake(width - button, 0, button, height));
  decrementButton()->setFrame(CGRectMake(0, 0, button, height));
  incrementButton()->setHidden(hidesIncrementWhenMaximum() && isMaximum());
  decrementButton()->setHidden(hidesDecrementWhenMinimum() && isMinimum());
  setCornerRadius(height * 0.5);
}

CGSize ZEBStepper::sizeThatFits(CGSize size) const {
  if (size.width != 0 || size.height != 0) return size;
  CGSize label = countLabel()->sizeThatFits(CGSizeZero);
  return {label.width + 2 * buttonWidth(), label.height};
}

void ZEBStepper::setValue(float value) {
  value_ = value;
  if (hidesDecrementWhenMinimum()) decrementButton()->setHidden(isMinimum());
  if (hidesIncrementWhenMaximum()) incrementButton()->setHidden(isMaximum());
  call(valueChangedCallback_, value_);
}

const ZEBStepper::Callback& ZEBStepper::callbackOrEmpty(const SharedCallback& callback) {
  static const Callback* empty = new Callback;
  return callback ? *callback : *empty;
}

ZEBStepper::SharedCallback ZEBStepper::copyOf(const Callback& callback) {
  if (!callback) return nullptr;
  return std::make_shared<const Callback>(callback);
}

void ZEBStepper::setValueChangedCallback(const Callback& callback) {
  valueChangedCallback_ = copyOf(callback);
}

void ZEBStepper::setIncrementCallback(const Callback& callback) {
  incrementCallback_ = copyOf(callback);
}

void ZEBStepper::setDecrementCallback(const Callback& callback) {
  decrementCallback_ = copyOf(callback);
}

void ZEBStepper::call(const SharedCallback& callback, float value) {
  // A copy of the pointer: the callback may replace the one it was called through.
  if (SharedCallback running = callback) (*running)(selfAs<ZEBStepper>(), value);
}

void ZEBStepper::setBorderColor(const Ref<UIColor>& color) {
  CGColorRef border = color ? color->CGColor() : nullptr;  // a nil colour's CGColor is NULL
  layer()->setBorderColor(border);
  countLabel()->layer()->setBorderColor(border);
}

void ZEBStepper::setBorderWidth(double width) { layer()->setBorderWidth(width); }

void ZEBStepper::setCornerRadius(double radius) { layer()->setCornerRadius(radius); }

void ZEBStepper::setLabelTextColor(const Ref<UIColor>& color) { countLabel()->setTextColor(color); }

void ZEBStepper::setLabelFont(const Ref<UIFont>& font) { countLabel()->setFont(font); }

void ZEBStepper::setButtonTextColor(const Ref<UIColor>& color, UIControlState state) {
  incrementButton()->setTitleColor(color, state);
  decrementButton()->setTitleColor(color, state);
}

void ZEBStepper::setButtonFont(const Ref<UIFont>& font) {
  incrementButton()->titleLabel()->setFont(font);
  decrementButton()->titleLabel()->setFont(font);
}

void ZEBStepper::setup() { call(valueChangedCallback_, value()); }

void ZEBStepper::incrementButtonTapped(const id&) {
  float current = value();
  if (!(current < maximum())) return;
  setValue(stepInterval() + current);
  call(incrementCallback_, value());
}

void ZEBStepper::decrementButtonTapped(const id&) {
  float current = value();
  if (!(current > minimum())) return;
  setValue(current - stepInterval());
  call(decrementCallback_, value());
}
