#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "Foundation/NSSet.h"
#include "UIKit/UIGestureRecognizer.h"
#include "UIKit/UITouchDispatcher.h"
#include "UIKit/UIWindow.h"

namespace {

std::vector<std::string> journal;

// A recognizer that reports what its test tells it to, and writes every callback to the journal.
class ScriptedRecognizer : public UIGestureRecognizer {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestScriptedRecognizer",
                                          UIGestureRecognizer::objcClass(), [](Class) {});
    return cls;
  }
  std::string name = "r";
  // Called after each touch callback with its phase name; may report a state.
  std::function<void(ScriptedRecognizer&, const std::string&)> script;

  void touchesBegan(const Ref<NSSet>& t, const Ref<UIEvent>& e) override { note("began", t, e); }
  void touchesMoved(const Ref<NSSet>& t, const Ref<UIEvent>& e) override { note("moved", t, e); }
  void touchesEnded(const Ref<NSSet>& t, const Ref<UIEvent>& e) override { note("ended", t, e); }
  void touchesCancelled(const Ref<NSSet>& t, const Ref<UIEvent>& e) override {
    note("cancelled", t, e);
  }
  void reset() override {
    UIGestureRecognizer::reset();
    journal.push_back(name + ":reset");
  }

 private:
  void note(const std::string& phase, const Ref<NSSet>&, const Ref<UIEvent>&) {
    journal.push_back(name + ":" + phase);
    if (script) script(*this, phase);
  }
};

class ActionTarget : public NSObject {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestActionTarget", NSObject::objcClass(), [](Class c) {
      objc_exposeMethod<&ActionTarget::handle>(c, "handle:");
    });
    return cls;
  }
  void handle(const id& sender) {
    auto recognizer = objc_cast<UIGestureRecognizer>(sender);
    journal.push_back("action:" + std::to_string(recognizer ? int64_t{recognizer->state()} : -1));
  }
};

class RecordingView : public UIView {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestRecordingView", UIView::objcClass(), [](Class) {});
    return cls;
  }
  std::string name = "view";
  void touchesBegan(const Ref<NSSet>&, const Ref<UIEvent>&) override { note("began"); }
  void touchesMoved(const Ref<NSSet>&, const Ref<UIEvent>&) override { note("moved"); }
  void touchesEnded(const Ref<NSSet>&, const Ref<UIEvent>&) override { note("ended"); }
  void touchesCancelled(const Ref<NSSet>&, const Ref<UIEvent>&) override { note("cancelled"); }

 private:
  void note(const char* phase) { journal.push_back(name + ":" + phase); }
};

using Journal = std::vector<std::string>;

class GestureMachinery : public ::testing::Test {
 protected:
  void SetUp() override {
    journal.clear();
    window = objc_cast<UIWindow>(alloc<UIWindow>()->initWithFrame(CGRectMake(0, 0, 400, 400)));
    view = objc_cast<RecordingView>(
        alloc<RecordingView>()->initWithFrame(CGRectMake(100, 100, 200, 200)));
    window->addSubview(view);
    target = alloc_init<ActionTarget>();
    recognizer = addRecognizer(view, "r");
    dispatcher = std::make_unique<UITouchDispatcher>(window);
  }

  // Moves the touch to each point, lifts it, and answers the journal, clearing it.
  Journal finish(std::initializer_list<CGPoint> moves) {
    for (CGPoint to : moves) dispatcher->touchMove(to);
    dispatcher->touchesUp();
    return std::exchange(journal, {});
  }

  Ref<ScriptedRecognizer> addRecognizer(const Ref<UIView>& to, const std::string& name) {
    auto added = alloc<ScriptedRecognizer>();
    added->initWithTarget(target, selector<"handle:">());
    added->name = name;
    to->addGestureRecognizer(added);
    return added;
  }

  Ref<UIWindow> window;
  Ref<RecordingView> view;
  Ref<ActionTarget> target;
  Ref<ScriptedRecognizer> recognizer;
  std::unique_ptr<UITouchDispatcher> dispatcher;
};

// Reports Began on the first move, Changed on later ones, Ended at the end.
void pan(ScriptedRecognizer& r, const std::string& phase) {
  if (phase == "moved") {
    r.setState(r.state() == UIGestureRecognizerStatePossible ? UIGestureRecognizerStateBegan
                                                             : UIGestureRecognizerStateChanged);
  } else if (phase == "ended") {
    r.setState(UIGestureRecognizerStateEnded);
  }
}

}  // namespace

TEST_F(GestureMachinery, SendsTheActionAsTheStatesAreReported) {
  recognizer->setCancelsTouchesInView(NO);
  int moves = 0;
  recognizer->script = [&](ScriptedRecognizer& r, const std::string& phase) {
    if (phase == "moved" && ++moves == 1) r.setState(UIGestureRecognizerStateBegan);
    if (phase == "moved" && moves == 2) r.setState(UIGestureRecognizerStateChanged);
    if (phase == "ended") r.setState(UIGestureRecognizerStateEnded);
  };
  // Began once; Changed after every event that leaves it Changed, reported again or not; Ended
  // once; then reset, after the action for the end.
  dispatcher->touchDown({150, 150});
  EXPECT_EQ(finish({{160, 150}, {161, 150}, {162, 150}}),
            (Journal{"r:began", "view:began", "r:moved", "action:1", "view:moved", "r:moved",
                     "action:2", "view:moved", "r:moved", "action:2", "view:moved", "r:ended",
                     "action:3", "view:ended", "r:reset"}));
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStatePossible);

  // Failed sends nothing and ends the recognizer's part in the sequence.
  recognizer->script = [](ScriptedRecognizer& r, const std::string& phase) {
    if (phase == "began") r.setState(UIGestureRecognizerStateFailed);
  };
  dispatcher->touchDown({150, 150});
  EXPECT_EQ(finish({{170, 150}}),
            (Journal{"r:began", "view:began", "view:moved", "view:ended", "r:reset"}));

  // Cancelled reported while Possible becomes the state and is sent.
  recognizer->script = [](ScriptedRecognizer& r, const std::string& phase) {
    if (phase == "began") r.setState(UIGestureRecognizerStateCancelled);
  };
  dispatcher->touchDown({150, 150});
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateCancelled);
  dispatcher->touchesCancel();
  EXPECT_EQ(journal, (Journal{"r:began", "action:4", "view:began", "view:cancelled", "r:reset"}));

  // A gesture still under way when the sequence ends is cancelled by the machinery.
  journal.clear();
  recognizer->script = [](ScriptedRecognizer& r, const std::string& phase) {
    if (phase == "moved") r.setState(UIGestureRecognizerStateBegan);
  };
  dispatcher->touchDown({150, 150});
  EXPECT_EQ(finish({{170, 150}}),
            (Journal{"r:began", "view:began", "r:moved", "action:1", "view:moved", "r:ended",
                     "view:ended", "action:4", "r:reset"}));

  // Outside a touch event a report only becomes the state.
  recognizer->setState(UIGestureRecognizerStateEnded);
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateEnded);
  EXPECT_TRUE(journal.empty());
}

TEST_F(GestureMachinery, WithholdsTouchesFromTheViewOnceAGestureIsUnderWay) {
  ASSERT_TRUE(recognizer->cancelsTouchesInView());  // the device's default
  recognizer->script = &pan;
  // Reported Began at the first move: that event still reaches the view; the next, arriving
  // while Began, is withheld and the view cancelled.
  dispatcher->touchDown({150, 150});
  EXPECT_EQ(
      finish({{160, 150}, {170, 150}, {180, 150}}),
      (Journal{"r:began", "view:began", "r:moved", "action:1", "view:moved", "r:moved", "action:2",
               "view:cancelled", "r:moved", "action:2", "r:ended", "action:3", "r:reset"}));
  // The next sequence reaches the view again; with cancelsTouchesInView off nothing is withheld.
  recognizer->setCancelsTouchesInView(NO);
  dispatcher->touchDown({150, 150});
  EXPECT_EQ(finish({{160, 150}, {170, 150}}),
            (Journal{"r:began", "view:began", "r:moved", "action:1", "view:moved", "r:moved",
                     "action:2", "view:moved", "r:ended", "action:3", "view:ended", "r:reset"}));
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
            (Journal{"c1:began", "c2:began", "r:began", "w:began", "child:began", "c1:moved",
                     "c2:moved", "r:moved", "w:moved", "child:moved", "c1:ended", "c2:ended",
                     "r:ended", "w:ended", "child:ended"}));

  // A touch outside every view but the window touches the window, and a recognizer added during
  // a sequence joins only the next one.
  dispatcher->touchDown({20, 20});
  EXPECT_EQ(dispatcher->touchedView(), window);
  addRecognizer(window, "late");
  dispatcher->touchesUp();
  EXPECT_EQ(journal, (Journal{"w:began", "w:ended"}));
}

TEST_F(GestureMachinery, BadCoordinatesHitNothingAndLocationsAreTheTouchesCentroid) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  for (CGPoint bad : {CGPoint{kNaN, 150}, CGPoint{150, kInf}, CGPoint{-kInf, -kInf},
                      CGPoint{1e300, 150}, CGPoint{-1e308, 1e308}}) {
    dispatcher->touchDown(bad);
    EXPECT_EQ(dispatcher->touchedView(), nullptr);
    EXPECT_EQ(finish({{150, 150}}), Journal{});
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
  dispatcher->touchesUp();
  EXPECT_EQ(dispatcher->fingerCount(), 0u);
  EXPECT_EQ(journal, (Journal{"r:began", "view:began", "r:began", "view:began", "r:moved",
                              "view:moved", "r:ended", "view:ended"}));
}

TEST_F(GestureMachinery, AViewLeavingTheWindowEndsItsGesturesPartInTheSequence) {
  recognizer->setCancelsTouchesInView(NO);
  auto inner = objc_cast<UIView>(alloc<UIView>()->initWithFrame(CGRectMake(0, 0, 50, 50)));
  view->addSubview(inner);
  auto innerRecognizer = addRecognizer(inner, "inner");
  recognizer->script = &pan;
  innerRecognizer->script = &pan;

  // Under way: cancelled at once, its action sent while the target is there to receive it; no
  // more touches of the sequence, and reset at its end.
  dispatcher->touchDown({110, 110});
  dispatcher->touchMove({120, 110});
  journal.clear();
  view->removeFromSuperview();
  EXPECT_EQ(std::exchange(journal, {}), (Journal{"action:4", "action:4"}));
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateCancelled);
  EXPECT_EQ(innerRecognizer->state(), UIGestureRecognizerStateCancelled) << "subviews too";
  EXPECT_EQ(finish({{130, 110}}), (Journal{"view:moved", "view:ended", "inner:reset", "r:reset"}));

  // Not yet begun: it fails, sends nothing, and begins nothing afterwards.
  window->addSubview(view);
  dispatcher->touchDown({250, 250});
  journal.clear();
  view->removeFromSuperview();
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateFailed);
  EXPECT_EQ(finish({{270, 250}}), (Journal{"view:moved", "view:ended", "r:reset"}));

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
  EXPECT_EQ(journal, (Journal{"r:began", "view:began", "r:moved", "action:1", "view:moved",
                              "r:cancelled", "view:cancelled", "action:4", "r:reset"}));

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
