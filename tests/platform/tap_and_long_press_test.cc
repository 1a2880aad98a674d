#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

#include "UIKit/UILongPressGestureRecognizer.h"
#include "UIKit/UITapGestureRecognizer.h"
#include "UIKit/UITouchDispatcher.h"
#include "UIKit/UIWindow.h"
#include "dispatch/dispatch.h"

namespace {

std::string journal;

class JournalingView : public UIView {
 public:
  void touchesBegan(const Ref<NSSet>&, const Ref<UIEvent>&) override { journal += "began "; }
  void touchesEnded(const Ref<NSSet>&, const Ref<UIEvent>&) override { journal += "ended "; }
  void touchesCancelled(const Ref<NSSet>&, const Ref<UIEvent>&) override {
    journal += "cancelled ";
  }
};

// A recognizer that begins on its first move: a stand-in for a swipe.
class Mover : public UIGestureRecognizer {
 public:
  void touchesMoved(const Ref<NSSet>&, const Ref<UIEvent>&) override {
    if (state() == UIGestureRecognizerStatePossible) setState(UIGestureRecognizerStateBegan);
  }
  void touchesEnded(const Ref<NSSet>&, const Ref<UIEvent>&) override {
    setState(state() == UIGestureRecognizerStatePossible ? UIGestureRecognizerStateFailed
                                                         : UIGestureRecognizerStateEnded);
  }
};

// The action target and delegate: the action writes the state's number; the delegate's answers
// are set by each test.
class Target : public NSObject {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestTapTarget", NSObject::objcClass(), [](Class c) {
      objc_exposeMethod<&Target::handle>(c, "handle:");
      objc_exposeMethod<&Target::receive>(c, "gestureRecognizer:shouldReceiveTouch:");
      objc_exposeMethod<&Target::shouldBegin>(c, "gestureRecognizerShouldBegin:");
      objc_exposeMethod<&Target::together>(
          c, "gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:");
    });
    return cls;
  }
  void handle(const id& sender) {
    journal += "action:" + std::to_string(objc_cast<UIGestureRecognizer>(sender)->state()) + " ";
  }
  bool receive(const id&, const id&) { return receives; }
  bool shouldBegin(const id&) { return begins; }
  bool together(const id&, const id&) { return simultaneous; }
  bool receives = true, begins = true, simultaneous = false;
};

class TapAndLongPress : public ::testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    window = objc_cast<UIWindow>(alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 400, 400)));
    view = objc_cast<UIView>(alloc<JournalingView>()->initWithFrame(CGRectMake(0, 0, 400, 400)));
    window->addSubview(view);
    target = alloc_init<Target>();
    dispatcher = std::make_unique<UITouchDispatcher>(window);
  }
  void TearDown() override {
    EXPECT_EQ(dispatch_main_queue_pending_count(), 0u) << "a timer left behind";
  }

  template <class R>
  Ref<R> add() {
    auto recognizer = objc_cast<R>(alloc<R>()->initWithTarget(target, selector<"handle:">()));
    recognizer->setDelegate(target);
    view->addGestureRecognizer(recognizer);
    return recognizer;
  }

  void wait(double ms) {
    dispatch_main_clock_advance_to(dispatch_main_clock_now() +
                                   static_cast<dispatch_time_t>(ms * NSEC_PER_MSEC));
  }

  // Plays a row: "d X,Y" down, "m X,Y" move, "u" up, "c" cancel, "w MS" wait; then waits a
  // second for any timer and answers the journal.
  std::string play(const std::string& row) {
    std::istringstream words(row);
    std::string word;
    while (words >> word) {
      if (word == "u") {
        dispatcher->touchesUp();
      } else if (word == "c") {
        dispatcher->touchesCancel();
      } else {
        std::string argument;
        words >> argument;
        if (word == "w") {
          wait(std::stod(argument));
          continue;
        }
        auto comma = argument.find(',');
        CGPoint at{std::stod(argument.substr(0, comma)), std::stod(argument.substr(comma + 1))};
        if (word == "d") dispatcher->touchDown(at);
        if (word == "m") dispatcher->touchMove(at);
      }
    }
    wait(1000);
    return std::exchange(journal, {});
  }

  Ref<UIWindow> window;
  Ref<UIView> view;
  Ref<Target> target;
  std::unique_ptr<UITouchDispatcher> dispatcher;
};

}  // namespace

// Two taps: each held at most 350 ms, the second down at most 350 ms after the first lift, both
// closer than 45 points. Until it decides, the first lift is held from the view.
TEST_F(TapAndLongPress, DoubleTapRecognizesOnlyWithinTheLimitsAndHoldsTheFirstLift) {
  add<UITapGestureRecognizer>()->setNumberOfTapsRequired(2);
  const std::pair<const char*, const char*> rows[] = {
      // Recognized: both taps' touches are cancelled in the view, the held one first.
      {"d 100,100 u w 350 d 100,100 u", "began began action:3 cancelled cancelled "},
      {"d 100,100 w 350 u d 144.9,100 w 350 u", "began began action:3 cancelled cancelled "},
      // Too late: the held lift goes out as the wait ends, and the next tap starts afresh.
      {"d 100,100 u w 351 d 100,100 u", "began ended began ended "},
      // Too far: the held lift goes out before the second touch reaches the view.
      {"d 100,100 u d 145,100 u", "began ended began ended "},
      {"d 100,100 m 100,145 u", "began ended "},
      // Held too long: the tap fails while down, so its lift is not held.
      {"d 100,100 w 351 u", "began ended "},
      {"d 100,100 c", "began cancelled "},
  };
  for (const auto& [row, expected] : rows) {
    SCOPED_TRACE(row);
    EXPECT_EQ(play(row), expected);
  }
}

TEST_F(TapAndLongPress, LongPressBeginsAfterTheDurationStillWithinTheMovement) {
  add<UILongPressGestureRecognizer>();
  const std::pair<const char*, const char*> rows[] = {
      {"d 100,100 w 499 u", "began ended "},
      // Began on the clock: the view's touches are cancelled then; moves change it, however far.
      {"d 100,100 w 500 m 300,300 u", "began action:1 cancelled action:2 action:3 "},
      {"d 100,100 m 109.99,100 w 500 u", "began action:1 cancelled action:3 "},
      {"d 100,100 m 110,100 w 500 u", "began ended "},
      {"d 100,100 w 500 c", "began action:1 cancelled action:4 "},
  };
  for (const auto& [row, expected] : rows) {
    SCOPED_TRACE(row);
    EXPECT_EQ(play(row), expected);
  }
  // A view that leaves its window mid-press cancels it at once, and no timer is left.
  dispatcher->touchDown({100, 100});
  wait(500);
  view->removeFromSuperview();
  EXPECT_EQ(std::exchange(journal, {}), "began action:1 cancelled action:4 ");
  dispatcher->touchesUp();
}

TEST_F(TapAndLongPress, TheFirstToBeginFailsTheOthersUnlessTheDelegateLetsThemRunTogether) {
  auto press = add<UILongPressGestureRecognizer>();
  auto mover = add<Mover>();
  mover->setCancelsTouchesInView(NO);
  EXPECT_EQ(play("d 100,100 m 101,100 w 500 u"), "began action:1 action:3 ended ")
      << "the mover began, so the press failed";
  EXPECT_EQ(play("d 100,100 w 500 m 101,100 u"), "began action:1 cancelled action:2 action:3 ")
      << "the press began, so the mover failed";
  target->simultaneous = true;
  EXPECT_EQ(play("d 100,100 w 500 m 101,100 u"),
            "began action:1 cancelled action:2 action:1 action:3 action:3 ");
  EXPECT_EQ(press->state(), UIGestureRecognizerStatePossible);
}

// The delegate keeps a recognizer off a sequence (its timers too), or fails it as it would begin.
TEST_F(TapAndLongPress, TheDelegateDecidesWhatARecognizerSeesAndWhetherItBegins) {
  add<UILongPressGestureRecognizer>();
  add<UITapGestureRecognizer>()->setNumberOfTapsRequired(2);
  target->receives = false;
  dispatcher->touchDown({100, 100});
  EXPECT_EQ(dispatch_main_queue_pending_count(), 0u);
  EXPECT_EQ(play("u"), "began ended ");
  target->receives = true;
  target->begins = false;
  EXPECT_EQ(play("d 100,100 w 500 u"), "began ended ");
  EXPECT_EQ(play("d 100,100 u d 100,100 u"), "began began ended ended ");
}
