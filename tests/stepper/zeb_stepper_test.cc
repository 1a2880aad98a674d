#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "UIKit/NSLayoutConstraint.h"
#include "stepper/ZEBStepper.h"

namespace {

// The callbacks of a stepper, in the order called: "value 1 increment 1 ".
using Calls = std::string;

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

void note(Calls& calls, const char* name, float value) {
  std::ostringstream text;
  text << name << ' ' << value << ' ';
  calls += text.str();
}

void recordCalls(const Ref<ZEBStepper>& stepper, Calls& calls) {
  auto recorder = [&calls](const char* name) {
    return [&calls, name](const Ref<ZEBStepper>&, float value) { note(calls, name, value); };
  };
  stepper->setValueChangedCallback(recorder("value"));
  stepper->setIncrementCallback(recorder("increment"));
  stepper->setDecrementCallback(recorder("decrement"));
}

// A label whose own fitting size is fixed, to see what the stepper makes of it.
class FixedSizeLabel : public UILabel {
 public:
  CGSize sizeThatFits(CGSize) const override { return {30, 20}; }
};

}  // namespace

TEST(ZEBStepper, SubviewsAndTheirFramesFromItsOwnLayoutPass) {
  auto stepper = makeStepper();
  // Back to front: label, "+", "-"; only touch-up-inside on a button counts as a tap.
  EXPECT_EQ(stepper->subviews(),
            (std::vector<Ref<UIView>>{stepper->countLabel(), stepper->incrementButton(),
                                      stepper->decrementButton()}));
  stepper->incrementButton()->sendActionsForControlEvents(UIControlEventTouchDown |
                                                          UIControlEventTouchUpOutside);
  EXPECT_EQ(stepper->value(), 0.0f);

  // Its own layout pass, through the runtime as the platform lays views out ("-", the label and
  // "+" side by side: the snapshots show them). Narrower than two buttons, the label's negative
  // width is passed on as computed.
  stepper->setFrame(CGRectMake(0, 0, 80, 30));
  stepper->layoutIfNeeded();
  EXPECT_EQ(stepper->layer()->cornerRadius(), 15.0);
  EXPECT_EQ(stepper->countLabel()->frame(), CGRectMake(50, 0, -20, 30));
  EXPECT_EQ(stepper->incrementButton()->frame(), CGRectMake(30, 0, 50, 30));

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
}

TEST(ZEBStepper, SizeThatFitsWidensTheLabelOnlyForTheZeroProposal) {
  auto stepper = makeStepper();
  auto fixed = alloc<FixedSizeLabel>();
  fixed->initWithFrame(CGRectZero);
  stepper->setCountLabel(fixed);
  EXPECT_EQ(stepper->sizeThatFits(CGSizeZero), CGSizeMake(130, 20));
  EXPECT_EQ(stepper->sizeThatFits(CGSizeMake(120, 44)), CGSizeMake(120, 44));
  EXPECT_EQ(stepper->sizeThatFits(CGSizeMake(0, 44)), CGSizeMake(0, 44));
  stepper->setButtonWidth(10);
  EXPECT_EQ(stepper->sizeThatFits(CGSizeZero), CGSizeMake(50, 20));
}

TEST(ZEBStepper, TapsStopAtTheLimitsAndMayOvershootThemOnce) {
  auto stepper = makeStepper();
  Calls calls;
  recordCalls(stepper, calls);
  tapPlus(stepper);
  tapMinus(stepper);
  tapMinus(stepper);
  EXPECT_EQ(calls, "value 1 increment 1 value 0 decrement 0 value -1 decrement -1 ");

  // At a limit a tap does nothing at all; past it by less than one interval, one tap lands.
  for (float start : {100.0f, 99.5f}) {
    stepper->setValue(start);
    calls.clear();
    tapPlus(stepper);
    tapPlus(stepper);
    EXPECT_EQ(stepper->value(), start == 100 ? 100.0f : 100.5f);
    EXPECT_EQ(calls, start == 100 ? "" : "value 100.5 increment 100.5 ");
    stepper->setValue(-start);
    calls.clear();
    tapMinus(stepper);
    tapMinus(stepper);
    EXPECT_EQ(stepper->value(), start == 100 ? -100.0f : -100.5f);
  }

  // A NaN value stops both directions.
  stepper->setValue(std::nanf(""));
  calls.clear();
  tapPlus(stepper);
  tapMinus(stepper);
  EXPECT_TRUE(calls.empty());

  // A value callback that sets the value hands the direction's callback the value it set.
  stepper->setValue(0);
  calls.clear();
  stepper->setValueChangedCallback([&calls](const Ref<ZEBStepper>& self, float value) {
    note(calls, "value", value);
    if (value != 42) self->setValue(42);
  });
  tapPlus(stepper);
  EXPECT_EQ(calls, "value 1 value 42 increment 42 ");
}

TEST(ZEBStepper, StepsAreSummedInSinglePrecision) {
  auto stepper = makeStepper();
  stepper->setStepInterval(0.1f);
  stepper->setMaximum(1);
  for (int i = 0; i < 11; ++i)
    tapPlus(stepper);  // the tenth lands just past 1, the last is refused
  EXPECT_EQ(stepper->value(), std::nextafter(1.0f, 2.0f));
}

TEST(ZEBStepper, HidesFlagsActAtSetValueAndAtLayoutOnly) {
  auto stepper = makeStepper(CGRectMake(0, 0, 200, 40));
  auto plus = stepper->incrementButton();
  stepper->setHidesIncrementWhenMaximum(YES);
  EXPECT_FALSE(plus->isHidden());  // setting the flag changes nothing by itself
  stepper->setValue(99);
  tapPlus(stepper);  // a tap that lands exactly on the maximum
  EXPECT_TRUE(plus->isHidden());
  stepper->setHidesIncrementWhenMaximum(NO);
  stepper->setValue(50);
  EXPECT_TRUE(plus->isHidden());  // a flag that is off leaves the hidden state alone...
  layOut(stepper);
  EXPECT_FALSE(plus->isHidden());  // ...until a layout pass shows the button again

  stepper->setHidesDecrementWhenMinimum(YES);
  stepper->setValue(-99);
  stepper->setMinimum(-99);
  EXPECT_FALSE(
      stepper->decrementButton()->isHidden());  // a new limit waits for setValue: or layout
  layOut(stepper);
  EXPECT_TRUE(stepper->decrementButton()->isHidden());
  EXPECT_FALSE(plus->isHidden());
}

TEST(ZEBStepper, SetValueAlwaysCallsBackAndSetupReportsTheStartingValue) {
  auto stepper = makeStepper();
  stepper->setup();  // no callback: nothing happens
  Calls calls;
  recordCalls(stepper, calls);
  stepper->setValue(150);  // no clamping
  stepper->setValue(150);  // no comparison with the previous value
  stepper->setup();
  EXPECT_EQ(calls, "value 150 value 150 value 150 ");
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

TEST(ZEBStepper, ALabelReplacedLaterTakesTheAppearanceButIsNotASubview) {
  auto stepper = makeStepper();
  auto old = stepper->countLabel();
  auto replacement = alloc_init<UILabel>();
  stepper->setCountLabel(replacement);
  stepper->setLabelTextColor(UIColor::colorWithRed(1, 0, 0, 1));
  stepper->setBorderColor(UIColor::colorWithRed(1, 0, 0, 1));
  EXPECT_EQ(replacement->textColor()->components(), (::CGColor{1, 0, 0, 1}));
  EXPECT_EQ(*replacement->layer()->borderColor(), (::CGColor{1, 0, 0, 1}));
  EXPECT_EQ(old->textColor()->components(), (::CGColor{1, 1, 1, 1}));
  EXPECT_FALSE(replacement->superview());
  EXPECT_EQ(old->superview(), stepper);
}
