#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
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

void tap(const Ref<ZEBStepper>& stepper, bool plus, int times = 1) {
  auto button = plus ? stepper->incrementButton() : stepper->decrementButton();
  for (int i = 0; i < times; ++i) button->sendActionsForControlEvents(UIControlEventTouchUpInside);
}

// The callbacks of a stepper as one line, in the order called: "value 1 increment 1 ".
struct Calls {
  std::string line;
  ZEBStepper::Callback recorder(const char* name) {
    return [this, name](const Ref<ZEBStepper>&, float value) { note(name, value); };
  }
  void note(const char* name, float value) {
    std::ostringstream text;
    text << name << ' ' << value << ' ';
    line += text.str();
  }
  void attach(const Ref<ZEBStepper>& stepper) {
    stepper->setValueChangedCallback(recorder("value"));
    stepper->setIncrementCallback(recorder("increment"));
    stepper->setDecrementCallback(recorder("decrement"));
  }
  std::string take() { return std::exchange(line, {}); }
};

// A label whose own fitting size is fixed, to see what the stepper makes of it.
class FixedSizeLabel : public UILabel {
 public:
  CGSize sizeThatFits(CGSize) const override { return {30, 20}; }
};

}  // namespace

// Its own layout pass places "-", the label and "+" side by side (the snapshots show them at the
// overlay's size); here, through the runtime as the platform lays views out, what they cannot.
TEST(ZEBStepper, SubviewsAndTheirFramesFromItsOwnLayoutPass) {
  auto stepper = makeStepper(CGRectMake(0, 0, 80, 30));
  EXPECT_EQ(stepper->subviews(),  // back to front
            (std::vector<Ref<UIView>>{stepper->countLabel(), stepper->incrementButton(),
                                      stepper->decrementButton()}));
  // Narrower than two buttons: the label's negative width is passed on as computed.
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

  // Fitting widens the label by the two buttons only for the zero proposal.
  auto fixed = alloc<FixedSizeLabel>();
  fixed->initWithFrame(CGRectZero);
  stepper->setCountLabel(fixed);
  EXPECT_EQ(stepper->sizeThatFits(CGSizeZero), CGSizeMake(70, 20));
  EXPECT_EQ(stepper->sizeThatFits(CGSizeMake(0, 44)), CGSizeMake(0, 44));
}

TEST(ZEBStepper, TapsStopAtTheLimitsMayOvershootThemOnceAndAlwaysCallBack) {
  auto stepper = makeStepper();
  Calls calls;
  calls.attach(stepper);
  // Only touch-up-inside counts as a tap.
  stepper->incrementButton()->sendActionsForControlEvents(UIControlEventTouchDown |
                                                          UIControlEventTouchUpOutside);
  tap(stepper, true);
  tap(stepper, false, 2);
  EXPECT_EQ(calls.take(), "value 1 increment 1 value 0 decrement 0 value -1 decrement -1 ");

  // At a limit a tap does nothing at all; past it by less than one interval, one tap lands.
  for (float start : {100.0f, 99.5f}) {
    stepper->setValue(start);
    stepper->setValue(-start);
    calls.take();
    tap(stepper, false, 2);
    EXPECT_EQ(stepper->value(), start == 100 ? -100.0f : -100.5f);
    stepper->setValue(start);
    calls.take();
    tap(stepper, true, 2);
    EXPECT_EQ(calls.take(), start == 100 ? "" : "value 100.5 increment 100.5 ");
  }
  EXPECT_EQ(stepper->value(), 100.5f);
  // A NaN value stops both directions; setValue: neither clamps nor compares, nor does setup.
  stepper->setValue(std::nanf(""));
  calls.take();
  tap(stepper, true);
  tap(stepper, false);
  stepper->setValue(150);
  stepper->setValue(150);
  stepper->setup();
  EXPECT_EQ(calls.take(), "value 150 value 150 value 150 ");

  // A value callback that sets the value hands the direction's callback the value it set.
  stepper->setValue(0);
  stepper->setValueChangedCallback([&calls](const Ref<ZEBStepper>& self, float value) {
    calls.note("value", value);
    if (value != 42) self->setValue(42);
  });
  calls.take();
  tap(stepper, true);
  EXPECT_EQ(calls.take(), "value 1 value 42 increment 42 ");

  // Steps are summed in single precision: the tenth 0.1 lands just past 1, and the next is refused.
  stepper->setValueChangedCallback(nullptr);
  stepper->setValue(0);
  stepper->setStepInterval(0.1f);
  stepper->setMaximum(1);
  tap(stepper, true, 11);
  EXPECT_EQ(stepper->value(), std::nextafter(1.0f, 2.0f));
}

TEST(ZEBStepper, HidesFlagsActAtSetValueAndAtLayoutOnly) {
  auto stepper = makeStepper(CGRectMake(0, 0, 200, 40));
  auto plus = stepper->incrementButton();
  stepper->setHidesIncrementWhenMaximum(YES);
  EXPECT_FALSE(plus->isHidden());  // setting the flag changes nothing by itself
  stepper->setValue(99);
  tap(stepper, true);  // a tap that lands exactly on the maximum
  EXPECT_TRUE(plus->isHidden());
  stepper->setHidesIncrementWhenMaximum(NO);
  stepper->setValue(50);
  EXPECT_TRUE(plus->isHidden());  // a flag that is off leaves the hidden state alone...
  layOut(stepper);
  EXPECT_FALSE(plus->isHidden());  // ...until a layout pass shows the button again
  stepper->setHidesDecrementWhenMinimum(YES);
  stepper->setMinimum(50);
  EXPECT_FALSE(
      stepper->decrementButton()->isHidden());  // a new limit waits for setValue: or layout
  layOut(stepper);
  EXPECT_TRUE(stepper->decrementButton()->isHidden());
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
  tap(stepper, true, 2);
  EXPECT_EQ(seen, std::vector<std::string>{name});
  EXPECT_EQ(stepper->value(), 2.0f);
}
