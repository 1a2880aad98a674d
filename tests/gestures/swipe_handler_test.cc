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

TEST_F(SwipeHandler, AttachesARecognizerConfiguredFromTheSettingsWhenTheViewIsMade) {
  auto gesture = support::swipeRecognizerOf(player);
  ASSERT_TRUE(gesture);
  EXPECT_FALSE(gesture->cancelsTouchesInView());
  EXPECT_EQ(gesture->numberOfTapsRequired(), 0u);
  EXPECT_EQ(gesture->gestureSpeed(), 2500u);
  EXPECT_EQ(gesture->activateAfter(), 70.0);
  glidepad::speed = -3;
  glidepad::activateAfter = 15;
  EXPECT_EQ(gesture->gestureSpeed(), 2500u);
  auto later = support::swipeRecognizerOf(support::makePlayerView(CGRectZero));
  EXPECT_EQ(later->gestureSpeed(), static_cast<uint64_t>(-30));
  EXPECT_EQ(later->activateAfter(), 15.0);
}

TEST_F(SwipeHandler, CoordinatesNoScreenHasStepAtMostOncePerMove) {
  // Coordinates no screen has: at most one step per move, each converted without overflow.
  constexpr double kInf = std::numeric_limits<double>::infinity();
  touch->touchDown({200, 50});
  for (double x : {100.0, 100.0, -1e300, std::nan(""), kInf, -kInf, 1e300}) {
    touch->touchMove({x, 50});
  }
  touch->touchesUp();
  support::runMainQueue();
  EXPECT_GE(testsupport::volumeValuesSet().size(), 1u);
  EXPECT_LE(testsupport::volumeValuesSet().size(), 5u);
  EXPECT_FALSE(support::anySwipeKind());
}

TEST_F(SwipeHandler, EachAreaCodeChoosesItsKindAtTheBegin) {
  glidepad::topArea = 2;
  glidepad::bottomArea = 2;
  UIScreen::mainScreen()->setBrightness(0.01);
  swipe({300, 150}, +1, 1);
  swipe({300, 50}, -1, 2);
  ASSERT_EQ(testsupport::brightnessValuesSet().size(), 3u);
  float up = static_cast<float>(0.01 + 0.02);
  EXPECT_EQ(testsupport::brightnessValuesSet()[0], static_cast<double>(up));
  EXPECT_EQ(testsupport::brightnessValuesSet()[1],
            static_cast<double>(static_cast<float>(static_cast<double>(up) - 0.02)));
  EXPECT_LT(testsupport::brightnessValuesSet()[2], 0.0);  // passed on unbounded
  EXPECT_EQ(UIScreen::mainScreen()->brightness(), 0.0);   // the screen's own clamp

  glidepad::topArea = 3;
  swipe({300, 50}, -1, 1, false);
  glidepad::topArea = 1;  // read at every begin, not during the swipe
  touch->touchMove({200, 50});
  touch->touchesUp();
  EXPECT_EQ(newBackwardSeeks(), 2u);
  for (int unknown : {0, 4}) {
    glidepad::topArea = unknown;
    swipe({300, 50}, -1, 3, false);
    EXPECT_FALSE(support::anySwipeKind()) << unknown;
    touch->touchesUp();
  }
  EXPECT_EQ(newBackwardSeeks(), 2u);
  EXPECT_EQ(volumeAfterSteps(), 0.5f);
  EXPECT_EQ(testsupport::brightnessValuesSet().size(), 3u);
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
  second->setPlaybackPosition(15);
  second->loadViewIfNeeded();
  EXPECT_EQ(glidepad::lastOverlayController, second);
  swipe({300, 150}, -1, 3);
  EXPECT_EQ(newBackwardSeeks(), 3u);
  EXPECT_EQ(second->playbackPosition(), 0.0);  // not before the start
  EXPECT_EQ(first->playbackPosition(), 0.0);
}

TEST_F(SwipeHandler, AllPlayerViewsShareOneSwipeKindThatACancelClears) {
  auto otherWindow = support::makeWindow(CGRectMake(0, 0, 375, 667));
  auto otherPlayer = support::makePlayerView(CGRectMake(0, 0, 375, 200));
  otherWindow->addSubview(otherPlayer);
  UITouchDispatcher otherTouch(otherWindow);

  touch->touchDown({300, 50});
  touch->touchMove({220, 50});                  // begins a volume swipe on the first player
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
