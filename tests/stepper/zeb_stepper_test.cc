#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "UIKit/NSLayoutConstraint.h"
#include "stepper/ZEBStepper.h"

namespace {

Ref<ZEBStepper> makeStepper(CGRect frame = CGRectZero) {
  return objc_cast<ZEBStepper>(alloc<ZEBStepper>()->initWithFrame(frame));
}

void layOut(const Ref<UIView>& view) {
  view->setNeedsLayout();
  view->layoutIfNeeded();
}

void tapPlus(const Ref<ZEBStepper>& stepper) {
  stepper->incrementButton()->sendActionsForControlEvents(UIControlEventTouchUpInside);
}
void tapMinus(const Ref<ZEBStepper>& stepper) {
  stepper->decrementButton()->sendActionsForControlEvents(UIControlEventTouchUpInside);
}

::CGColor components(const CGColorRef& color) { return color ? *color : ::CGColor{-1, -1, -1, -1}; }
const ::CGColor kWhite{1, 1, 1, 1};
const ::CGColor kRed{1, 0, 0, 1};

std::string fontOf(const Ref<UILabel>& label) {
  auto font = label->font();
  return font->fontName()->string() + "/" + std::to_string(font->pointSize());
}

// Records the callbacks of one stepper, in the order they are called, with their values.
struct CallLog {
  std::vector<std::pair<std::string, float>> calls;
  ZEBStepper::Callback recorder(std::string name) {
    return [this, name](const Ref<ZEBStepper>&, float value) { calls.emplace_back(name, value); };
  }
  void attach(const Ref<ZEBStepper>& stepper) {
    stepper->setValueChangedCallback(recorder("value"));
    stepper->setIncrementCallback(recorder("increment"));
    stepper->setDecrementCallback(recorder("decrement"));
  }
};

using Calls = std::vector<std::pair<std::string, float>>;

// A label whose own fitting size is fixed, to see what the stepper makes of it.
class FixedSizeLabel : public UILabel {
 public:
  CGSize sizeThatFits(CGSize) const override { return {30, 20}; }
};

}  // namespace

TEST(ZEBStepper, ConstructionDefaultsSubviewsAndAppearance) {
  auto stepper = makeStepper();
  ASSERT_TRUE(stepper);
  EXPECT_EQ(object_getClass(stepper), objc_getClass("ZEBStepper"));
  EXPECT_EQ(stepper->value(), 0.0f);
  EXPECT_EQ(stepper->stepInterval(), 1.0f);
  EXPECT_EQ(stepper->minimum(), -100.0f);
  EXPECT_EQ(stepper->maximum(), 100.0f);
  EXPECT_EQ(stepper->buttonWidth(), 50.0);
  EXPECT_FALSE(stepper->hidesDecrementWhenMinimum());
  EXPECT_FALSE(stepper->hidesIncrementWhenMaximum());
  EXPECT_FALSE(stepper->labelColor());
  EXPECT_FALSE(stepper->valueChangedCallback());
  EXPECT_FALSE(stepper->incrementCallback());
  EXPECT_FALSE(stepper->decrementCallback());

  // Back to front: label, "+", "-"; frames stay empty until the first layout pass.
  auto label = stepper->countLabel();
  auto plus = stepper->incrementButton();
  auto minus = stepper->decrementButton();
  ASSERT_EQ(stepper->subviews().size(), 3u);
  EXPECT_EQ(stepper->subviews()[0], label);
  EXPECT_EQ(stepper->subviews()[1], plus);
  EXPECT_EQ(stepper->subviews()[2], minus);
  for (const auto& view : stepper->subviews()) EXPECT_EQ(view->frame(), CGRectZero);

  // A translucent black strip with a white 1-point border, clipped.
  EXPECT_TRUE(stepper->clipsToBounds());
  EXPECT_EQ(stepper->backgroundColor()->components(), (::CGColor{0, 0, 0, 0.3}));
  EXPECT_EQ(stepper->layer()->borderWidth(), 1.0);
  EXPECT_EQ(components(stepper->layer()->borderColor()), kWhite);

  // The label: empty, centred, white text, a white 1-point border, and the default font since
  // its font name is not installed.
  EXPECT_TRUE(!label->text() || label->text()->length() == 0);
  EXPECT_EQ(label->textAlignment(), NSTextAlignmentCenter);
  EXPECT_EQ(label->textColor()->components(), kWhite);
  EXPECT_EQ(label->layer()->borderWidth(), 1.0);
  EXPECT_EQ(components(label->layer()->borderColor()), kWhite);
  EXPECT_EQ(fontOf(label), ".SFUI-Regular/" + std::to_string(17.0));

  for (const auto& [button, title] : {std::pair{plus, "+"}, std::pair{minus, "-"}}) {
    EXPECT_EQ(button->buttonType(), UIButtonTypeCustom);
    EXPECT_EQ(button->titleForState(UIControlStateNormal)->string(), title);
    EXPECT_EQ(button->titleColorForState(UIControlStateNormal)->components(), kWhite);
    EXPECT_EQ(fontOf(button->titleLabel()), "Avenir-Black/" + std::to_string(24.0));
    EXPECT_FALSE(button->isHidden());
  }

  // Only touch-up-inside on the buttons reaches the taps.
  plus->sendActionsForControlEvents(UIControlEventTouchDown | UIControlEventTouchUpOutside);
  EXPECT_EQ(stepper->value(), 0.0f);
  tapPlus(stepper);
  EXPECT_EQ(stepper->value(), 1.0f);
  tapMinus(stepper);
  tapMinus(stepper);
  EXPECT_EQ(stepper->value(), -1.0f);

  // The coder initialiser builds the same control, with the zero frame.
  auto decoded = objc_cast<ZEBStepper>(
      objc_msgSend<id>(alloc<ZEBStepper>(), selector<"initWithCoder:">(), alloc_init<NSObject>()));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->frame(), CGRectZero);
  EXPECT_EQ(decoded->subviews().size(), 3u);
  EXPECT_EQ(decoded->maximum(), 100.0f);
  EXPECT_EQ(decoded->layer()->borderWidth(), 1.0);
}

TEST(ZEBStepper, LayoutFramesWithoutTheBaseLayoutPass) {
  auto stepper = makeStepper(CGRectMake(10, 20, 200, 40));
  stepper->layoutIfNeeded();  // through the runtime, as the platform lays views out
  EXPECT_EQ(stepper->decrementButton()->frame(), CGRectMake(0, 0, 50, 40));
  EXPECT_EQ(stepper->countLabel()->frame(), CGRectMake(50, 0, 100, 40));
  EXPECT_EQ(stepper->incrementButton()->frame(), CGRectMake(150, 0, 50, 40));
  EXPECT_EQ(stepper->layer()->cornerRadius(), 20.0);

  // Narrower than two buttons: the label's negative width is passed on as computed.
  stepper->setFrame(CGRectMake(0, 0, 80, 30));
  stepper->layoutIfNeeded();
  EXPECT_EQ(stepper->countLabel()->frame(), CGRectMake(50, 0, -20, 30));
  EXPECT_EQ(stepper->incrementButton()->frame(), CGRectMake(30, 0, 50, 30));
  EXPECT_EQ(stepper->decrementButton()->frame(), CGRectMake(0, 0, 50, 30));
  EXPECT_EQ(stepper->layer()->cornerRadius(), 15.0);

  // A new button width waits for the next pass.
  stepper->setButtonWidth(20);
  EXPECT_EQ(stepper->incrementButton()->frame(), CGRectMake(30, 0, 50, 30));
  layOut(stepper);
  EXPECT_EQ(stepper->countLabel()->frame(), CGRectMake(20, 0, 40, 30));
  EXPECT_EQ(stepper->incrementButton()->frame(), CGRectMake(60, 0, 20, 30));

  // The base pass, which would apply constraints the stepper holds, is not run.
  auto extra = alloc_init<UIView>();
  stepper->addSubview(extra);
  extra->setTranslatesAutoresizingMaskIntoConstraints(NO);
  stepper->addConstraint(
      NSLayoutConstraint::constraintWithItem(extra, NSLayoutAttributeWidth, NSLayoutRelationEqual,
                                             nullptr, NSLayoutAttributeNotAnAttribute, 1, 33));
  layOut(stepper);
  EXPECT_EQ(extra->frame().size.width, 0.0);

  // A layout pass shows buttons that were hidden while the hides flags are off.
  stepper->incrementButton()->setHidden(YES);
  stepper->decrementButton()->setHidden(YES);
  layOut(stepper);
  EXPECT_FALSE(stepper->incrementButton()->isHidden());
  EXPECT_FALSE(stepper->decrementButton()->isHidden());
}

TEST(ZEBStepper, SizeThatFitsWidensTheLabelOnlyForTheZeroProposal) {
  auto stepper = makeStepper();
  auto fixed = alloc<FixedSizeLabel>();
  fixed->initWithFrame(CGRectZero);
  stepper->setCountLabel(fixed);
  EXPECT_EQ(stepper->sizeThatFits(CGSizeZero), CGSizeMake(130, 20));
  EXPECT_EQ(stepper->sizeThatFits(CGSizeMake(120, 44)), CGSizeMake(120, 44));
  EXPECT_EQ(stepper->sizeThatFits(CGSizeMake(0, 44)), CGSizeMake(0, 44));
  EXPECT_EQ(stepper->sizeThatFits(CGSizeMake(-1, 0)), CGSizeMake(-1, 0));
  stepper->setButtonWidth(10);
  EXPECT_EQ(stepper->sizeThatFits(CGSizeZero), CGSizeMake(50, 20));

  // With the platform's label metric: "Normal" in the 17-point default font.
  auto plain = makeStepper();
  plain->countLabel()->setText(NSStr("Normal"));
  CGSize fits = plain->sizeThatFits(CGSizeZero);
  EXPECT_DOUBLE_EQ(fits.width, 6 * 0.6 * 17 + 100);
  EXPECT_DOUBLE_EQ(fits.height, 1.2 * 17);
}

TEST(ZEBStepper, TapsStopAtTheLimitsAndMayOvershootThemOnce) {
  auto stepper = makeStepper();
  CallLog log;
  log.attach(stepper);

  stepper->setValue(100);
  log.calls.clear();
  tapPlus(stepper);
  EXPECT_EQ(stepper->value(), 100.0f);
  EXPECT_TRUE(log.calls.empty());

  stepper->setValue(-100);
  log.calls.clear();
  tapMinus(stepper);
  EXPECT_EQ(stepper->value(), -100.0f);
  EXPECT_TRUE(log.calls.empty());

  // Past the maximum by less than one interval: the value callback first, then the direction's.
  stepper->setHidesIncrementWhenMaximum(YES);
  stepper->setValue(99.5f);
  log.calls.clear();
  tapPlus(stepper);
  EXPECT_EQ(log.calls, (Calls{{"value", 100.5f}, {"increment", 100.5f}}));
  EXPECT_FALSE(stepper->incrementButton()->isHidden());  // 100.5 is not the maximum
  log.calls.clear();
  tapPlus(stepper);
  EXPECT_TRUE(log.calls.empty());
  EXPECT_EQ(stepper->value(), 100.5f);

  stepper->setValue(-99.5f);
  log.calls.clear();
  tapMinus(stepper);
  tapMinus(stepper);
  EXPECT_EQ(log.calls, (Calls{{"value", -100.5f}, {"decrement", -100.5f}}));

  // A NaN on either side stops both directions.
  stepper->setValue(std::nanf(""));
  log.calls.clear();
  tapPlus(stepper);
  tapMinus(stepper);
  EXPECT_TRUE(log.calls.empty());
  stepper->setValue(0);
  stepper->setMaximum(std::nanf(""));
  log.calls.clear();
  tapPlus(stepper);
  EXPECT_TRUE(log.calls.empty());
  tapMinus(stepper);
  EXPECT_EQ(log.calls, (Calls{{"value", -1.0f}, {"decrement", -1.0f}}));

  // A value callback that sets the value hands the direction's callback the value it set.
  stepper->setMaximum(100);
  stepper->setValue(0);
  log.calls.clear();
  stepper->setValueChangedCallback([&log](const Ref<ZEBStepper>& self, float value) {
    log.calls.emplace_back("value", value);
    if (value != 42) self->setValue(42);
  });
  tapPlus(stepper);
  EXPECT_EQ(log.calls, (Calls{{"value", 1.0f}, {"value", 42.0f}, {"increment", 42.0f}}));

  // Callbacks are looked up at every tap: a cleared one is skipped.
  stepper->setValueChangedCallback(nullptr);
  stepper->setIncrementCallback(nullptr);
  log.calls.clear();
  tapPlus(stepper);
  EXPECT_EQ(stepper->value(), 43.0f);
  EXPECT_TRUE(log.calls.empty());
}

TEST(ZEBStepper, StepsAreSummedInSinglePrecision) {
  auto stepper = makeStepper();
  CallLog log;
  log.attach(stepper);
  stepper->setStepInterval(0.1f);
  stepper->setMaximum(1);
  for (int i = 0; i < 10; ++i) tapPlus(stepper);
  EXPECT_EQ(stepper->value(), std::nextafter(1.0f, 2.0f));
  EXPECT_FALSE(stepper->isMaximum());
  ASSERT_EQ(log.calls.size(), 20u);
  EXPECT_EQ(log.calls.back(), (std::pair<std::string, float>{"increment", stepper->value()}));
  tapPlus(stepper);
  EXPECT_EQ(log.calls.size(), 20u);
}

TEST(ZEBStepper, HidesFlagsActAtSetValueAndAtLayoutOnly) {
  auto stepper = makeStepper(CGRectMake(0, 0, 200, 40));
  stepper->layoutIfNeeded();
  auto plus = stepper->incrementButton();
  auto minus = stepper->decrementButton();

  stepper->setHidesIncrementWhenMaximum(YES);
  EXPECT_FALSE(plus->isHidden());  // setting the flag changes nothing by itself
  stepper->setValue(100);
  EXPECT_TRUE(plus->isHidden());
  stepper->setValue(99);
  EXPECT_FALSE(plus->isHidden());
  tapPlus(stepper);  // a tap that lands exactly on the maximum
  EXPECT_TRUE(plus->isHidden());
  layOut(stepper);
  EXPECT_TRUE(plus->isHidden());
  stepper->setHidesIncrementWhenMaximum(NO);
  EXPECT_TRUE(plus->isHidden());  // until the next layout pass
  stepper->setValue(100);
  EXPECT_TRUE(plus->isHidden());  // a flag that is off leaves the hidden state alone
  layOut(stepper);
  EXPECT_FALSE(plus->isHidden());

  stepper->setHidesDecrementWhenMinimum(YES);
  stepper->setValue(-100);
  EXPECT_TRUE(minus->isHidden());
  EXPECT_FALSE(plus->isHidden());
  stepper->setValue(-99);
  EXPECT_FALSE(minus->isHidden());
  stepper->setMinimum(-99);
  EXPECT_FALSE(minus->isHidden());  // a new limit is seen at the next setValue: or layout
  layOut(stepper);
  EXPECT_TRUE(minus->isHidden());
  EXPECT_TRUE(stepper->isMinimum());
}

TEST(ZEBStepper, SetValueAlwaysCallsBackAndSetupReportsTheStartingValue) {
  auto stepper = makeStepper();
  stepper->setup();  // no callback: nothing happens
  EXPECT_EQ(stepper->value(), 0.0f);

  CallLog log;
  log.attach(stepper);
  stepper->setValue(150);  // no clamping
  stepper->setValue(150);  // no comparison with the previous value
  EXPECT_EQ(stepper->value(), 150.0f);
  EXPECT_EQ(log.calls, (Calls{{"value", 150.0f}, {"value", 150.0f}}));

  log.calls.clear();
  stepper->setup();
  EXPECT_EQ(log.calls, (Calls{{"value", 150.0f}}));

  // The stepper holds its own copy: changing the caller's callable afterwards changes nothing.
  std::vector<float> first;
  std::vector<float> second;
  ZEBStepper::Callback callback = [&first](const Ref<ZEBStepper>&, float v) { first.push_back(v); };
  stepper->setValueChangedCallback(callback);
  callback = [&second](const Ref<ZEBStepper>&, float v) { second.push_back(v); };
  stepper->setValue(3);
  EXPECT_EQ(first, std::vector<float>{3});
  EXPECT_TRUE(second.empty());
}

TEST(ZEBStepper, ACallbackMayReplaceItselfWhileItRuns) {
  auto stepper = makeStepper();
  std::vector<std::string> seen;
  // The capture lives on the heap; running on after the stepper dropped it would read freed memory.
  std::string name(64, 'x');
  stepper->setIncrementCallback([&seen, name](const Ref<ZEBStepper>& self, float) {
    self->setIncrementCallback(nullptr);
    seen.push_back(name);
  });
  tapPlus(stepper);
  tapPlus(stepper);
  EXPECT_EQ(seen, std::vector<std::string>{name});
  EXPECT_EQ(stepper->value(), 2.0f);
}

TEST(ZEBStepper, AppearanceIsForwardedToLayersAndSubviews) {
  auto stepper = makeStepper();
  auto red = UIColor::colorWithRed(1, 0, 0, 1);

  stepper->setBorderWidth(3);
  EXPECT_EQ(stepper->layer()->borderWidth(), 3.0);
  EXPECT_EQ(stepper->countLabel()->layer()->borderWidth(), 1.0);
  stepper->setBorderColor(red);
  EXPECT_EQ(components(stepper->layer()->borderColor()), kRed);
  EXPECT_EQ(components(stepper->countLabel()->layer()->borderColor()), kRed);
  stepper->setCornerRadius(7);
  EXPECT_EQ(stepper->layer()->cornerRadius(), 7.0);
  EXPECT_EQ(stepper->countLabel()->layer()->cornerRadius(), 0.0);

  stepper->setLabelColor(red);  // stored only
  EXPECT_EQ(stepper->labelColor(), red);
  EXPECT_EQ(stepper->countLabel()->textColor()->components(), kWhite);
  stepper->setLabelTextColor(red);
  EXPECT_EQ(stepper->countLabel()->textColor()->components(), kRed);
  stepper->setLabelFont(UIFont::fontWithName(NSStr("Helvetica"), 11));
  EXPECT_EQ(fontOf(stepper->countLabel()), "Helvetica/" + std::to_string(11.0));

  stepper->setButtonTextColor(red, UIControlStateHighlighted);
  stepper->setButtonFont(UIFont::fontWithName(NSStr("Avenir-Heavy"), 10));
  for (const auto& button : {stepper->incrementButton(), stepper->decrementButton()}) {
    EXPECT_EQ(button->titleColorForState(UIControlStateHighlighted)->components(), kRed);
    EXPECT_EQ(button->titleColorForState(UIControlStateNormal)->components(), kWhite);
    EXPECT_EQ(fontOf(button->titleLabel()), "Avenir-Heavy/" + std::to_string(10.0));
  }

  // A replaced label receives the appearance from then on, but is not made a subview.
  auto old = stepper->countLabel();
  auto replacement = alloc_init<UILabel>();
  stepper->setCountLabel(replacement);
  stepper->setLabelTextColor(UIColor::blackColor());
  EXPECT_EQ(replacement->textColor()->components(), (::CGColor{0, 0, 0, 1}));
  EXPECT_EQ(old->textColor()->components(), kRed);
  EXPECT_FALSE(replacement->superview());
  EXPECT_EQ(old->superview(), stepper);
}
