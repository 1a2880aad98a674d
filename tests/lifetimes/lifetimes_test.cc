// Players and swipes whose lifetimes cross: a player closed in the middle of a swipe, a thousand
// players opened and closed, a screen of no size. (A view leaving the window mid-gesture is the
// gesture machinery's, in tests/platform.) Under the sanitizer build a call into
// anything freed fails here, and LeakSanitizer checks at exit that nothing is lost beyond what the
// library keeps on purpose. The same sessions seen from the user's side are in
// tests/scenarios/midswipe.session and limits.session.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "Foundation/NSNotificationCenter.h"
#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UIScreen.h"
#include "dispatch/dispatch.h"
#include "gestures/SwipeGrafts.h"
#include "gestures/VolumeStepper.h"
#include "support/Device.h"
#include "support/Players.h"
#include "support/Views.h"

namespace {

using namespace support;  // the driver's finders

// Everything of one player that must go when the app lets it go.
struct PlayerParts {
  explicit PlayerParts(const host::Player& player)
      : view(player.playerView),
        recognizer(swipeRecognizerOf(player.playerView)),
        overlay(player.controlsOverlay),
        stepper(stepperOf(player)),
        playerController(player.playerController),
        overlayController(player.overlayController) {}
  bool viewsGone() const {
    return view.expired() && recognizer.expired() && overlay.expired() && stepper.expired();
  }
  WeakRef<NSObject> view, recognizer, overlay, stepper, playerController, overlayController;
};

// A 375 x 667 screen at volume 0.5, the default settings on a device root of the test's own.
class Lifetimes : public ::testing::Test, protected Players {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.emplace().ready());
    announceSettings();
    UIScreen::mainScreen()->setBounds_(CGRectMake(0, 0, 375, 667));
    wait(1000);
    MPVolumeSetSystemVolume_(0.5f);
  }
  void TearDown() override {
    closeAll();
    wait(1000);
    root_.reset();
    announceSettings();
  }
  // The volume steps a swipe made, once they have landed (0.02 each; none clamp from 0.5 here).
  int volumeStepsSince(float volume) {
    wait(100);
    return static_cast<int>(std::lround((MPVolumeSystemVolume_() - volume) / 0.02));
  }

 private:
  std::optional<DeviceRoot> root_;
};

}  // namespace

TEST_F(Lifetimes, APlayerClosedMidSwipeEndsTheSwipeAndIsReleased) {
  auto& player = open();
  open();  // the latest controllers, kept on purpose with their views, are this one's
  show(0);
  PlayerParts parts(player);
  beginSwipe({300, 50}, 24, -5);
  ASSERT_TRUE(glidepad::isVolumeSwipe);
  ASSERT_GT(dispatch_main_queue_pending_count(), 0u) << "a step still to land";
  close(player);
  EXPECT_FALSE(anySwipeKind()) << "the swipe is cancelled as its view leaves the window";
  EXPECT_TRUE(parts.view.expired()) << "nothing but the app held the player view";
  EXPECT_FALSE(parts.recognizer.expired()) << "the touch sequence still holds its recognizer";
  moveOn(10, -5);
  lift();
  wait(100);
  EXPECT_EQ(dispatch_main_queue_pending_count(), 0u);
  EXPECT_TRUE(parts.viewsGone());
  EXPECT_TRUE(parts.playerController.expired());
  EXPECT_TRUE(parts.overlayController.expired());
}

TEST_F(Lifetimes, AThousandPlayersLeaveOnlyTheLatestControllersAndTheVolumeView) {
  constexpr int kPlayers = 1000;
  std::vector<PlayerParts> all;
  all.reserve(kPlayers);
  for (int i = 0; i < kPlayers; ++i) {
    auto& player = open();
    all.emplace_back(player);
    player.playerController->selectRateOption(static_cast<uint64_t>(i % 8));
    objc_msgSend(stepperOf(player), selector<"incrementButtonTapped:">(), id());
    if (i % 3 == 0) app().selectRate(player, 2.0f);
    if (i % 10 == 0) {
      beginSwipe({300, 50}, 20, -5);  // volume steps queued
      if (i % 20 == 0) lift();        // else closed with the finger down
    }
    close(player);
    if (i % 10 == 0) lift();
    wait(20);
  }
  wait(1000);
  for (int i = 0; i < kPlayers; ++i) {
    SCOPED_TRACE("player " + std::to_string(i));
    // The latest controllers are kept on purpose, and they hold their views.
    ASSERT_EQ(all[i].viewsGone(), i != kPlayers - 1);
    ASSERT_EQ(all[i].playerController.expired(), i != kPlayers - 1);
    ASSERT_EQ(all[i].overlayController.expired(), i != kPlayers - 1);
  }
  EXPECT_NE(glidepad::volumeView, nullptr) << "kept on purpose for the life of the process";
  EXPECT_FALSE(anySwipeKind());
  // The rate notification reaches no overlay that is gone; without a post, each new overlay's
  // subscription forgets the ones that are gone.
  auto center = NSNotificationCenter::defaultCenter();
  center->postNotificationName(NSStr("Glidepad-updatePlaybackRate"), nullptr);
  EXPECT_EQ(center->observerCount_(), 1u) << "the latest overlay, kept by its controller";
  for (int i = 0; i < kPlayers; ++i) close(open());
  EXPECT_LE(center->observerCount_(), 1u);
}

TEST_F(Lifetimes, AScreenOfNoWidthOrANaNWidthStepsAtMostOncePerSwipe) {
  auto& player = open();
  struct Case {
    double width, direction;
    int steps;  // the scale goes to infinity, 0 or NaN at the first move: one step, then none
  } cases[] = {
      {0, -1, -1},  // infinite scale: the position rises to the largest, a step down
      {0, +1, +1},  // zero scale: the position falls to 0, a step up
      {std::numeric_limits<double>::quiet_NaN(), -1, +1},  // NaN scale counts as position 0
      {-375, -1, +5},  // a negative width turns the scale round: it falls, a step up per move
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " wide, direction " + std::to_string(c.direction));
    UIScreen::mainScreen()->setBounds_(CGRectMake(0, 0, c.width, 667));
    float volume = MPVolumeSystemVolume_();
    beginSwipe({200, 50}, 16, c.direction * 5);
    moveOn(5, c.direction * 5);
    lift();
    EXPECT_EQ(volumeStepsSince(volume), c.steps);
    EXPECT_EQ(swipeRecognizerOf(player.playerView)->scale(), 1.0) << "the next swipe starts afresh";
  }
}
