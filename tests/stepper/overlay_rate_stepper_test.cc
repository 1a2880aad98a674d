#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Foundation/NSNotificationCenter.h"
#include "UIKit/NSLayoutConstraint.h"
#include "UIKit/UITouchDispatcher.h"
#include "UIKit/UIWindow.h"
#include "host/YTMainAppControlsOverlayView.h"
#include "host/YTPlayerViewController.h"
#include "stepper/RateStepperGrafts.h"
#include "stepper/ZEBStepper.h"

namespace {

using host::RateOption;
using host::YTMainAppControlsOverlayView;
using host::YTPlayerViewController;

constexpr CGRect kOverlayFrame = CGRectMake(0, 0, 400, 300);

// A host player whose view has loaded, with the rates it applied.
struct Player {
  Ref<YTPlayerViewController> controller;
  std::shared_ptr<std::vector<float>> selections = std::make_shared<std::vector<float>>();

  explicit Player(const std::vector<RateOption>& options = host::defaultRateOptions())
      : controller(YTPlayerViewController::playerWithRateOptions(options)) {
    controller->setRateSelectionObserver([log = selections](float rate) { log->push_back(rate); });
    controller->loadViewIfNeeded();
  }
  // A selection sent through the runtime, as anything in the host may send it.
  void select(float rate) const {
    objc_msgSend(controller, selector<"varispeedSwitchController:didSelectRate:">(),
                 controller->varispeedController(), rate);
  }
};

Ref<YTMainAppControlsOverlayView> makeOverlay() {
  return YTMainAppControlsOverlayView::overlayWithDelegate(nullptr, kOverlayFrame);
}

Ref<ZEBStepper> stepperOf(const id& overlay) {
  return objc_cast<ZEBStepper>(objc_msgSend<id>(overlay, selector<"playbackRateStepper">()));
}

std::string labelOf(const id& overlay) {
  auto stepper = stepperOf(overlay);
  if (!stepper) return "<no stepper>";
  auto text = stepper->countLabel()->text();
  return text ? text->string() : "<no text>";
}

void setLabel(const id& overlay, const char* text) {
  stepperOf(overlay)->countLabel()->setText(NSStr(text));
}

void tapPlus(const id& overlay) {
  stepperOf(overlay)->incrementButton()->sendActionsForControlEvents(UIControlEventTouchUpInside);
}
void tapMinus(const id& overlay) {
  stepperOf(overlay)->decrementButton()->sendActionsForControlEvents(UIControlEventTouchUpInside);
}

void layOut(const Ref<UIView>& view) {
  view->setNeedsLayout();
  view->layoutIfNeeded();
}

// While alive, every host overlay initialiser answers nil.
struct FailingOverlayInit {
  FailingOverlayInit() { YTMainAppControlsOverlayView::setInitWithDelegateReturnsNil(true); }
  ~FailingOverlayInit() { YTMainAppControlsOverlayView::setInitWithDelegateReturnsNil(false); }
};

// An overlay whose host initialiser dims and hides its play/pause button, and whose own layout
// dims it less.
class DimmedControlsOverlayView : public YTMainAppControlsOverlayView {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestDimmedControlsOverlayView",
                                          YTMainAppControlsOverlayView::objcClass(), [](Class) {});
    return cls;
  }
  id initWithDelegate(const id& delegate) override {
    id view = YTMainAppControlsOverlayView::initWithDelegate(delegate);
    playPauseButton()->setAlpha(0.25);
    playPauseButton()->setHidden(YES);
    return view;
  }
  void layoutSubviews() override {
    YTMainAppControlsOverlayView::layoutSubviews();
    playPauseButton()->setAlpha(0.75);
  }
};

// A player controller whose varispeed controller has no `_options` field.
class OptionlessPlayerViewController : public YTPlayerViewController {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestOptionlessPlayerViewController",
                                          YTPlayerViewController::objcClass(), [](Class) {});
    return cls;
  }
  id varispeedController() override { return alloc_init<NSObject>(); }
};

}  // namespace

TEST(OverlayRateStepper, ANewOverlayShowsNormalAndIsWiredUp) {
  Player player;
  player.controller->selectRateOption(7);  // 2x, before the overlay exists
  auto overlay = makeOverlay();
  ASSERT_TRUE(overlay);
  EXPECT_EQ(labelOf(overlay), "Normal");

  auto stepper = stepperOf(overlay);
  EXPECT_EQ(stepper->superview(), overlay);
  EXPECT_EQ(stepper->value(), 0.0f);
  EXPECT_EQ(stepper->stepInterval(), 1.0f);
  EXPECT_EQ(stepper->buttonWidth(), 50.0);
  EXPECT_FALSE(stepper->valueChangedCallback());
  EXPECT_FALSE(stepper->translatesAutoresizingMaskIntoConstraints());
  EXPECT_EQ(stepper->alpha(), 1.0);
  EXPECT_FALSE(stepper->isHidden());
  auto attributes = class_getProperty(object_getClass(overlay), "playbackRateStepper");
  ASSERT_NE(attributes, nullptr);
  EXPECT_STREQ(property_getAttributes(attributes), "T@\"ZEBStepper\",&,N");

  // The four constraints, in order, held by the overlay.
  struct Expected {
    NSLayoutAttribute first;
    bool toOverlay;
    NSLayoutAttribute second;
    double constant;
  };
  const Expected expected[] = {
      {NSLayoutAttributeCenterX, true, NSLayoutAttributeCenterX, 0},
      {NSLayoutAttributeCenterY, true, NSLayoutAttributeCenterY, 50},
      {NSLayoutAttributeWidth, false, NSLayoutAttributeNotAnAttribute, 170},
      {NSLayoutAttributeHeight, false, NSLayoutAttributeNotAnAttribute, 25},
  };
  ASSERT_EQ(overlay->constraints().size(), 4u);
  for (size_t i = 0; i < 4; ++i) {
    const auto& constraint = overlay->constraints()[i];
    EXPECT_EQ(constraint->firstItem(), stepper) << i;
    EXPECT_EQ(constraint->firstAttribute(), expected[i].first) << i;
    EXPECT_EQ(constraint->relation(), NSLayoutRelationEqual) << i;
    EXPECT_EQ(constraint->secondItem(), expected[i].toOverlay ? id(overlay) : id()) << i;
    EXPECT_EQ(constraint->secondAttribute(), expected[i].second) << i;
    EXPECT_EQ(constraint->multiplier(), 1.0) << i;
    EXPECT_EQ(constraint->constant(), expected[i].constant) << i;
  }

  // A layout pass places the stepper from the constraints, and the stepper lays itself out.
  overlay->layoutIfNeeded();
  EXPECT_EQ(stepper->frame(), CGRectMake(115, 187.5, 170, 25));
  EXPECT_EQ(stepper->decrementButton()->frame(), CGRectMake(0, 0, 50, 25));
  EXPECT_EQ(stepper->countLabel()->frame(), CGRectMake(50, 0, 70, 25));
  EXPECT_EQ(stepper->incrementButton()->frame(), CGRectMake(120, 0, 50, 25));
  EXPECT_EQ(stepper->layer()->cornerRadius(), 12.5);
  overlay->setFrame(CGRectMake(0, 0, 200, 100));
  overlay->layoutIfNeeded();
  EXPECT_EQ(stepper->frame(), CGRectMake(15, 87.5, 170, 25));
}

TEST(OverlayRateStepper, StepsToTheNeighbouringOptions) {
  Player player;
  auto overlay = makeOverlay();
  tapPlus(overlay);
  EXPECT_EQ(player.controller->playbackRate(), 1.25f);
  EXPECT_EQ(labelOf(overlay), "1.25x");
  tapMinus(overlay);
  EXPECT_EQ(labelOf(overlay), "Normal");
  tapMinus(overlay);
  EXPECT_EQ(labelOf(overlay), "0.75x");
  EXPECT_EQ(*player.selections, (std::vector<float>{1.25f, 1.0f, 0.75f}));
}

TEST(OverlayRateStepper, TheEndsOfTheListSendNothing) {
  Player player;
  auto overlay = makeOverlay();
  player.controller->selectRateOption(7);
  EXPECT_EQ(labelOf(overlay), "2x");
  setLabel(overlay, "untouched");
  tapPlus(overlay);
  EXPECT_EQ(labelOf(overlay), "untouched");
  EXPECT_EQ(player.selections->size(), 1u);

  player.controller->selectRateOption(0);
  EXPECT_EQ(labelOf(overlay), "0.25x");
  setLabel(overlay, "untouched");
  tapMinus(overlay);
  EXPECT_EQ(labelOf(overlay), "untouched");
  EXPECT_EQ(*player.selections, (std::vector<float>{2.0f, 0.25f}));
}

TEST(OverlayRateStepper, ARateThatMatchesNoOptionStepsToTheFirst) {
  Player player;
  auto overlay = makeOverlay();
  player.controller->selectRateOption(5);
  EXPECT_EQ(labelOf(overlay), "1.5x");
  player.select(std::nextafter(1.5f, 0.0f));  // one float step off an option
  EXPECT_EQ(labelOf(overlay), "1.5x");
  tapPlus(overlay);
  EXPECT_EQ(player.controller->playbackRate(), 0.25f);
  EXPECT_EQ(labelOf(overlay), "0.25x");

  player.select(std::nextafter(1.5f, 2.0f));
  tapMinus(overlay);
  EXPECT_EQ(player.controller->playbackRate(), 0.25f);
  EXPECT_EQ(labelOf(overlay), "0.25x");
}

TEST(OverlayRateStepper, DuplicateRatesMatchTheFirstOfThem) {
  Player player({{0.5f, "Half"}, {1.0f, "One"}, {1.0f, "Also one"}, {2.0f, "Double"}});
  auto tapped = makeOverlay();
  auto other = makeOverlay();
  player.controller->selectRateOption(2);
  EXPECT_EQ(labelOf(tapped), "One");
  EXPECT_EQ(labelOf(other), "One");

  // "+" from the first 1 selects the second; every overlay relabels to the first match, then the
  // tapped one shows what it selected. A second "+" starts from the first 1 again.
  tapPlus(tapped);
  EXPECT_EQ(labelOf(tapped), "Also one");
  EXPECT_EQ(labelOf(other), "One");
  tapPlus(tapped);
  EXPECT_EQ(labelOf(tapped), "Also one");
  EXPECT_EQ(*player.selections, (std::vector<float>{1.0f, 1.0f, 1.0f}));
  tapMinus(tapped);
  EXPECT_EQ(labelOf(tapped), "Half");
}

TEST(OverlayRateStepper, EveryRateSelectionRelabelsEveryOverlay) {
  Player player;
  auto first = makeOverlay();
  auto second = makeOverlay();
  auto third = makeOverlay();

  // The host's own speed menu.
  player.controller->selectRateOption(5);
  for (const auto& overlay : {first, second, third}) EXPECT_EQ(labelOf(overlay), "1.5x");

  // A tap on one overlay's stepper.
  tapPlus(second);
  for (const auto& overlay : {first, second, third}) EXPECT_EQ(labelOf(overlay), "1.75x");
  tapMinus(third);
  tapMinus(third);
  for (const auto& overlay : {first, second, third}) EXPECT_EQ(labelOf(overlay), "1.25x");
}

TEST(OverlayRateStepper, TheLastLoadedPlayerControllerIsTheOneSteppedAndRead) {
  Player older;
  auto overlay = makeOverlay();
  Player newer({{1.0f, "1x"}, {3.0f, "3x"}});

  tapPlus(overlay);
  EXPECT_EQ(newer.controller->playbackRate(), 3.0f);
  EXPECT_EQ(labelOf(overlay), "3x");
  EXPECT_TRUE(older.selections->empty());
  EXPECT_EQ(older.controller->playbackRate(), 1.0f);

  // The older player's own selection still relabels, from the newer player's rate.
  setLabel(overlay, "stale");
  older.controller->selectRateOption(0);
  EXPECT_EQ(older.controller->playbackRate(), 0.25f);
  EXPECT_EQ(labelOf(overlay), "3x");

  tapMinus(overlay);
  EXPECT_EQ(newer.controller->playbackRate(), 1.0f);
  EXPECT_EQ(older.controller->playbackRate(), 0.25f);
}

TEST(OverlayRateStepper, TheStepperFollowsThePlayPauseButton) {
  Player player;
  auto overlay = makeOverlay();
  auto stepper = stepperOf(overlay);
  auto button = overlay->playPauseButton();
  layOut(overlay);

  button->setAlpha(0.5);
  button->setHidden(YES);
  EXPECT_EQ(stepper->alpha(), 1.0);  // only a layout pass copies them
  layOut(overlay);
  EXPECT_EQ(stepper->alpha(), 0.5);
  EXPECT_TRUE(stepper->isHidden());
  // The host's own layout still ran.
  EXPECT_EQ(button->frame(), CGRectMake(170, 120, 60, 60));

  button->setAlpha(1);
  button->setHidden(NO);
  layOut(overlay);
  EXPECT_EQ(stepper->alpha(), 1.0);
  EXPECT_FALSE(stepper->isHidden());

  // At creation, after the host's initialiser has set the button up.
  auto dimmed = objc_cast<DimmedControlsOverlayView>(
      objc_msgSend<id>(alloc<DimmedControlsOverlayView>(), selector<"initWithDelegate:">(), id()));
  ASSERT_TRUE(dimmed);
  EXPECT_EQ(stepperOf(dimmed)->alpha(), 0.25);
  EXPECT_TRUE(stepperOf(dimmed)->isHidden());
  // At every layout pass, after the host's own layout has changed the button.
  layOut(dimmed);
  EXPECT_EQ(stepperOf(dimmed)->alpha(), 0.75);
}

TEST(OverlayRateStepper, AnOverlayWhoseInitialiserFailsGetsNothing) {
  Player player;
  auto center = NSNotificationCenter::defaultCenter();
  player.select(1.0f);  // forgets observers that are gone
  size_t observers = center->observerCount_();
  {
    FailingOverlayInit failing;
    EXPECT_FALSE(makeOverlay());
    auto receiver = alloc<YTMainAppControlsOverlayView>();
    EXPECT_FALSE(objc_msgSend<id>(receiver, selector<"initWithDelegate:">(), id()));
    EXPECT_FALSE(stepperOf(receiver));
    EXPECT_TRUE(receiver->subviews().empty());
    EXPECT_TRUE(receiver->constraints().empty());
    EXPECT_EQ(center->observerCount_(), observers);
    // Its layout pass finds no stepper and changes nothing.
    layOut(receiver);
    EXPECT_TRUE(receiver->subviews().empty());
  }
  EXPECT_TRUE(makeOverlay());
}

TEST(OverlayRateStepper, ManyTapsAtAnEndNeverSwitchAButtonOff) {
  Player player;
  auto overlay = makeOverlay();
  player.controller->selectRateOption(7);
  for (int i = 0; i < 150; ++i) tapPlus(overlay);
  EXPECT_EQ(player.selections->size(), 1u);
  EXPECT_EQ(labelOf(overlay), "2x");
  tapMinus(overlay);
  EXPECT_EQ(labelOf(overlay), "1.75x");
  tapPlus(overlay);
  EXPECT_EQ(labelOf(overlay), "2x");
  EXPECT_EQ(player.controller->playbackRate(), 2.0f);

  player.controller->selectRateOption(0);
  for (int i = 0; i < 300; ++i) tapMinus(overlay);
  size_t selections = player.selections->size();
  tapPlus(overlay);
  EXPECT_EQ(player.selections->size(), selections + 1);
  EXPECT_EQ(labelOf(overlay), "0.5x");
  tapMinus(overlay);
  EXPECT_EQ(labelOf(overlay), "0.25x");

  // Far past any tap count a session reaches, the value has stalled but both buttons still act.
  auto stepper = stepperOf(overlay);
  stepper->setValue(16777216.0f);
  stepper->incrementButtonTapped(nullptr);
  EXPECT_EQ(labelOf(overlay), "0.5x");
  stepper->setValue(-16777216.0f);
  stepper->decrementButtonTapped(nullptr);
  EXPECT_EQ(labelOf(overlay), "0.25x");
}

TEST(OverlayRateStepper, ADestroyedOverlayIsNeverCalled) {
  Player player;
  auto survivor = makeOverlay();
  WeakRef<NSObject> goneOverlay;
  WeakRef<NSObject> goneStepper;
  {
    auto doomed = makeOverlay();
    goneOverlay = doomed;
    goneStepper = stepperOf(doomed);
  }
  EXPECT_TRUE(goneOverlay.expired());
  EXPECT_TRUE(goneStepper.expired());
  player.controller->selectRateOption(1);
  EXPECT_EQ(labelOf(survivor), "0.5x");
  tapPlus(survivor);
  EXPECT_EQ(labelOf(survivor), "0.75x");
}

TEST(OverlayRateStepper, NoRateOptionsMeansNothingToStepOrShow) {
  Player empty(std::vector<RateOption>{});
  auto overlay = makeOverlay();
  tapPlus(overlay);
  tapMinus(overlay);
  EXPECT_TRUE(empty.selections->empty());
  EXPECT_EQ(labelOf(overlay), "Normal");
  setLabel(overlay, "untouched");
  empty.select(1.0f);
  EXPECT_EQ(labelOf(overlay), "untouched");

  // A varispeed controller without the `_options` field counts as an empty list.
  auto optionless = alloc_init<OptionlessPlayerViewController>();
  optionless->loadViewIfNeeded();
  tapPlus(overlay);
  tapMinus(overlay);
  EXPECT_EQ(optionless->playbackRate(), 1.0f);
  objc_msgSend(optionless, selector<"varispeedSwitchController:didSelectRate:">(), id(), 2.0f);
  EXPECT_EQ(labelOf(overlay), "untouched");
}

TEST(OverlayRateStepper, AFingerOnPlusStepsUpThroughTheTouchMachinery) {
  Player player;
  auto window = alloc<UIWindow>();
  window->initWithFrame(kOverlayFrame);
  auto overlay = makeOverlay();
  window->addSubview(overlay);
  window->layoutIfNeeded();

  // The "+" button spans x 235..285 and y 187.5..212.5 of the window; its title label takes no
  // touches, so the button itself is hit.
  UITouchDispatcher touches(window);
  auto touchAt = [&](CGPoint point) {
    touches.touchDown(point);
    auto hit = touches.touchedView();
    touches.touchesUp();
    return hit;
  };
  EXPECT_EQ(touchAt(CGPointMake(260, 200)), stepperOf(overlay)->incrementButton());
  EXPECT_EQ(labelOf(overlay), "1.25x");
  EXPECT_EQ(touchAt(CGPointMake(140, 200)), stepperOf(overlay)->decrementButton());
  EXPECT_EQ(touchAt(CGPointMake(140, 200)), stepperOf(overlay)->decrementButton());
  EXPECT_EQ(labelOf(overlay), "0.75x");
  EXPECT_EQ(touchAt(CGPointMake(200, 200)), stepperOf(overlay));  // the label: no step
  EXPECT_EQ(*player.selections, (std::vector<float>{1.25f, 1.0f, 0.75f}));
}
