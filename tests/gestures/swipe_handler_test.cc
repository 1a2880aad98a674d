#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>

#include "MediaPlayer/MPVolumeView.h"
#include "TestSupport.h"
#include "UIKit/UIScreen.h"
#include "gestures/SwipeGrafts.h"
#include "host/YTMainAppVideoPlayerOverlayViewController.h"
#include "host/YTPlayerView.h"
#include "setup/Settings.h"

using host::YTMainAppVideoPlayerOverlayViewController;
using host::YTPlayerView;

namespace {

using Overlay = YTMainAppVideoPlayerOverlayViewController;

// A controls overlay stand-in: a view with a play/pause button, counting its layout passes.
class TestControlsOverlay : public UIView {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestControlsOverlay", UIView::objcClass(), [](Class c) {
      objc_exposeMethod<&TestControlsOverlay::playPauseButton>(c, "playPauseButton");
    });
    return cls;
  }
  id init() override {
    UIView::init();
    button_ = alloc_init<UIView>();
    addSubview(button_);
    return self();
  }
  id playPauseButton() const { return button_; }
  void layoutSubviews() override {
    UIView::layoutSubviews();
    ++layoutPasses;
  }
  int layoutPasses = 0;

 private:
  Ref<UIView> button_;
};

float stepped(float from, int steps, double step) {
  for (int i = 0; i < steps; ++i) from = static_cast<float>(static_cast<double>(from) + step);
  return from;
}

// A player view 200 points high (its upper half ends at y 100) at the top of a window the size
// of the screen, touched through the window's dispatcher, with the default settings.
class SwipeHandler : public ::testing::Test {
 protected:
  void SetUp() override {
    glidepad::speed = 250;
    glidepad::activateAfter = 70;
    glidepad::topArea = 1;
    glidepad::bottomArea = 3;
    window = support::makeWindow(CGRectMake(0, 0, 375, 667));
    player = support::makePlayerView(CGRectMake(0, 0, 375, 200));
    window->addSubview(player);
    touch = std::make_unique<UITouchDispatcher>(window);
    overlay = alloc_init<Overlay>();
    overlay->setPlaybackPosition(100);
    overlay->loadViewIfNeeded();
    MPVolumeSetSystemVolume_(0.5f);
    UIScreen::mainScreen()->setBrightness(0.5);
    support::runMainQueue();
    testsupport::volumeValuesSet().clear();
    testsupport::brightnessValuesSet().clear();
    backwardSeeks = Overlay::backwardSeekCount();
    forwardSeeks = Overlay::forwardSeekCount();
  }
  void TearDown() override {
    touch->touchesCancel();
    support::runMainQueue();
  }

  // Down at `from`, 80 points along x (`direction` -1 left, +1 right) to begin, 5 more into
  // Changed, then `steps` moves of 5 points, each one step; lifted unless told otherwise.
  void swipe(UITouchDispatcher& on, CGPoint from, double direction, int steps, bool lift = true) {
    on.touchDown(from);
    on.touchMove({from.x + direction * 80, from.y});
    on.touchMove({from.x + direction * 85, from.y});
    for (int i = 1; i <= steps; ++i) on.touchMove({from.x + direction * (85 + 5 * i), from.y});
    if (lift) on.touchesUp();
  }
  void swipe(CGPoint from, double direction, int steps, bool lift = true) {
    swipe(*touch, from, direction, steps, lift);
  }
  uint64_t newBackwardSeeks() const { return Overlay::backwardSeekCount() - backwardSeeks; }
  uint64_t newForwardSeeks() const { return Overlay::forwardSeekCount() - forwardSeeks; }
  float volumeAfterSteps() {
    support::runMainQueue();
    return MPVolumeSystemVolume_();
  }

  support::SettingsScope settings;
  Ref<UIWindow> window;
  Ref<YTPlayerView> player;
  std::unique_ptr<UITouchDispatcher> touch;
  Ref<Overlay> overlay;
  uint64_t backwardSeeks = 0, forwardSeeks = 0;
};

}  // namespace

TEST_F(SwipeHandler, AttachesAConfiguredRecognizerToEveryPlayerView) {
  auto gesture = support::swipeRecognizerOf(player);
  ASSERT_TRUE(gesture);
  EXPECT_EQ(player->gestureRecognizers().size(), 1u);
  EXPECT_EQ(gesture->view(), player);
  EXPECT_FALSE(gesture->cancelsTouchesInView());
  EXPECT_EQ(gesture->numberOfTapsRequired(), 0u);
  EXPECT_EQ(gesture->numberOfTouchesRequired(), 1u);
  EXPECT_EQ(gesture->gestureSpeed(), 2500u);
  EXPECT_EQ(gesture->activateAfter(), 70.0);
  EXPECT_EQ(player->frame(), CGRectMake(0, 0, 375, 200));  // the host's initialiser ran too
  EXPECT_TRUE(player->respondsToSelector(selector<"GLPGesture:">()));

  // Read when the view is made: later settings reach only later views.
  glidepad::speed = -3;
  glidepad::activateAfter = 15;
  EXPECT_EQ(gesture->gestureSpeed(), 2500u);
  auto later = support::swipeRecognizerOf(support::makePlayerView(CGRectZero));
  EXPECT_EQ(later->gestureSpeed(), static_cast<uint64_t>(-30));
  EXPECT_EQ(later->activateAfter(), 15.0);
}

TEST_F(SwipeHandler, UpperHalfStepsTheVolumeAndLowerHalfSeeks) {
  swipe({300, 50}, -1, 4, false);
  EXPECT_TRUE(glidepad::isVolumeSwipe);
  EXPECT_FALSE(glidepad::isSeekSwipe);
  touch->touchesUp();
  EXPECT_FALSE(support::anySwipeKind());
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.5f);  // not yet: 10 ms later
  EXPECT_EQ(volumeAfterSteps(), stepped(0.5f, 4, -0.02));
  EXPECT_EQ(newBackwardSeeks() + newForwardSeeks(), 0u);

  swipe({50, 50}, +1, 3);
  EXPECT_EQ(volumeAfterSteps(), stepped(stepped(0.5f, 4, -0.02), 3, +0.02));

  swipe({300, 150}, -1, 3);
  EXPECT_EQ(newBackwardSeeks(), 3u);
  EXPECT_EQ(overlay->playbackPosition(), 70.0);
  swipe({50, 150}, +1, 2);
  EXPECT_EQ(newForwardSeeks(), 2u);
  EXPECT_EQ(overlay->playbackPosition(), 90.0);
  EXPECT_EQ(newBackwardSeeks(), 3u);
  support::runMainQueue();
  EXPECT_EQ(testsupport::volumeValuesSet().size(), 7u);  // the seeks touched no volume
}

TEST_F(SwipeHandler, EveryStepFollowsTheFingerFromTheFirstChange) {
  auto& values = testsupport::volumeValuesSet();
  swipe({300, 50}, -1, 6);
  support::runMainQueue();
  ASSERT_EQ(values.size(), 6u);
  for (size_t i = 1; i < values.size(); ++i) EXPECT_LT(values[i], values[i - 1]);
  EXPECT_LT(values.front(), 0.5f);

  values.clear();
  float before = MPVolumeSystemVolume_();
  swipe({50, 50}, +1, 6);
  support::runMainQueue();
  ASSERT_EQ(values.size(), 6u);
  EXPECT_GT(values.front(), before);
  for (size_t i = 1; i < values.size(); ++i) EXPECT_GT(values[i], values[i - 1]);

  // Out past the threshold and back to where it touched down: the scale is where it began, and
  // up and down at that x it stays there. Nothing steps.
  values.clear();
  touch->touchDown({200, 50});
  touch->touchMove({100, 50});
  touch->touchMove({200, 50});
  for (double y : {40.0, 60.0, 20.0, 90.0}) touch->touchMove({200, y});
  touch->touchesUp();
  support::runMainQueue();
  EXPECT_TRUE(values.empty());

  // Coordinates no screen has: at most one step per move, each converted without overflow.
  constexpr double kInf = std::numeric_limits<double>::infinity();
  touch->touchDown({200, 50});
  for (double x : {100.0, 100.0, -1e300, std::nan(""), kInf, -kInf, 1e300}) {
    touch->touchMove({x, 50});
  }
  EXPECT_EQ(support::swipeRecognizerOf(player)->currentPoint(),
            0u);  // far right: a scale of all but 0
  touch->touchesUp();
  support::runMainQueue();
  EXPECT_LE(values.size(), 5u);
  EXPECT_FALSE(support::anySwipeKind());
}

TEST_F(SwipeHandler, TheKindIsChosenWhereTheFingerIsAtTheBegin) {
  // Exactly half the view's height is the lower half.
  touch->touchDown({300, 100});
  touch->touchMove({220, 100});
  EXPECT_TRUE(glidepad::isSeekSwipe);
  EXPECT_FALSE(glidepad::isVolumeSwipe);
  touch->touchesUp();
  touch->touchDown({300, 99.999});
  touch->touchMove({220, 99.999});
  EXPECT_TRUE(glidepad::isVolumeSwipe);
  EXPECT_FALSE(glidepad::isSeekSwipe);
  touch->touchesUp();
  EXPECT_FALSE(support::anySwipeKind());

  // Not where it touched down: where it is when it has travelled far enough.
  touch->touchDown({300, 180});
  touch->touchMove({250, 170});  // not far enough yet
  EXPECT_FALSE(support::anySwipeKind());
  touch->touchMove({220, 20});
  EXPECT_TRUE(glidepad::isVolumeSwipe);
  touch->touchMove({215, 180});  // the kind stays for the whole swipe
  touch->touchMove({210, 180});
  touch->touchesUp();
  EXPECT_EQ(newBackwardSeeks(), 0u);
  EXPECT_EQ(volumeAfterSteps(), stepped(0.5f, 1, -0.02));

  touch->touchDown({300, 20});
  touch->touchMove({220, 150});
  EXPECT_TRUE(glidepad::isSeekSwipe);
  EXPECT_FALSE(glidepad::isVolumeSwipe);
  touch->touchesUp();
}

TEST_F(SwipeHandler, EachAreaCodeChoosesItsKindAndOthersStepNothing) {
  glidepad::topArea = 2;
  glidepad::bottomArea = 2;
  swipe({300, 50}, -1, 2);
  swipe({300, 150}, +1, 1);
  ASSERT_EQ(testsupport::brightnessValuesSet().size(), 3u);
  float down1 = static_cast<float>(0.5 - 0.02);
  float down2 = static_cast<float>(static_cast<double>(down1) - 0.02);
  EXPECT_EQ(testsupport::brightnessValuesSet()[0], static_cast<double>(down1));
  EXPECT_EQ(testsupport::brightnessValuesSet()[1], static_cast<double>(down2));
  EXPECT_EQ(UIScreen::mainScreen()->brightness(),
            static_cast<double>(static_cast<float>(static_cast<double>(down2) + 0.02)));

  glidepad::topArea = 3;
  swipe({300, 50}, -1, 2);
  EXPECT_EQ(newBackwardSeeks(), 2u);

  // Read at every begin, not during the swipe.
  glidepad::topArea = 1;
  swipe({300, 50}, -1, 1, false);
  glidepad::topArea = 3;
  touch->touchMove({200, 50});  // still a volume step
  touch->touchesUp();
  EXPECT_EQ(newBackwardSeeks(), 2u);
  EXPECT_EQ(volumeAfterSteps(), stepped(0.5f, 2, -0.02));

  for (int unknown : {0, 4, -1}) {
    glidepad::topArea = unknown;
    auto gesture = support::swipeRecognizerOf(player);
    swipe({300, 50}, -1, 3, false);
    EXPECT_FALSE(support::anySwipeKind()) << unknown;
    EXPECT_TRUE(gesture->isStarted()) << unknown;  // tracked all the same
    touch->touchesUp();
  }
  EXPECT_EQ(newBackwardSeeks(), 2u);
  EXPECT_EQ(volumeAfterSteps(), stepped(0.5f, 2, -0.02));
  EXPECT_EQ(testsupport::brightnessValuesSet().size(), 3u);
  EXPECT_EQ(player->controlsToggleCount(), 0u);
}

TEST_F(SwipeHandler, SpeedZeroStepsNothingAndBrightnessIsPassedUnbounded) {
  glidepad::speed = 0;
  auto slow = support::makePlayerView(CGRectMake(0, 0, 375, 200));
  window->addSubview(slow);
  swipe({300, 50}, -1, 5);
  swipe({300, 150}, +1, 5);
  EXPECT_EQ(volumeAfterSteps(), 0.5f);
  EXPECT_EQ(newForwardSeeks(), 0u);
  slow->removeFromSuperview();

  glidepad::speed = 250;
  glidepad::topArea = 2;
  UIScreen::mainScreen()->setBrightness(0.01);
  swipe({300, 50}, -1, 1);
  ASSERT_EQ(testsupport::brightnessValuesSet().size(), 1u);
  double passed = testsupport::brightnessValuesSet()[0];
  EXPECT_EQ(passed, static_cast<double>(static_cast<float>(0.01 - 0.02)));
  EXPECT_LT(passed, 0.0);
  EXPECT_EQ(UIScreen::mainScreen()->brightness(), 0.0);  // the screen's own clamp
}

TEST_F(SwipeHandler, SeeksGoToTheLastOverlayControllerOnceThereIsOne) {
  glidepad::lastOverlayController = nullptr;
  swipe({300, 150}, -1, 3, false);
  auto gesture = support::swipeRecognizerOf(player);
  EXPECT_EQ(gesture->previousPoint(), gesture->currentPoint());  // the ratchet still follows
  EXPECT_GT(gesture->currentPoint(), 250u);
  touch->touchesUp();
  EXPECT_EQ(newBackwardSeeks(), 0u);

  auto first = alloc_init<Overlay>();
  auto second = alloc_init<Overlay>();
  first->loadViewIfNeeded();
  EXPECT_EQ(glidepad::lastOverlayController, first);
  second->setPlaybackPosition(15);
  second->loadViewIfNeeded();
  EXPECT_EQ(glidepad::lastOverlayController, second);
  swipe({300, 150}, -1, 3);
  EXPECT_EQ(newBackwardSeeks(), 3u);
  EXPECT_EQ(second->playbackPosition(), 0.0);  // not before the start
  EXPECT_EQ(first->playbackPosition(), 0.0);

  // Held strongly, and isFullscreen passes the host's answer through.
  std::weak_ptr<Overlay> watch = second;
  second.reset();
  EXPECT_FALSE(watch.expired());
  watch.lock()->setFullscreen(YES);
  EXPECT_TRUE(objc_msgSend<bool>(glidepad::lastOverlayController, selector<"isFullscreen">()));
  watch.lock()->setFullscreen(NO);
  EXPECT_FALSE(objc_msgSend<bool>(glidepad::lastOverlayController, selector<"isFullscreen">()));
}

TEST_F(SwipeHandler, AllPlayerViewsShareOneSwipeKind) {
  auto otherWindow = support::makeWindow(CGRectMake(0, 0, 375, 667));
  auto otherPlayer = support::makePlayerView(CGRectMake(0, 0, 375, 200));
  otherWindow->addSubview(otherPlayer);
  UITouchDispatcher otherTouch(otherWindow);

  touch->touchDown({300, 50});
  touch->touchMove({220, 50});  // begins a volume swipe on the first player
  EXPECT_TRUE(glidepad::isVolumeSwipe);
  swipe(otherTouch, {300, 150}, -1, 2, false);  // a seek swipe on the other
  EXPECT_TRUE(glidepad::isSeekSwipe);
  EXPECT_EQ(newBackwardSeeks(), 0u);  // volume comes first
  EXPECT_EQ(volumeAfterSteps(), stepped(0.5f, 2, -0.02));

  touch->touchesUp();  // ended right after Began: cancelled, which clears every kind
  EXPECT_FALSE(support::anySwipeKind());
  otherTouch.touchMove({150, 150});
  otherTouch.touchesUp();
  EXPECT_EQ(newBackwardSeeks(), 0u);
  EXPECT_EQ(volumeAfterSteps(), stepped(0.5f, 2, -0.02));
}

TEST_F(SwipeHandler, ATapTogglesTheControlsAndASwipeDoesNot) {
  auto controls = alloc_init<TestControlsOverlay>();
  player->setControlsOverlay(controls);
  auto button = objc_cast<UIView>(controls->playPauseButton());
  controls->layoutIfNeeded();
  int passes = controls->layoutPasses;

  touch->touchDown({100, 100});
  touch->touchesUp();
  EXPECT_TRUE(button->isHidden());
  EXPECT_EQ(controls->layoutPasses, passes + 1);
  touch->touchDown({100, 150});
  touch->touchMove({120, 150});  // a small drag is still a tap
  touch->touchesUp();
  EXPECT_FALSE(button->isHidden());

  swipe({300, 50}, -1, 2);  // withheld from the view once started
  swipe({300, 150}, +1, 0);
  touch->touchDown({300, 50});
  touch->touchesCancel();
  EXPECT_FALSE(button->isHidden());
  EXPECT_EQ(player->controlsToggleCount(), 2u);
  EXPECT_EQ(controls->layoutPasses, passes + 2);

  controls.reset();  // not kept by the player
  EXPECT_EQ(player->controlsOverlay(), nullptr);
  touch->touchDown({100, 100});
  touch->touchesUp();
  EXPECT_EQ(player->controlsToggleCount(), 3u);
}
