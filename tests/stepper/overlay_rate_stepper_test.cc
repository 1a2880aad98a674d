#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Foundation/NSNotificationCenter.h"
#include "host/YTMainAppControlsOverlayView.h"
#include "host/YTPlayerViewController.h"
#include "stepper/RateStepperGrafts.h"
#include "stepper/ZEBStepper.h"

// Stepping, relabelling, the ends of the list, hit-testing and closed players run end to end in
// the session scripts, and what a closed player leaves behind in the lifetime tests; these are
// what neither reaches.
namespace {

using host::RateOption;
using host::YTMainAppControlsOverlayView;
using host::YTPlayerViewController;

// A host player whose view has loaded, with the rates it applied.
struct Player {
  Ref<YTPlayerViewController> controller;
  std::shared_ptr<std::vector<float>> selections = std::make_shared<std::vector<float>>();

  explicit Player(const std::vector<RateOption>& options = host::defaultRateOptions())
      : controller(YTPlayerViewController::playerWithRateOptions(options)) {
    controller->setRateSelectionObserver([log = selections](float rate) { log->push_back(rate); });
    controller->loadViewIfNeeded();
  }
};

Ref<YTMainAppControlsOverlayView> makeOverlay() {
  return YTMainAppControlsOverlayView::overlayWithDelegate(nullptr, CGRectMake(0, 0, 400, 300));
}

Ref<ZEBStepper> stepperOf(const id& overlay) {
  return objc_cast<ZEBStepper>(objc_msgSend<id>(overlay, selector<"playbackRateStepper">()));
}

std::string labelOf(const id& overlay) {
  auto text = stepperOf(overlay)->countLabel()->text();
  return text ? text->string() : "<no text>";
}

void tap(const id& overlay, bool plus, int times = 1) {
  auto stepper = stepperOf(overlay);
  auto button = plus ? stepper->incrementButton() : stepper->decrementButton();
  for (int i = 0; i < times; ++i) button->sendActionsForControlEvents(UIControlEventTouchUpInside);
}

void layOut(const Ref<UIView>& view) {
  view->setNeedsLayout();
  view->layoutIfNeeded();
}

// An overlay whose host initialiser dims and hides its play/pause button, and whose own layout
// dims it less and shows it again.
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
    playPauseButton()->setHidden(NO);
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

TEST(OverlayRateStepper, ANewOverlayHoldsItsStepperAsAProperty) {
  Player player;
  auto overlay = makeOverlay();
  auto stepper = stepperOf(overlay);
  ASSERT_TRUE(stepper);
  EXPECT_STREQ(
      property_getAttributes(class_getProperty(object_getClass(overlay), "playbackRateStepper")),
      "T@\"ZEBStepper\",&,N");
}

TEST(OverlayRateStepper, TheStepperFollowsThePlayPauseButtonAsTheHostLeftIt) {
  Player player;
  // At creation, after the host's initialiser has set the button up...
  auto dimmed = objc_cast<DimmedControlsOverlayView>(
      objc_msgSend<id>(alloc<DimmedControlsOverlayView>(), selector<"initWithDelegate:">(), id()));
  ASSERT_TRUE(dimmed);
  EXPECT_EQ(stepperOf(dimmed)->alpha(), 0.25);
  EXPECT_TRUE(stepperOf(dimmed)->isHidden());
  // ...and at every layout pass, after the host's own layout has changed it.
  layOut(dimmed);
  EXPECT_EQ(stepperOf(dimmed)->alpha(), 0.75);
  EXPECT_FALSE(stepperOf(dimmed)->isHidden());
}

TEST(OverlayRateStepper, AnOverlayWhoseInitialiserFailsGetsNothing) {
  Player player;
  auto center = NSNotificationCenter::defaultCenter();
  player.controller->selectRateOption(3);  // forgets observers that are gone
  size_t observers = center->observerCount_();
  YTMainAppControlsOverlayView::setInitWithDelegateReturnsNil(true);
  auto receiver = alloc<YTMainAppControlsOverlayView>();
  EXPECT_FALSE(objc_msgSend<id>(receiver, selector<"initWithDelegate:">(), id()));
  YTMainAppControlsOverlayView::setInitWithDelegateReturnsNil(false);
  EXPECT_FALSE(stepperOf(receiver));
  EXPECT_TRUE(receiver->constraints().empty());
  EXPECT_EQ(center->observerCount_(), observers);
  layOut(receiver);  // finds no stepper and changes nothing
  EXPECT_TRUE(receiver->subviews().empty());
}

TEST(OverlayRateStepper, ManyTapsAtAnEndNeverSwitchAButtonOff) {
  Player player;
  auto overlay = makeOverlay();
  player.controller->selectRateOption(7);
  tap(overlay, true, 150);
  tap(overlay, false);
  EXPECT_EQ(labelOf(overlay), "1.75x");
  player.controller->selectRateOption(0);
  tap(overlay, false, 300);
  tap(overlay, true);
  EXPECT_EQ(labelOf(overlay), "0.5x");
  EXPECT_EQ(*player.selections, (std::vector<float>{2.0f, 1.75f, 0.25f, 0.5f}));

  // Far past any tap count a session reaches, the value has stalled but both buttons still act.
  auto stepper = stepperOf(overlay);
  stepper->setValue(16777216.0f);
  stepper->incrementButtonTapped(nullptr);
  EXPECT_EQ(labelOf(overlay), "0.75x");
  stepper->setValue(-16777216.0f);
  stepper->decrementButtonTapped(nullptr);
  EXPECT_EQ(labelOf(overlay), "0.5x");
}

TEST(OverlayRateStepper, AVarispeedControllerWithoutOptionsCountsAsAnEmptyList) {
  Player player;
  auto overlay = makeOverlay();
  auto optionless = alloc_init<OptionlessPlayerViewController>();
  optionless->loadViewIfNeeded();
  tap(overlay, true);
  tap(overlay, false);
  EXPECT_EQ(optionless->playbackRate(), 1.0f);
  objc_msgSend(optionless, selector<"varispeedSwitchController:didSelectRate:">(), id(), 2.0f);
  EXPECT_EQ(labelOf(overlay), "Normal");
  EXPECT_TRUE(player.selections->empty());
}
