#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "Foundation/NSSet.h"
#include "TestSupport.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UITextInput.h"
#include "gestures/GLPInsideViewGesture.h"
#include "gestures/GLPPanGestureRecognizer.h"
#include "gestures/Rounding.h"

namespace {

// A keyboard delegate that is its own selected text range, enough for `hasSelection`.
class TestSelection : public NSObject {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestSelection", NSObject::objcClass(), [](Class c) {
      objc_exposeMethod<&TestSelection::selectedTextRange>(c, "selectedTextRange");
      objc_exposeMethod<&TestSelection::isEmpty>(c, "isEmpty");
    });
    return cls;
  }
  id selectedTextRange() { return self(); }
  bool isEmpty() const { return empty; }
  bool empty = true;
};

// Drives the recognizers' callbacks directly, with one touch in a window placed 100 points down
// the screen, so that window and screen coordinates differ.
class Recognizer : public ::testing::Test {
 protected:
  void SetUp() override {
    window = support::makeWindow(CGRectMake(0, 100, 375, 567));
    finger = alloc_init<UITouch>();
    finger->setWindow_(window);
    touches = alloc<NSMutableSet>();
    touches->initWithCapacity(1);
    touches->addObject(finger);
    pan = alloc<GLPPanGestureRecognizer>();
    pan->initWithTarget(nullptr, nullptr);
    gesture = alloc<GLPInsideViewGesture>();
    gesture->initWithTarget(nullptr, nullptr);
  }
  void began(CGPoint at, NSUInteger taps = 2) {
    pan->setState(UIGestureRecognizerStatePossible);
    finger->setTapCount_(taps);
    finger->setLocationInWindow_(at);
    pan->touchesBegan(touches, nullptr);
  }
  void moved(CGPoint to) {
    finger->setLocationInWindow_(to);
    pan->touchesMoved(touches, nullptr);
  }
  // Touch-down at `at`, then past the threshold and on into Changed, back at `at`.
  void intoChanged(CGPoint at) {
    began(at, pan->numberOfTapsRequired() + 1);
    moved({at.x + 150, at.y});
    moved(at);
    ASSERT_EQ(pan->state(), UIGestureRecognizerStateChanged);
  }

  Ref<UIWindow> window;
  Ref<UITouch> finger;
  Ref<NSMutableSet> touches;
  Ref<GLPPanGestureRecognizer> pan;
  Ref<GLPInsideViewGesture> gesture;  // the swipe recognizer, a subclass
};

}  // namespace

TEST_F(Recognizer, EndsByTheStateTableAndResetKeepsTheScale) {
  struct Row {
    UIGestureRecognizerState from, ended, cancelled;
  };
  const Row rows[] = {
      {UIGestureRecognizerStateBegan, UIGestureRecognizerStateCancelled,
       UIGestureRecognizerStateCancelled},
      {UIGestureRecognizerStateChanged, UIGestureRecognizerStateEnded,
       UIGestureRecognizerStateCancelled},
      {UIGestureRecognizerStatePossible, UIGestureRecognizerStateFailed,
       UIGestureRecognizerStateFailed},
  };
  for (const auto& row : rows) {
    pan->setState(row.from);
    pan->touchesEnded(touches, nullptr);
    EXPECT_EQ(pan->state(), row.ended) << "ended from " << row.from;
    pan->setState(row.from);
    pan->touchesCancelled(touches, nullptr);
    EXPECT_EQ(pan->state(), row.cancelled) << "cancelled from " << row.from;
  }

  // The first move after Began captures the scale; the scale moves only on the move after that.
  pan->setScale(1.2);
  began({200, 0});
  moved({80, 0});
  moved({20, 0});
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateChanged);
  EXPECT_EQ(pan->initialScale(), 1.2);
  EXPECT_EQ(pan->scale(), 1.2);
  moved({20, 0});
  double scale = pan->scale();
  EXPECT_DOUBLE_EQ(scale, 1.2 * (1 + 180.0 / 375 * 0.5));
  pan->reset();
  EXPECT_EQ(pan->initialScale(), 1.0);
  EXPECT_EQ(pan->scale(), scale);
}

// A second finger during a swipe and a tap count of 2 are checked end to end by
// tests/scenarios/fingers.session, the swipe gesture's ratchet (one movement per query, a still
// finger none) by volume.session.
TEST_F(Recognizer, BeginsOnlyPastTheThresholdInSinglePrecision) {
  EXPECT_EQ(pan->scaleFactor(), 1.5);
  began({10, 10}, 1);  // a fresh touch: the defaults want the second tap
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateCancelled);
  auto otherFinger = alloc_init<UITouch>();
  otherFinger->setTapCount_(2);
  touches->addObject(otherFinger);
  began({10, 10});  // two fingers together
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateCancelled);
  touches->removeObject(otherFinger);
  began({10, 10});
  EXPECT_EQ(pan->initialLocationOnScreen(), (CGPoint{10, 110}));  // in screen coordinates
  moved({110, 10});                                               // exactly 100
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  moved({110.000003, 10});  // 100 once rounded to a float (its square in double would not be)
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  moved({10, 5000});  // along the other axis: nothing
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  moved({-90.5, 10});  // 100.5 the other way
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateBegan);
  pan->setVerticalDirection(YES);
  began({10, 10});
  moved({500, 10});
  EXPECT_EQ(pan->state(), UIGestureRecognizerStatePossible);
  moved({10, 110.5});
  EXPECT_EQ(pan->state(), UIGestureRecognizerStateBegan);

  // Rounded to nearest: up to half a float's step past FLT_MAX is FLT_MAX, from there infinity.
  EXPECT_EQ(glidepad::toSinglePrecision(FLT_MAX + 0x1p102), FLT_MAX);
  EXPECT_EQ(glidepad::toSinglePrecision(-FLT_MAX - 0x1p103), -INFINITY);
  EXPECT_EQ(glidepad::toStepPosition(std::nan("")), 0u);
  volatile double top = 0x1p64;  // at run time: a folded constant would hide the conversion
  EXPECT_EQ(glidepad::toStepPosition(top), UINT64_MAX);
  EXPECT_EQ(glidepad::toStepPosition(0x1p63), uint64_t{1} << 63);
}

TEST_F(Recognizer, ScalesWithTheTravelAcrossTheScreen) {
  intoChanged({400, 20});
  moved({25, 20});  // a whole screen width left
  EXPECT_DOUBLE_EQ(pan->scale(), 1.5);
  moved({775, 20});  // a whole width right
  EXPECT_DOUBLE_EQ(pan->scale(), 1 / 1.5);

  // Vertical: the screen's height is the length.
  pan->setVerticalDirection(YES);
  pan->setScale(1.0);
  began({20, 700});
  moved({20, 500});
  moved({20, 700});
  moved({20, 33});  // 667 up
  EXPECT_DOUBLE_EQ(pan->scale(), 1.5);

  // The rubber band softens the scale past the limits.
  pan->setVerticalDirection(NO);
  pan->setScaleFactor(3.0);
  pan->setScale(1.0);
  pan->setMinimumScale(1.0);
  pan->setMaximumScale(2.0);
  pan->setBouncesScale(YES);
  intoChanged({400, 20});
  moved({25, 20});  // 3 unbounded
  EXPECT_DOUBLE_EQ(pan->scale(), 8.0 / 3);
  EXPECT_EQ((pan->setScaleFactor(0.5), pan->scaleFactor()), 1.0);
}

TEST_F(Recognizer, RubberBandAndItsInverse) {
  const double inputs[] = {3, 4, 1.5, 0.5};
  const double expected[] = {8.0 / 3, 3.0, 1.5, 2.0 / 3};
  for (size_t i = 0; i < std::size(inputs); ++i) {
    double banded = pan->zoomRubberBandScaleForZoomScale(inputs[i], 1, 2);
    EXPECT_DOUBLE_EQ(banded, expected[i]) << inputs[i];
    EXPECT_DOUBLE_EQ(pan->zoomScaleForRubberBandScale(banded, 1, 2), inputs[i]) << inputs[i];
  }
  // The inverse squares the maximum in single precision: exact only within that rounding.
  double banded = pan->zoomRubberBandScaleForZoomScale(3, 1, 1.1);
  float maximum = 1.1f;
  EXPECT_EQ(pan->zoomScaleForRubberBandScale(banded, 1, 1.1),
            static_cast<double>(maximum * maximum) / (2 * 1.1 - banded));
}

TEST_F(Recognizer, TheSwipeGestureSeedsBothPositionsAtTouchDownTruncatedAndSaturated) {
  finger->setTapCount_(2);
  struct Row {
    uint64_t speed;
    double scale;
    uint64_t point;
  };
  const Row rows[] = {{300, 1.0, 300}, {5, 1.5, 7}, {1, 1e30, UINT64_MAX}, {1, -2, 0}};
  for (const auto& row : rows) {
    gesture->setGestureSpeed(row.speed);
    gesture->setScale(row.scale);
    gesture->touchesBegan(touches, nullptr);
    EXPECT_EQ(gesture->currentPoint(), row.point) << row.scale;
    EXPECT_EQ(gesture->previousPoint(), row.point) << row.scale;
    EXPECT_EQ(gesture->startedScale(), row.scale * static_cast<double>(row.speed));
  }
}

TEST_F(Recognizer, TheSwipeGestureStartsWithholdingTouchesResetsAndAsksForASelectionOnce) {
  gesture->setCancelsTouchesInView(NO);
  gesture->started();
  EXPECT_TRUE(gesture->isStarted());
  EXPECT_TRUE(gesture->cancelsTouchesInView());
  gesture->setIsStartedFromTop(YES);
  gesture->setCurrentPoint(9);
  gesture->setScale(1.7);
  gesture->reset();
  EXPECT_FALSE(gesture->isStarted());
  EXPECT_FALSE(gesture->isStartedFromTop());
  EXPECT_EQ(gesture->currentPoint(), 0u);
  EXPECT_FALSE(gesture->cancelsTouchesInView());
  EXPECT_EQ(gesture->scale(), 1.0);  // unlike its base

  // `hasSelection` asks the keyboard delegate until it answers yes.
  auto range = alloc_init<TestSelection>();
  gesture->setKeyboardDelegate(range);
  EXPECT_FALSE(gesture->hasSelection());  // an empty range
  EXPECT_FALSE(gesture->isCurrentlySelecting());
  range->empty = false;
  EXPECT_TRUE(gesture->hasSelection());
  EXPECT_TRUE(gesture->isCurrentlySelecting());
  range->empty = true;
  EXPECT_TRUE(gesture->hasSelection());  // already selecting: not asked
}
