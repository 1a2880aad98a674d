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
    gesture = alloc<GLPInsideViewGesture>();
    gesture->initWithTarget(nullptr, nullptr);
  }
  Ref<GLPInsideViewGesture> gesture;
};

}  // namespace

TEST_F(SwipeGesture, SeedsBothPositionsAtTouchDownTruncatedAndSaturated) {
  auto window = support::makeWindow(CGRectMake(0, 0, 375, 667));
  auto touch = alloc_init<UITouch>();
  touch->setWindow_(window);
  auto touches = alloc<NSMutableSet>();
  touches->addObject(touch);
  touch->setTapCount_(2);
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

TEST_F(SwipeGesture, RatchetsOneMovementPerQuery) {
  gesture->setPreviousPoint(100);
  gesture->setCurrentPoint(100);
  EXPECT_FALSE(gesture->isCursorMovementLeft());
  EXPECT_FALSE(gesture->isCursorMovementRight());
  gesture->setCurrentPoint(103);
  EXPECT_FALSE(gesture->isCursorMovementRight());
  EXPECT_TRUE(gesture->isCursorMovementLeft());
  EXPECT_FALSE(gesture->isCursorMovementLeft());
  gesture->setCurrentPoint(102);
  EXPECT_TRUE(gesture->isCursorMovementRight());
  EXPECT_FALSE(gesture->isCursorMovementRight());
  gesture->setCurrentPoint(UINT64_MAX);  // unsigned comparison
  EXPECT_TRUE(gesture->isCursorMovementLeft());
}

TEST_F(SwipeGesture, StartedWithholdsTouchesAndResetClearsTheGesture) {
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
}

TEST_F(SwipeGesture, HasSelectionAsksTheKeyboardDelegateUntilItAnswersYes) {
  auto delegate = alloc_init<TestKeyboardDelegate>();
  auto range = alloc_init<TestTextRange>();
  delegate->range = range;
  gesture->setKeyboardDelegate(delegate);
  gesture->setIsCurrentlySelecting(NO);
  EXPECT_FALSE(gesture->hasSelection());  // an empty range
  EXPECT_FALSE(gesture->isCurrentlySelecting());
  range->empty = false;
  EXPECT_TRUE(gesture->hasSelection());
  EXPECT_TRUE(gesture->isCurrentlySelecting());
  range->empty = true;
  EXPECT_TRUE(gesture->hasSelection());  // already selecting: not asked
}
