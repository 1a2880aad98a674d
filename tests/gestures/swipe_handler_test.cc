#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "MediaPlayer/MPVolumeView.h"
#include "TestSupport.h"
#include "UIKit/UIScreen.h"
#include "gestures/SwipeGrafts.h"
#include "support/Players.h"

namespace {

using Overlay = host::YTMainAppVideoPlayerOverlayViewController;

// A player 200 points high (its upper half ends at y 100), with the default settings.
class SwipeHandler : public ::testing::Test {
 protected:
  void SetUp() override {
    player = players.open({375, 200}).playerView;
    MPVolumeSetSystemVolume_(0.5f);
    support::runMainQueue();
    testsupport::volumeValuesSet.clear();
    testsupport::brightnessValuesSet.clear();
    backwardSeeks = Overlay::backwardSeekCount();
    forwardSeeks = Overlay::forwardSeekCount();
  }
  void TearDown() override {
    players.closeAll();
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
    swipe(players.touches(), from, direction, steps, lift);
  }
  uint64_t newBackwardSeeks() const { return Overlay::backwardSeekCount() - backwardSeeks; }
  float volumeAfterSteps() {
    support::runMainQueue();
    return MPVolumeSystemVolume_();
  }

  support::SettingsScope settings;
  support::Players players;
  Ref<host::YTPlayerView> player;
  uint64_t backwardSeeks = 0, forwardSeeks = 0;
};

}  // namespace

// That a player takes the settings when its view is made is checked end to end by
// tests/scenarios/limits.session.
TEST_F(SwipeHandler, AttachesARecognizerThatLetsTheHostSeeItsTouchesAtTenTimesTheSpeed) {
  auto gesture = support::swipeRecognizerOf(player);
  ASSERT_TRUE(gesture);
  EXPECT_FALSE(gesture->cancelsTouchesInView());
  EXPECT_EQ(gesture->gestureSpeed(), 2500u);
}

TEST_F(SwipeHandler, CoordinatesNoScreenHasStepAtMostOncePerMove) {
  // Coordinates no screen has: at most one step per move, each converted without overflow.
  constexpr double kInf = std::numeric_limits<double>::infinity();
  players.touches().touchDown({200, 50});
  for (double x : {100.0, 100.0, -1e300, std::nan(""), kInf, -kInf, 1e300}) {
    players.touches().touchMove({x, 50});
  }
  players.lift();
  support::runMainQueue();
  EXPECT_GE(testsupport::volumeValuesSet.size(), 1u);
  EXPECT_LE(testsupport::volumeValuesSet.size(), 5u);
  EXPECT_FALSE(support::anySwipeKind());
}

// The area codes, the halves and the settings read at each begin are checked end to end by
// tests/scenarios/areas.session, half.session and midswipe.session; here the exact steps.
TEST_F(SwipeHandler, BrightnessStepsRoundToSinglePrecisionAndPassOnUnbounded) {
  glidepad::topArea = 2;
  glidepad::bottomArea = 2;
  UIScreen::mainScreen()->setBrightness(0.01);
  swipe({300, 150}, +1, 1);
  swipe({300, 50}, -1, 2);
  ASSERT_EQ(testsupport::brightnessValuesSet.size(), 3u);
  float up = static_cast<float>(0.01 + 0.02);
  EXPECT_EQ(testsupport::brightnessValuesSet[0], static_cast<double>(up));
  EXPECT_EQ(testsupport::brightnessValuesSet[1],
            static_cast<double>(static_cast<float>(static_cast<double>(up) - 0.02)));
  EXPECT_LT(testsupport::brightnessValuesSet[2], 0.0);   // passed on unbounded
  EXPECT_EQ(UIScreen::mainScreen()->brightness(), 0.0);  // the screen's own clamp
}

TEST_F(SwipeHandler, SeeksGoToTheSwipedPlayersOverlayControllerElseTheLastLoaded) {
  auto& own = *players.current();
  auto later = alloc_init<Overlay>();
  later->loadViewIfNeeded();
  swipe({100, 150}, +1, 3);
  EXPECT_EQ(own.overlayController->playbackPosition(), 30.0) << "the swiped player's own";
  EXPECT_EQ(later->playbackPosition(), 0.0);
  // A player view that holds no overlay controller's view seeks the one loaded last.
  own.overlayController->setView(nullptr);
  swipe({100, 150}, +1, 3);
  EXPECT_EQ(later->playbackPosition(), 30.0);
  glidepad::lastOverlayController = nullptr;
  swipe({100, 150}, +1, 3);
  EXPECT_EQ(Overlay::forwardSeekCount(), forwardSeeks + 6) << "nothing to seek";
}

TEST_F(SwipeHandler, AllPlayerViewsShareOneSwipeKindThatACancelClears) {
  support::Players other;  // another window
  other.open({375, 200});
  UITouchDispatcher& otherTouch = other.touches();
  players.touches().touchDown({300, 50});
  players.touches().touchMove({220, 50});       // begins a volume swipe on the first player
  swipe(otherTouch, {300, 150}, -1, 2, false);  // a seek swipe on the other
  EXPECT_TRUE(glidepad::isSeekSwipe);
  EXPECT_EQ(newBackwardSeeks(), 0u);  // volume comes first
  const float twoDown = static_cast<float>(static_cast<double>(0.48f) - 0.02);
  EXPECT_EQ(volumeAfterSteps(), twoDown);
  players.lift();  // ended right after Began: cancelled, which clears every kind
  EXPECT_FALSE(support::anySwipeKind());
  otherTouch.touchMove({150, 150});
  otherTouch.touchesUp();
  EXPECT_EQ(newBackwardSeeks(), 0u);
  EXPECT_EQ(volumeAfterSteps(), twoDown);
}
