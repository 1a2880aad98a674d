#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Foundation/NSSet.h"
#include "TestSupport.h"
#include "UIKit/UIScreen.h"
#include "gestures/GLPPanGestureRecognizer.h"
#include "gestures/Rounding.h"

namespace {

// Drives the recognizer's callbacks directly, with one or two touches in a window placed 100
// points down the screen, so that window and screen coordinates differ.
class Recognizer : public ::testing::Test {
 protected:
  void SetUp() override {
    window = support::makeWindow(CGRectMake(0, 100, 375, 567));
    for (auto* touch : {&finger, &otherFinger}) {
      *touch = alloc_init<UITouch>();
      (*touch)->setWindow_(window);
    }
    touches = alloc<NSMutableSet>();
    touches->initWithCapacity(2);
    pan = alloc<GLPPanGestureRecognizer>();
    pan->initWithTarget(nullptr, nullptr);
  }

  void put(CGPoint at, NSUInteger taps, bool twoFingers) {
    finger->setTapCount_(taps);
    finger->setLocationInWindow_(at);
    otherFinger->setTapCount_(taps);
    otherFinger->setLocationInWindow_({at.x + 30, at.y});
    touches->removeAllObjects();
    touches->addObject(finger);
    if (twoFingers) touches->addObject(otherFinger);
  }
  void began(CGPoint at, NSUInteger taps = 2, bool twoFingers = false) {
    put(at, taps, twoFingers);
    pan->touchesBegan(touches, nullptr);
  }
  void moved(CGPoint to, bool twoFingers = false) {
    put(to, finger->tapCount(), twoFingers);
    pan->touchesMoved(touches, nullptr);
  }
  // Touch-down at `at`, then past the threshold and on into Changed, back at `at`.
  void intoChanged(CGPoint at) {
    began(at, pan->numberOfTapsRequired() + 1);
    moved({at.x + 150, at.y});
    moved(at);
    ASSERT_EQ(pan->state(), UIGestureRecognizerStateChanged);
  }
  UIGestureRecognizerState stateAfterEnding(UIGestureRecognizerState from, bool cancel) {
    pan->setState(from);
    if (cancel) {
      pan->touchesCancelled(touches, nullptr);
    } else {
      pan->touchesEnded(touches, nullptr);
    }
    return pan->state();
  }

  Ref<UIWindow> window;
  Ref<UITouch> finger, otherFinger;
  Ref<NSMutableSet> touches;
  Ref<GLPPanGestureRecognizer> pan;
};

}  // namespace

TEST_F(Recognizer, StartsWithItsDefaultsAndIsKnownToTheRuntime) {
  EXPECT_FALSE(pan->verticalDirection());
  EXPECT_FALSE(pan->bouncesScale());
  EXPECT_FALSE(pan->pressedLongEnough());
  EXPECT_EQ(pan->numberOfTapsRequired(), 1u);
  EXPECT_EQ(pan->numberOfTouchesRequired(), 1u);
  EXPECT_EQ(pan->minimumPressDuration(), 0.0);
  EXPECT_EQ(pan->activateAfter(), 100.0);
  EXPECT_EQ(pan->scaleFactor(), 1.5);
  EXPECT_EQ(pan->scale(), 1.0);
  EXPECT_EQ(pan->minimumScale(), 1.0);
  EXPECT_EQ(pan->maximumScale(), 1.0);
  EXPECT_EQ(pan->initialScale(), 0.0);
  EXPECT_EQ(pan->initialLocationOnScreen(), CGPointZero);
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);

  Class cls = objc_getClass("GLPPanGestureRecognizer");
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(class_getSuperclass(cls), UIGestureRecognizer::objcClass());
  objc_msgSend(id(pan), selector<"setMinimumPressDuration:">(), 0.25);
  EXPECT_EQ(objc_msgSend<double>(pan, selector<"minimumPressDuration">()), 0.25);
  objc_msgSend(id(pan), selector<"setPressedLongEnough:">(), true);
  EXPECT_TRUE(pan->pressedLongEnough());
  finger->setLocationInWindow_({12, 34});
  EXPECT_EQ(objc_msgSend<double>(pan, selector<"screenLocationXOfTouch:">(), finger), 12.0);
  EXPECT_EQ(objc_msgSend<double>(pan, selector<"screenLocationYOfTouch:">(), finger), 134.0);
}

TEST_F(Recognizer, AcceptsOnlyTheConfiguredTapAndTouchCounts) {
  began({50, 50}, 1);  // a fresh touch: the defaults want the second tap
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateCancelled);

  pan->setState(UIGestureRecognizerStatePossible);
  began({50, 60}, 2);
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  EXPECT_EQ(pan->initialLocationOnScreen(), (CGPoint{50, 160}));  // in screen coordinates
  began({70, 80}, 2);  // another eligible touch-down while Possible replaces the location
  EXPECT_EQ(pan->initialLocationOnScreen(), (CGPoint{70, 180}));
  moved({400, 80}, true);  // two fingers: ignored however far they go
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  moved({400, 80});
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateBegan);
  began({0, 0}, 2);  // a second finger during the gesture
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateCancelled);

  pan->setState(UIGestureRecognizerStatePossible);
  began({50, 50}, 2, true);  // two fingers together
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateCancelled);

  pan->setState(UIGestureRecognizerStatePossible);
  pan->setNumberOfTapsRequired(0);
  began({50, 50}, 1);
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  pan->setNumberOfTouchesRequired(2);
  began({50, 50}, 1, true);
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);

  for (auto state : {UIGestureRecognizerStateChanged, UIGestureRecognizerStateEnded,
                     UIGestureRecognizerStateCancelled}) {
    pan->setState(state);
    began({50, 50}, 1, true);
    EXPECT_EQ(pan->state(), UIGestureRecognizerStateCancelled) << state;
  }
  pan->setState(UIGestureRecognizerStateFailed);
  began({50, 50}, 1, true);
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateFailed);
}

TEST_F(Recognizer, FollowsTheStateTable) {
  // A finished gesture ignores moves.
  for (auto state : {UIGestureRecognizerStateEnded, UIGestureRecognizerStateCancelled,
                     UIGestureRecognizerStateFailed}) {
    began({0, 0});
    pan->setState(state);
    moved({300, 0});
    EXPECT_EQ(pan->state(), state);
    EXPECT_EQ(pan->scale(), 1.0);
    pan->setState(UIGestureRecognizerStatePossible);
  }

  // The first move after Began captures the scale and reports Changed; the scale moves only on
  // the move after that.
  pan->setScale(1.2);
  began({200, 0});
  moved({80, 0});
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateBegan);
  moved({20, 0});
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateChanged);
  EXPECT_EQ(pan->initialScale(), 1.2);
  EXPECT_EQ(pan->scale(), 1.2);
  moved({20, 0});
  EXPECT_DOUBLE_EQ(pan->scale(), 1.2 * (1 + 180.0 / 375 * 0.5));

  // How a gesture ends depends only on the state, not on the touches.
  EXPECT_EQ(stateAfterEnding(UIGestureRecognizerStateBegan, false),
            UIGestureRecognizerStateCancelled);
  EXPECT_EQ(stateAfterEnding(UIGestureRecognizerStateChanged, false),
            UIGestureRecognizerStateEnded);
  EXPECT_EQ(stateAfterEnding(UIGestureRecognizerStatePossible, false),
            UIGestureRecognizerStateFailed);
  EXPECT_EQ(stateAfterEnding(UIGestureRecognizerStateCancelled, false),
            UIGestureRecognizerStateFailed);
  EXPECT_EQ(stateAfterEnding(UIGestureRecognizerStateBegan, true),
            UIGestureRecognizerStateCancelled);
  EXPECT_EQ(stateAfterEnding(UIGestureRecognizerStateChanged, true),
            UIGestureRecognizerStateCancelled);
  EXPECT_EQ(stateAfterEnding(UIGestureRecognizerStatePossible, true),
            UIGestureRecognizerStateFailed);
  EXPECT_EQ(stateAfterEnding(UIGestureRecognizerStateEnded, true), UIGestureRecognizerStateFailed);
}

TEST_F(Recognizer, BeginsOnlyPastTheThresholdInSinglePrecision) {
  began({10, 10});
  moved({110, 10});  // exactly 100
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  moved({110.000003, 10});  // 100 once rounded to a float (its square in double would not be)
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  moved({10, 5000});  // along the other axis: nothing
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  moved({-90.5, 10});  // 100.5 the other way
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateBegan);

  pan->setState(UIGestureRecognizerStatePossible);
  pan->setVerticalDirection(YES);
  began({10, 10});
  moved({500, 10});
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  moved({10, 110.5});
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateBegan);

  // Coordinates no float can hold, or none at all, are travel too far or not at all.
  pan->setState(UIGestureRecognizerStatePossible);
  pan->setVerticalDirection(NO);
  began({10, 10});
  moved({std::numeric_limits<double>::quiet_NaN(), 10});
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  moved({1e300, 10});
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateBegan);
  // Rounded to nearest: up to half a float's step past FLT_MAX is FLT_MAX, from there infinity.
  EXPECT_EQ(glidepad::toSinglePrecision(FLT_MAX + 0x1p102), FLT_MAX);
  EXPECT_EQ(glidepad::toSinglePrecision(-FLT_MAX - 0x1p103), -INFINITY);
}

TEST_F(Recognizer, ScalesWithTheTravelAcrossTheScreen) {
  ASSERT_EQ(UIScreen::mainScreen()->bounds().size.width, 375);
  intoChanged({400, 20});
  moved({25, 20});  // a whole screen width left
  EXPECT_DOUBLE_EQ(pan->scale(), 1.5);
  moved({212.5, 20});
  EXPECT_DOUBLE_EQ(pan->scale(), 1.25);
  moved({775, 20});  // a whole width right
  EXPECT_NEAR(pan->scale(), 0.6667, 1e-4);
  EXPECT_DOUBLE_EQ(pan->scale(), 1 / 1.5);
  moved({400, 20});
  EXPECT_DOUBLE_EQ(pan->scale(), 1.0);

  // Vertical: the screen's height is the length.
  pan->setState(UIGestureRecognizerStatePossible);
  pan->setVerticalDirection(YES);
  pan->setScale(1.0);
  began({20, 700});
  moved({20, 500});
  moved({20, 700});
  moved({20, 33});  // 667 up
  EXPECT_DOUBLE_EQ(pan->scale(), 1.5);

  // A factor of 1 never moves the scale; the rubber band softens it past the limits.
  pan->setVerticalDirection(NO);
  pan->setState(UIGestureRecognizerStatePossible);
  pan->setScaleFactor(1.0);
  pan->setScale(1.0);
  intoChanged({400, 20});
  moved({25, 20});
  EXPECT_EQ(pan->scale(), 1.0);
  pan->setState(UIGestureRecognizerStatePossible);
  pan->setScaleFactor(3.0);
  pan->setMinimumScale(1.0);
  pan->setMaximumScale(2.0);
  pan->setBouncesScale(YES);
  intoChanged({400, 20});
  moved({25, 20});  // 3 unbounded
  EXPECT_DOUBLE_EQ(pan->scale(), 8.0 / 3);

  EXPECT_EQ((pan->setScaleFactor(0.5), pan->scaleFactor()), 1.0);
  EXPECT_EQ((pan->setScaleFactor(std::nan("")), pan->scaleFactor()), 1.0);
  EXPECT_EQ((pan->setScaleFactor(2.0), pan->scaleFactor()), 2.0);
}

TEST_F(Recognizer, RubberBandAndItsInverse) {
  const double inputs[] = {3, 4, 2.5, 1.5, 0.5};
  const double expected[] = {8.0 / 3, 3.0, 2.4, 1.5, 2.0 / 3};
  for (size_t i = 0; i < std::size(inputs); ++i) {
    double banded = pan->zoomRubberBandScaleForZoomScale(inputs[i], 1, 2);
    EXPECT_DOUBLE_EQ(banded, expected[i]) << inputs[i];
    EXPECT_DOUBLE_EQ(pan->zoomScaleForRubberBandScale(banded, 1, 2), inputs[i]) << inputs[i];
  }
  EXPECT_NEAR(pan->zoomRubberBandScaleForZoomScale(1e9, 1, 2), 4.0, 1e-8);
  EXPECT_NEAR(pan->zoomRubberBandScaleForZoomScale(1e-9, 1, 2), 0.5, 1e-8);
  EXPECT_TRUE(std::isnan(pan->zoomRubberBandScaleForZoomScale(std::nan(""), 1, 2)));

  // The inverse squares the maximum in single precision: exact only within that rounding.
  double banded = pan->zoomRubberBandScaleForZoomScale(3, 1, 1.1);
  double back = pan->zoomScaleForRubberBandScale(banded, 1, 1.1);
  EXPECT_NE(back, 3.0);
  EXPECT_NEAR(back, 3.0, 1e-5);
  float maximum = 1.1f;
  EXPECT_EQ(back, static_cast<double>(maximum * maximum) / (2 * 1.1 - banded));
}

TEST_F(Recognizer, ResetClearsTheGestureButKeepsScaleAndConfiguration) {
  pan->setNumberOfTapsRequired(0);
  pan->setActivateAfter(30);
  pan->setPressedLongEnough(YES);
  intoChanged({300, 20});
  moved({100, 20});
  double scale = pan->scale();
  EXPECT_GT(scale, 1.0);
  pan->reset();
  EXPECT_EQ(pan->initialLocationOnScreen(), CGPointZero);
  EXPECT_EQ(pan->initialScale(), 1.0);
  EXPECT_FALSE(pan->pressedLongEnough());
  EXPECT_EQ(pan->scale(), scale);
  EXPECT_EQ(pan->numberOfTapsRequired(), 0u);
  EXPECT_EQ(pan->activateAfter(), 30.0);
}
