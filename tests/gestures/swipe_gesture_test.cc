#include <gtest/gtest.h>

#include "Foundation/NSSet.h"
#include "TestSupport.h"
#include "UIKit/UITextInput.h"
#include "gestures/GLPInsideViewGesture.h"

namespace {

// A text range and a keyboard delegate, enough for `hasSelection`.
class TestTextRange : public NSObject {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestTextRange", NSObject::objcClass(), [](Class c) {
      objc_exposeMethod<&TestTextRange::isEmpty>(c, "isEmpty");
    });
    return cls;
  }
  bool isEmpty() const { return empty; }
  bool empty = true;
};

class TestKeyboardDelegate : public NSObject {
 public:
  static Class objcClass() {
    static Class cls =
        objc_registerClass("TestKeyboardDelegate", NSObject::objcClass(), [](Class c) {
          objc_exposeMethod<&TestKeyboardDelegate::selectedTextRange>(c, "selectedTextRange");
        });
    return cls;
  }
  id selectedTextRange() const { return range; }
  id range;
};

class SwipeGesture : public ::testing::Test {
 protected:
  void SetUp() override {
    window = support::makeWindow(CGRectMake(0, 0, 375, 667));
    touch = alloc_init<UITouch>();
    touch->setWindow_(window);
    touches = alloc<NSMutableSet>();
    touches->addObject(touch);
    gesture = alloc<GLPInsideViewGesture>();
    gesture->initWithTarget(nullptr, nullptr);
  }
  void touchDown(NSUInteger taps) {
    touch->setTapCount_(taps);
    gesture->touchesBegan(touches, nullptr);
  }

  Ref<UIWindow> window;
  Ref<UITouch> touch;
  Ref<NSMutableSet> touches;
  Ref<GLPInsideViewGesture> gesture;
};

}  // namespace

TEST_F(SwipeGesture, SeedsBothPositionsAtTouchDown) {
  Class cls = objc_getClass("GLPInsideViewGesture");
  ASSERT_NE(cls, nullptr);
  EXPECT_EQ(class_getSuperclass(cls), GLPPanGestureRecognizer::objcClass());
  EXPECT_EQ(gesture->currentPoint(), 0u);
  EXPECT_EQ(gesture->gestureSpeed(), 0u);
  EXPECT_FALSE(gesture->isStarted());

  auto delegate = alloc_init<TestKeyboardDelegate>();
  auto layout = alloc_init<NSObject>();
  gesture->setKeyboardDelegate(delegate);
  gesture->setCurrentLayout(layout);
  gesture->reset();
  objc_msgSend(id(gesture), selector<"setGestureSpeed:">(), uint64_t{300});
  touchDown(2);
  EXPECT_EQ(gesture->state(), UIGestureRecognizerStatePossible);
  EXPECT_EQ(gesture->currentPoint(), 300u);
  EXPECT_EQ(gesture->previousPoint(), 300u);
  EXPECT_EQ(gesture->startedScale(), 300.0);

  // Truncated; and seeded also when the base cancels the touch-down (a fresh tap here).
  gesture->setKeyboardDelegate(delegate);
  gesture->setCurrentLayout(layout);
  gesture->setGestureSpeed(5);
  gesture->setScale(1.5);
  touchDown(1);
  EXPECT_EQ(gesture->state(), UIGestureRecognizerStateCancelled);
  EXPECT_EQ(gesture->currentPoint(), 7u);
  EXPECT_EQ(gesture->previousPoint(), 7u);
  EXPECT_EQ(gesture->startedScale(), 7.5);
  EXPECT_EQ(gesture->keyboardDelegate(), nullptr);
  EXPECT_EQ(gesture->currentLayout(), nullptr);

  // Positions past the integer range saturate; none below zero.
  gesture->setScale(1e30);
  touchDown(2);
  EXPECT_EQ(gesture->currentPoint(), UINT64_MAX);
  gesture->setScale(-2);
  touchDown(2);
  EXPECT_EQ(gesture->currentPoint(), 0u);
}

TEST_F(SwipeGesture, RatchetsOneMovementPerQuery) {
  gesture->setPreviousPoint(100);
  gesture->setCurrentPoint(100);
  EXPECT_FALSE(gesture->isCursorMovementLeft());
  EXPECT_FALSE(gesture->isCursorMovementRight());
  gesture->setCurrentPoint(103);
  EXPECT_FALSE(gesture->isCursorMovementRight());
  EXPECT_TRUE(objc_msgSend<bool>(gesture, selector<"isCursorMovementLeft">()));
  EXPECT_EQ(gesture->previousPoint(), 103u);
  EXPECT_FALSE(gesture->isCursorMovementLeft());
  EXPECT_FALSE(gesture->isCursorMovementRight());
  gesture->setCurrentPoint(102);
  EXPECT_FALSE(gesture->isCursorMovementLeft());
  EXPECT_TRUE(gesture->isCursorMovementRight());
  EXPECT_EQ(gesture->previousPoint(), 102u);
  gesture->setCurrentPoint(UINT64_MAX);  // unsigned comparison
  EXPECT_TRUE(gesture->isCursorMovementLeft());
  gesture->setCurrentPoint(0);
  EXPECT_TRUE(gesture->isCursorMovementRight());
}

TEST_F(SwipeGesture, StartedWithholdsTouchesAndResetClearsTheGesture) {
  auto pivot = alloc_init<UITextPosition>();
  auto moving = alloc_init<UITextPosition>();
  gesture->setPivotPoint(pivot);
  gesture->setMovingPosition(moving);
  gesture->setIsCurrentlySelecting(YES);
  gesture->setCancelsTouchesInView(NO);
  gesture->started();
  gesture->started();  // twice is once
  EXPECT_TRUE(gesture->isStarted());
  EXPECT_TRUE(gesture->cancelsTouchesInView());
  EXPECT_EQ(gesture->pivotPoint(), nullptr);
  EXPECT_EQ(gesture->movingPosition(), nullptr);
  EXPECT_FALSE(gesture->isCurrentlySelecting());

  gesture->setIsStartedFromTop(YES);
  gesture->setCurrentPoint(9);
  gesture->setPreviousPoint(8);
  gesture->setStartedScale(4.5);
  gesture->setScale(1.7);
  gesture->setPivotPoint(pivot);
  gesture->setMovingPosition(moving);
  gesture->setIsCurrentlySelecting(YES);
  gesture->setFadeKeyboard(YES);
  gesture->setIsBlacklistedInput(YES);
  gesture->setGestureSpeed(42);
  gesture->reset();
  EXPECT_FALSE(gesture->isStarted());
  EXPECT_FALSE(gesture->isStartedFromTop());
  EXPECT_EQ(gesture->currentPoint(), 0u);
  EXPECT_EQ(gesture->previousPoint(), 0u);
  EXPECT_EQ(gesture->startedScale(), 0.0);
  EXPECT_FALSE(gesture->cancelsTouchesInView());
  EXPECT_EQ(gesture->scale(), 1.0);  // unlike its base
  EXPECT_EQ(gesture->initialScale(), 1.0);
  EXPECT_EQ(gesture->pivotPoint(), nullptr);
  EXPECT_EQ(gesture->movingPosition(), nullptr);
  EXPECT_FALSE(gesture->isCurrentlySelecting());
  // Stored only: reset leaves them.
  EXPECT_TRUE(gesture->fadeKeyboard());
  EXPECT_TRUE(gesture->isBlacklistedInput());
  EXPECT_EQ(gesture->gestureSpeed(), 42u);

  // Unowned: a position that goes away is gone from the gesture too.
  gesture->setPivotPoint(alloc_init<UITextPosition>());
  EXPECT_EQ(gesture->pivotPoint(), nullptr);
}

TEST_F(SwipeGesture, HasSelectionAsksTheKeyboardDelegateUntilItAnswersYes) {
  EXPECT_TRUE(gesture->hasSelection());  // no delegate: the range does not count as empty
  EXPECT_TRUE(gesture->isCurrentlySelecting());
  auto delegate = alloc_init<TestKeyboardDelegate>();
  auto range = alloc_init<TestTextRange>();
  delegate->range = range;
  gesture->setKeyboardDelegate(delegate);
  EXPECT_TRUE(gesture->hasSelection());  // already selecting: not asked

  gesture->setIsCurrentlySelecting(NO);
  EXPECT_FALSE(gesture->hasSelection());  // an empty range
  EXPECT_FALSE(gesture->isCurrentlySelecting());
  range->empty = false;
  EXPECT_TRUE(gesture->hasSelection());
  gesture->setIsCurrentlySelecting(NO);
  delegate->range = nullptr;
  EXPECT_TRUE(gesture->hasSelection());
}
