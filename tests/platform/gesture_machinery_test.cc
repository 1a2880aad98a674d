#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "Foundation/NSSet.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UITouchDispatcher.h"
#include "UIKit/UIWindow.h"

namespace {

// Every callback of the recognizers, views and action target, each word followed by a space.
std::string journal;

// Writes each touch callback to the journal under its name. It keeps its base's runtime class:
// the machinery calls touch callbacks in C++.
template <class Base>
class Journaling : public Base {
 public:
  std::string name;
  void touchesBegan(const Ref<NSSet>&, const Ref<UIEvent>&) override { note("began"); }
  void touchesMoved(const Ref<NSSet>&, const Ref<UIEvent>&) override { note("moved"); }
  void touchesEnded(const Ref<NSSet>&, const Ref<UIEvent>&) override { note("ended"); }
  void touchesCancelled(const Ref<NSSet>&, const Ref<UIEvent>&) override { note("cancelled"); }

 protected:
  virtual void note(const char* phase) { journal += name + ":" + phase + " "; }
};

// A recognizer that, at its n-th touch callback of a sequence, reports the state numbered by the
// n-th digit of `reports` (1 began, 2 changed, 3 ended, 4 cancelled, 5 failed); '.' reports none.
class ScriptedRecognizer : public Journaling<UIGestureRecognizer> {
 public:
  std::string reports;
  void reset() override {
    UIGestureRecognizer::reset();
    journal += name + ":reset ";
    calls_ = 0;
  }

 private:
  void note(const char* phase) override {
    Journaling::note(phase);
    char report = calls_ < reports.size() ? reports[calls_] : '.';
    ++calls_;
    if (report != '.') setState(static_cast<UIGestureRecognizerState>(report - '0'));
  }
  size_t calls_ = 0;
};

class ActionTarget : public NSObject {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestActionTarget", NSObject::objcClass(), [](Class c) {
      objc_exposeMethod<&ActionTarget::handle>(c, "handle:");
      objc_exposeMethod<&ActionTarget::together>(
          c, "gestureRecognizer:shouldRecognizeSimultaneouslyWithGestureRecognizer:");
    });
    return cls;
  }
  // The rows below follow one recognizer at a time, so by default they all run together.
  bool allowTogether = true;
  bool together(const id&, const id&) { return allowTogether; }
  void handle(const id& sender) {
    journal += "action:" + std::to_string(objc_cast<UIGestureRecognizer>(sender)->state()) + " ";
  }
};

using RecordingView = Journaling<UIView>;

class GestureMachinery : public ::testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    window = objc_cast<UIWindow>(alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 400, 400)));
    view = objc_cast<RecordingView>(
        alloc<RecordingView>()->initWithFrame(CGRectMake(100, 100, 200, 200)));
    view->name = "view";
    window->addSubview(view);
    target = alloc_init<ActionTarget>();
    recognizer = addRecognizer(view, "r");
    dispatcher = std::make_unique<UITouchDispatcher>(window);
  }

  // Moves the touch to each point, lifts it, and answers the journal, clearing it.
  std::string finish(std::initializer_list<CGPoint> moves) {
    for (CGPoint to : moves) dispatcher->touchMove(to);
    dispatcher->touchesUp();
    return std::exchange(journal, {});
  }

  Ref<ScriptedRecognizer> addRecognizer(const Ref<UIView>& to, const std::string& name) {
    auto added = alloc<ScriptedRecognizer>();
    added->initWithTarget(target, selector<"handle:">());
    added->name = name;
    added->setDelegate(target);
    // These recognizers stay Possible at a lift, so delaying would hold the lift for good.
    added->setDelaysTouchesEnded(NO);
    to->addGestureRecognizer(added);
    return added;
  }

  Ref<UIWindow> window;
  Ref<RecordingView> view;
  Ref<ActionTarget> target;
  Ref<ScriptedRecognizer> recognizer;
  std::unique_ptr<UITouchDispatcher> dispatcher;
};

}  // namespace

// One sequence a row, in order on one recognizer: a touch down at (150, 150), then each event
// of `touches`: m a move 10 points right, u up, c cancelled.
TEST_F(GestureMachinery, SendsTheActionAsStatesAreReportedAndWithholdsTouchesOnceUnderWay) {
  ASSERT_TRUE(recognizer->cancelsTouchesInView());  // the device's default
  // Rows: the touches, the reports, whether the recognizer cancels the view's touches, the journal.
  const std::tuple<const char*, const char*, bool, const char*> rows[] = {
      // Began goes to the view; the next event, while Began, is withheld and the view cancelled.
      {"mmmu", ".1223", true,
       "r:began view:began r:moved action:1 view:moved r:moved action:2 view:cancelled r:moved "
       "action:2 r:ended action:3 r:reset "},
      // Failed sends nothing, withholds nothing, and ends the recognizer's part.
      {"mu", "5", true, "r:began view:began view:moved view:ended r:reset "},
      // Changed is sent after every event that leaves it Changed, reported again or not.
      {"mmmu", ".12.3", false,
       "r:began view:began r:moved action:1 view:moved r:moved action:2 view:moved r:moved "
       "action:2 view:moved r:ended action:3 view:ended r:reset "},
      // Cancelled reported while Possible becomes the state and is sent.
      {"c", "4", false, "r:began action:4 view:began view:cancelled r:reset "},
      // Still under way when the sequence ends: cancelled by the machinery.
      {"mu", ".1.", false,
       "r:began view:began r:moved action:1 view:moved r:ended view:ended action:4 r:reset "},
  };
  for (const auto& [touches, reports, cancelsTouches, expected] : rows) {
    SCOPED_TRACE(reports);
    recognizer->reports = reports;
    recognizer->setCancelsTouchesInView(cancelsTouches);
    CGPoint at{150, 150};
    dispatcher->touchDown(at);
    for (const char* event = touches; *event; ++event) {
      if (*event == 'm') dispatcher->touchMove(at = {at.x + 10, at.y});
      if (*event == 'u') dispatcher->touchesUp();
      if (*event == 'c') dispatcher->touchesCancel();
    }
    EXPECT_EQ(std::exchange(journal, {}), expected);
    EXPECT_EQ(recognizer->state(), UIGestureRecognizerStatePossible);
  }
  // Outside a touch event a report only becomes the state.
  recognizer->setState(UIGestureRecognizerStateEnded);
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateEnded);
  EXPECT_EQ(journal, "");
}

TEST_F(GestureMachinery, DeliversToRecognizersNearestFirstAndKeepsTheTouchedView) {
  auto child =
      objc_cast<RecordingView>(alloc<RecordingView>()->initWithFrame(CGRectMake(10, 10, 50, 50)));
  child->name = "child";
  view->addSubview(child);
  for (auto& r : {addRecognizer(child, "c1"), addRecognizer(child, "c2"),
                  addRecognizer(window, "w"), recognizer}) {
    r->setCancelsTouchesInView(NO);
  }
  dispatcher->touchDown({120, 120});  // inside the child
  EXPECT_EQ(dispatcher->touchedView(), child);
  // Far outside it: still the child's touch.
  EXPECT_EQ(finish({{390, 390}}),
            "c1:began c2:began r:began w:began child:began c1:moved c2:moved r:moved w:moved "
            "child:moved c1:ended c2:ended r:ended w:ended child:ended ");

  // A touch outside every view but the window touches the window, and a recognizer added during
  // a sequence joins only the next one.
  dispatcher->touchDown({20, 20});
  EXPECT_EQ(dispatcher->touchedView(), window);
  addRecognizer(window, "late");
  EXPECT_EQ(finish({}), "w:began w:ended ");
}

TEST_F(GestureMachinery, BadCoordinatesHitNothingAndLocationsAreTheTouchesCentroid) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  for (CGPoint bad : {CGPoint{kNaN, 150}, CGPoint{150, kInf}, CGPoint{-kInf, -kInf},
                      CGPoint{1e300, 150}, CGPoint{-1e308, 1e308}}) {
    dispatcher->touchDown(bad);
    EXPECT_EQ(dispatcher->touchedView(), nullptr);
    EXPECT_EQ(finish({{150, 150}}), "");
  }
  // Within a sequence bad coordinates are delivered as they are.
  recognizer->setCancelsTouchesInView(NO);
  dispatcher->touchDown({150, 150});
  dispatcher->touchMove({kNaN, kInf});
  EXPECT_TRUE(std::isnan(recognizer->locationInView(nullptr).x));
  dispatcher->touchesUp();

  // Two fingers: the centroid, in the window's or a view's coordinates; a down while a finger is
  // down adds a finger, and moves go to the fingers in the order they touched down.
  journal.clear();
  dispatcher->touchDown({110, 110});
  CGPoint second[] = {{130, 150}};
  dispatcher->touchesDown(second);
  EXPECT_EQ(dispatcher->fingerCount(), 2u);
  EXPECT_EQ(recognizer->locationInView(nullptr), (CGPoint{120, 130}));
  EXPECT_EQ(recognizer->locationInView(view), (CGPoint{20, 30}));
  CGPoint onlyFirst[] = {{120, 100}};
  dispatcher->touchesMove(onlyFirst);
  EXPECT_EQ(recognizer->locationInView(nullptr), (CGPoint{125, 125}));
  EXPECT_EQ(finish({}),
            "r:began view:began r:began view:began r:moved view:moved r:ended "
            "view:ended ");
  EXPECT_EQ(dispatcher->fingerCount(), 0u);
}

TEST_F(GestureMachinery, AViewLeavingTheWindowEndsItsGesturesPartInTheSequence) {
  recognizer->setCancelsTouchesInView(NO);
  auto inner = objc_cast<UIView>(alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 50, 50)));
  view->addSubview(inner);
  auto innerRecognizer = addRecognizer(inner, "inner");
  recognizer->reports = innerRecognizer->reports = ".1";

  // Under way: cancelled at once, its action sent while the target is there to receive it; no
  // more touches of the sequence, and reset at its end.
  dispatcher->touchDown({110, 110});
  dispatcher->touchMove({120, 110});
  journal.clear();
  view->removeFromSuperview();
  EXPECT_EQ(std::exchange(journal, {}), "action:4 action:4 ");
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateCancelled);
  EXPECT_EQ(innerRecognizer->state(), UIGestureRecognizerStateCancelled) << "subviews too";
  EXPECT_EQ(finish({{130, 110}}), "view:moved view:ended inner:reset r:reset ");

  // Not yet begun: it fails, sends nothing, and begins nothing afterwards.
  window->addSubview(view);
  dispatcher->touchDown({250, 250});
  journal.clear();
  view->removeFromSuperview();
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateFailed);
  EXPECT_EQ(finish({{270, 250}}), "view:moved view:ended r:reset ");

  // Outside a touch sequence, or moved within the window, nothing happens to a recognizer.
  window->addSubview(view);
  journal.clear();
  view->removeFromSuperview();
  window->addSubview(view);
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStatePossible);
  auto holder = objc_cast<UIView>(alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 400, 400)));
  dispatcher->touchDown({250, 250});
  dispatcher->touchMove({270, 250});
  window->addSubview(holder);
  holder->addSubview(view);
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateBegan);
  dispatcher->touchesCancel();
  EXPECT_EQ(journal,
            "r:began view:began r:moved action:1 view:moved r:cancelled view:cancelled "
            "action:4 r:reset ");

  // A view whose superview held the last reference to it survives its own removal call.
  WeakRef<UIView> gone;
  {
    auto child = alloc_init<UIView>();
    gone = child;
    holder->addSubview(child);
  }
  holder->subviews().back().get()->removeFromSuperview();
  EXPECT_TRUE(gone.expired());
  EXPECT_EQ(holder->subviews().size(), 1u);
}
