// Players, swipes and settings whose lifetimes cross: a player closed in the middle of a swipe,
// a thousand players opened and closed, the settings reloaded or garbled while a finger is down.
// Under the sanitizer build a call into anything freed fails here, and LeakSanitizer checks at exit
// that nothing is lost beyond what the library keeps on purpose.
#include <sys/resource.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "Foundation/NSNotificationCenter.h"
#include "MediaPlayer/MPVolumeView.h"
#include "Session.h"
#include "UIKit/UIScreen.h"
#include "dispatch/dispatch.h"
#include "gestures/SwipeGrafts.h"
#include "gestures/VolumeStepper.h"
#include "host/YTMainAppVideoPlayerOverlayViewController.h"
#include "host/YTPlayerView.h"
#include "setup/Settings.h"

using host::YTMainAppVideoPlayerOverlayViewController;
using host::YTPlayerView;

namespace {

using lifetimes::Session;
using namespace support;  // the driver's finders
using Overlay = YTMainAppVideoPlayerOverlayViewController;

// `steps` volume steps of 0.02 from `volume`, as the main queue applies them.
float afterVolumeSteps(float volume, int steps, double step) {
  for (int i = 0; i < steps; ++i) {
    volume = static_cast<float>(static_cast<double>(volume) + step);
    volume = volume < 0 ? 0 : volume > 1 ? 1 : volume;
  }
  return volume;
}

uint64_t seeks() { return Overlay::backwardSeekCount() + Overlay::forwardSeekCount(); }

long residentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

// Everything of one player that must go when the app lets it go.
struct PlayerParts {
  explicit PlayerParts(const host::Player& player)
      : view(player.playerView),
        recognizer(support::swipeRecognizerOf(player.playerView)),
        overlay(player.controlsOverlay),
        stepper(support::stepperOf(player)),
        playerController(player.playerController),
        overlayController(player.overlayController) {}
  bool viewsGone() const {
    return view.expired() && recognizer.expired() && overlay.expired() && stepper.expired();
  }
  WeakRef<NSObject> view, recognizer, overlay, stepper, playerController, overlayController;
};

class Lifetimes : public Session {};

}  // namespace

TEST_F(Lifetimes, APlayerClosedMidSwipeEndsTheSwipeAndItsQueuedStepsStillLand) {
  auto& player = open();
  PlayerParts parts(player);
  // Upper half, leftward: 15 moves to begin, one more into Changed, then a step per move.
  beginSwipe({300, 50}, 24, -5);
  ASSERT_TRUE(glidepad::isVolumeSwipe);
  size_t queued = dispatch_main_queue_pending_count();
  ASSERT_GT(queued, 0u) << "a step asked for in the last 10 ms is still to land";
  float volume = MPVolumeSystemVolume_();

  close(player);
  EXPECT_FALSE(anySwipeKind()) << "the swipe is cancelled as its view leaves the window";
  EXPECT_TRUE(parts.view.expired()) << "nothing but the app held the player view";
  EXPECT_FALSE(parts.recognizer.expired()) << "the touch sequence still holds its recognizer";
  moveOn(10, -5);  // the finger goes on over where the player was
  lift();
  wait(100);
  EXPECT_FLOAT_EQ(MPVolumeSystemVolume_(), afterVolumeSteps(volume, int(queued), -0.02))
      << "the steps queued before the close land, and no more";
  EXPECT_EQ(dispatch_main_queue_pending_count(), 0u);
  EXPECT_TRUE(parts.viewsGone());
  EXPECT_FALSE(parts.playerController.expired()) << "kept on purpose: the latest controllers";
  EXPECT_FALSE(parts.overlayController.expired());

  // No kind outlived the swipe: the next one, in the lower half, seeks and leaves the volume.
  open();
  float before = MPVolumeSystemVolume_();
  uint64_t seeksBefore = seeks();
  beginSwipe({60, 150}, 24, 5);
  lift();
  wait(100);
  EXPECT_GT(seeks(), seeksBefore);
  EXPECT_EQ(MPVolumeSystemVolume_(), before);

  // A player switched away from mid-swipe (hidden, not released) ends the swipe the same way,
  // and its recognizer takes nothing more of that touch sequence.
  auto& first = open();
  auto& second = open();
  close(second);  // the first is shown again
  auto recognizer = swipeRecognizerOf(first.playerView);
  beginSwipe({300, 50}, 24, -5);
  ASSERT_TRUE(glidepad::isVolumeSwipe);
  app().hide(first);
  EXPECT_FALSE(anySwipeKind());
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateCancelled);
  moveOn(5, -5);
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateCancelled);
  lift();
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStatePossible);
  // A finger down but no swipe begun yet: the recognizer fails and begins nothing afterwards.
  app().show(first);
  beginSwipe({300, 50}, 3, -5);
  app().hide(first);
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateFailed);
  moveOn(30, -5);
  EXPECT_FALSE(anySwipeKind());
  lift();
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStatePossible);
}

TEST_F(Lifetimes, AThousandPlayersLeaveOnlyTheLatestControllersAndTheVolumeView) {
  constexpr int kPlayers = 1000;
  std::vector<PlayerParts> all;
  all.reserve(kPlayers);
  auto center = NSNotificationCenter::defaultCenter();
  long residentAt100 = 0;
  for (int i = 0; i < kPlayers; ++i) {
    auto& player = open();
    all.emplace_back(player);
    player.playerController->selectRateOption(static_cast<uint64_t>(i % 8));
    auto stepper = stepperOf(player);
    ASSERT_NE(stepper, nullptr);
    objc_msgSend(stepper, selector<"incrementButtonTapped:">(), id());
    objc_msgSend(stepper, selector<"decrementButtonTapped:">(), id());
    if (i % 3 == 0) app().selectRate(player, 2.0f);
    if (i % 10 == 0) {
      beginSwipe({300, 50}, 20, -5);  // volume steps queued
      if (i % 20 == 0) lift();        // else closed with the finger down
    }
    close(player);
    if (i % 10 == 0) lift();
    wait(20);
    if (i == 99) residentAt100 = residentKilobytes();
  }
  wait(1000);

  for (int i = 0; i < kPlayers; ++i) {
    SCOPED_TRACE("player " + std::to_string(i));
    ASSERT_TRUE(all[i].viewsGone());
    bool latest = i == kPlayers - 1;
    ASSERT_EQ(all[i].playerController.expired(), !latest);
    ASSERT_EQ(all[i].overlayController.expired(), !latest);
  }
  EXPECT_NE(glidepad::volumeView, nullptr) << "kept on purpose for the life of the process";
  EXPECT_FALSE(anySwipeKind());
  EXPECT_EQ(dispatch_main_queue_pending_count(), 0u);
  // The rate notification reaches no overlay that is gone.
  open().playerController->selectRateOption(3);
  close(*Players::all().back());
  center->postNotificationName(NSStr("Glidepad-updatePlaybackRate"), nullptr);
  EXPECT_EQ(center->observerCount_(), 0u);

  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  long residentAt1000 = residentKilobytes();
  std::printf(
      "[ figures  ] 1000 players opened and closed: peak RSS %.1f MiB; resident %.1f MiB "
      "after 100 players, %.1f MiB after 1000\n",
      usage.ru_maxrss / 1024.0, residentAt100 / 1024.0, residentAt1000 / 1024.0);
  RecordProperty("peak_rss_kb", std::to_string(usage.ru_maxrss));
}

TEST_F(Lifetimes, ObserversOfClosedOverlaysDoNotPileUpWithoutAPost) {
  auto center = NSNotificationCenter::defaultCenter();
  for (int i = 0; i < 1000; ++i) close(open());
  // No rate was selected, so nothing was posted: each new overlay's subscription has to forget
  // the ones that are gone.
  EXPECT_LE(center->observerCount_(), 1u);
}

TEST_F(Lifetimes, ASettingsReloadMidSwipeKeepsItsKindAndTakesTheNewSpeedAtOnce) {
  open();
  // Upper half, leftward: volume. At speed 250 half-point moves make a step every few moves.
  beginSwipe({300, 50}, 17, -5);
  ASSERT_TRUE(glidepad::isVolumeSwipe);
  moveOn(6, -0.5);
  wait(20);
  float volume = MPVolumeSystemVolume_();

  writeSettings({{"topArea", 3}, {"speed", 2500}});
  EXPECT_EQ(glidepad::topArea, 3);
  EXPECT_EQ(glidepad::speed, 2500);
  EXPECT_TRUE(glidepad::isVolumeSwipe) << "the kind is chosen once, at the swipe's begin";
  moveOn(6, -0.5);  // at ten times the speed, a step per move
  wait(20);
  EXPECT_FLOAT_EQ(MPVolumeSystemVolume_(), afterVolumeSteps(volume, 6, -0.02));
  lift();
  EXPECT_FALSE(anySwipeKind());

  // The next swipe in the upper half reads the new area: it seeks.
  volume = MPVolumeSystemVolume_();
  uint64_t seeksBefore = seeks();
  beginSwipe({300, 50}, 20, -5);
  lift();
  wait(20);
  EXPECT_GT(seeks(), seeksBefore);
  EXPECT_EQ(MPVolumeSystemVolume_(), volume);
}

TEST_F(Lifetimes, ASettingsFileGarbledMidSwipeGivesTheDefaultsAndTheSwipeGoesOn) {
  writeSettings({{"topArea", 2}, {"speed", 100}});
  open();
  beginSwipe({300, 50}, 20, -5);
  ASSERT_TRUE(glidepad::isBrightnessSwipe);
  std::string deepXml = "<plist><dict><key>speed</key><integer>5</integer><key>k</key>";
  for (int i = 0; i < 1000000; ++i) deepXml += "<array>";
  std::string deepBinary = "bplist00";
  for (int i = 0; i < 200000; ++i) deepBinary += "\xA1\x01";  // arrays each holding the next
  const std::string garbage[] = {
      std::string(4096, '\xA5'),
      "bplist00\xD1\x01\x02" + std::string(40, '\xFF'),
      "<?xml version=\"1.0\"?><plist><dict><key>speed</key><integer>",
      deepXml,
      deepBinary,
      std::string("\0\0\0\0\0\0\0\0", 8),
  };
  for (const auto& bytes : garbage) {
    double brightness = UIScreen::mainScreen()->brightness();
    writeSettingsBytes(bytes);
    EXPECT_EQ(glidepad::speed, 250) << "the defaults";
    EXPECT_EQ(glidepad::topArea, 1);
    EXPECT_TRUE(glidepad::isBrightnessSwipe) << "the swipe keeps its kind";
    moveOn(3, -5);
    EXPECT_LT(UIScreen::mainScreen()->brightness(), brightness) << "and goes on stepping";
  }
  lift();
  EXPECT_FALSE(anySwipeKind());
  // The next swipe in the upper half takes the default area: the volume.
  beginSwipe({300, 50}, 20, -5);
  EXPECT_TRUE(glidepad::isVolumeSwipe);
  lift();
}
