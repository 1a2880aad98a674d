// Legal but extreme values, end to end through the host app: the settings at the ends of their
// range, a screen of no size, a settings file far past its bound, a very long list of rates.
// Each behaves as designed; under the sanitizer build none of it may be undefined behaviour.
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "MediaPlayer/MPVolumeView.h"
#include "Session.h"
#include "UIKit/UILabel.h"
#include "UIKit/UIScreen.h"
#include "dispatch/dispatch.h"
#include "gestures/Rounding.h"
#include "gestures/SwipeGrafts.h"
#include "host/YTMainAppVideoPlayerOverlayViewController.h"
#include "host/YTPlayerView.h"
#include "setup/Settings.h"

using host::YTMainAppVideoPlayerOverlayViewController;
using host::YTPlayerView;

namespace {

using namespace support;  // the driver's finders

constexpr uint64_t kMaxPosition = std::numeric_limits<uint64_t>::max();

class Limits : public lifetimes::Session {
 protected:
  // The volume steps a swipe made, once they have landed (0.02 each; none clamp from 0.5 here).
  int volumeStepsSince(float volume) {
    wait(100);
    return static_cast<int>(std::lround((MPVolumeSystemVolume_() - volume) / 0.02));
  }
  std::string labelOf(const host::Player& player) {
    auto text = stepperOf(player)->countLabel()->text();
    return text ? text->string() : "";
  }
};

}  // namespace

TEST_F(Limits, ASpeedOfIntMaxStepsOncePerMoveAndItsTouchDownSeedFitsTheRecognizer) {
  writeSettings({{"speed", INT_MAX}});
  auto& player = open();
  auto recognizer = swipeRecognizerOf(player.playerView);
  EXPECT_EQ(recognizer->gestureSpeed(), uint64_t{INT_MAX} * 10);
  float volume = MPVolumeSystemVolume_();
  beginSwipe({300, 50}, 0, 0);
  EXPECT_EQ(recognizer->currentPoint(), uint64_t{INT_MAX} * 10) << "scale 1 x the speed";
  moveOn(16, -5);  // begun, then the first change sets the baseline
  moveOn(10, -1);
  EXPECT_EQ(recognizer->currentPoint(),
            static_cast<uint64_t>(recognizer->scale() * static_cast<double>(INT_MAX)));
  lift();
  EXPECT_EQ(volumeStepsSince(volume), -10) << "one step per change event, never more";
}

TEST_F(Limits, ANegativeSpeedWrapsTheRecognizerSpeedAndStepsNothing) {
  // The recognizer's speed is the setting widened with its sign and multiplied by 10 as an
  // unsigned 64-bit number: a negative speed wraps round, and the touch-down seed saturates.
  for (long long speed : {-1LL, -250LL, static_cast<long long>(INT_MIN)}) {
    SCOPED_TRACE(speed);
    writeSettings({{"speed", speed}});
    auto& player = open();
    auto recognizer = swipeRecognizerOf(player.playerView);
    EXPECT_EQ(recognizer->gestureSpeed(), static_cast<uint64_t>(speed * 10));
    float volume = MPVolumeSystemVolume_();
    uint64_t seeks = YTMainAppVideoPlayerOverlayViewController::forwardSeekCount();
    beginSwipe({300, 50}, 0, 0);
    // 1.0 x the wrapped speed, as a double: near the top of the range (at the top for -1).
    uint64_t seed = glidepad::toStepPosition(static_cast<double>(recognizer->gestureSpeed()));
    EXPECT_EQ(recognizer->currentPoint(), seed);
    EXPECT_EQ(recognizer->previousPoint(), seed);
    EXPECT_GT(seed, kMaxPosition - (uint64_t{1} << 35));
    if (speed == -1) {
      EXPECT_EQ(seed, kMaxPosition) << "2^64 - 10 rounds to 2^64, which saturates";
    }
    // scale x a negative speed is below 0: every step position is 0, so nothing ever moves.
    moveOn(40, -5);
    EXPECT_EQ(recognizer->currentPoint(), 0u);
    lift();
    beginSwipe({60, 150}, 40, 5);
    lift();
    EXPECT_EQ(volumeStepsSince(volume), 0);
    EXPECT_EQ(YTMainAppVideoPlayerOverlayViewController::forwardSeekCount(), seeks);
    EXPECT_EQ(dispatch_main_queue_pending_count(), 0u);
    close(player);
  }
}

TEST_F(Limits, AnActivationThresholdOfEitherSignAndAnySize) {
  // Below zero: the first move begins the swipe, even one that goes nowhere.
  writeSettings({{"activateAfter", -1}});
  auto& eager = open();
  auto recognizer = swipeRecognizerOf(eager.playerView);
  EXPECT_EQ(recognizer->activateAfter(), -1.0);
  beginSwipe({300, 50}, 1, 0);
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateBegan);
  EXPECT_TRUE(glidepad::isVolumeSwipe);
  lift();
  EXPECT_FALSE(anySwipeKind());
  close(eager);

  // INT_MAX points: no travel up to that begins it; one past the range of a float (where the
  // threshold test is made) is infinite and does.
  writeSettings({{"activateAfter", INT_MAX}});
  auto& never = open();
  recognizer = swipeRecognizerOf(never.playerView);
  float volume = MPVolumeSystemVolume_();
  beginSwipe({300, 50}, 0, 0);
  for (double x : {-1e9, 2e9, -2e9}) touches().touchMove({x, 50});
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStatePossible);
  touches().touchMove({1e20, 50});
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateBegan);
  touches().touchMove({1e20, 50});  // the baseline
  // Infinitely far left: an infinite scale, the largest position, one step down.
  touches().touchMove({-std::numeric_limits<double>::infinity(), 50});
  touches().touchMove({-std::numeric_limits<double>::infinity(), 50});
  EXPECT_EQ(recognizer->state(), UIGestureRecognizerStateChanged);
  EXPECT_EQ(recognizer->currentPoint(), kMaxPosition);
  lift();
  EXPECT_FALSE(anySwipeKind());
  EXPECT_EQ(volumeStepsSince(volume), -1);
}

TEST_F(Limits, AScreenOfNoWidthOrANaNWidthStepsAtMostOncePerSwipe) {
  auto& player = open();
  struct Case {
    double width;
    double direction;
    int steps;  // the scale goes to infinity, 0 or NaN at the first move: one step, then none
  } cases[] = {
      {0, -1, -1},  // infinite scale: the position rises to the largest, a step down
      {0, +1, +1},  // zero scale: the position falls to 0, a step up
      {std::numeric_limits<double>::quiet_NaN(), -1, +1},  // NaN scale counts as position 0
      {-375, -1, +1},  // a negative width turns the scale round: it falls, a step up per move
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " wide, direction " + std::to_string(c.direction));
    UIScreen::mainScreen()->setBounds_(CGRectMake(0, 0, c.width, 667));
    float volume = MPVolumeSystemVolume_();
    beginSwipe({200, 50}, 16, c.direction * 5);
    moveOn(5, c.direction * 5);
    lift();
    int steps = volumeStepsSince(volume);
    if (c.width < 0) {
      EXPECT_EQ(steps, 5);
    } else {
      EXPECT_EQ(steps, c.steps);
    }
    EXPECT_FALSE(anySwipeKind());
    EXPECT_EQ(swipeRecognizerOf(player.playerView)->scale(), 1.0) << "the next swipe starts afresh";
  }
  // Back to a real screen, swipes step as ever.
  UIScreen::mainScreen()->setBounds_(CGRectMake(0, 0, 375, 667));
  float volume = MPVolumeSystemVolume_();
  beginSwipe({300, 50}, 16, -5);
  moveOn(5, -5);
  lift();
  EXPECT_EQ(volumeStepsSince(volume), -5);
}

TEST_F(Limits, ASixtyFourMebibyteSettingsFileIsRefusedUnreadAndGivesTheDefaults) {
  writeSettings({{"speed", 100}});
  ASSERT_EQ(glidepad::speed, 100);
  const size_t kSize = size_t{64} << 20;
  std::string xml =
      "<?xml version=\"1.0\"?><plist><dict><key>speed</key><integer>7</integer>"
      "<key>pad</key><string>";
  xml.resize(kSize - 32, 'a');
  xml += "</string></dict></plist>";
  std::string binary = "bplist00";
  binary.resize(kSize, '\x0F');
  for (const std::string* bytes : {&xml, &binary}) {
    writeSettings({{"speed", 100}});
    writeSettingsBytes(*bytes, false);
    auto started = std::chrono::steady_clock::now();
    support::announceSettings();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_EQ(glidepad::speed, 250);
  }
}

// Not "r" + to_string(i), on which GCC 12 warns falsely at -O3 (-Wrestrict).
std::string numbered(char prefix, int i) {
  char title[16];
  std::snprintf(title, sizeof title, "%c%d", prefix, i);
  return title;
}

TEST_F(Limits, TenThousandRateOptionsStepOneByOneAndStopAtTheEnds) {
  std::vector<host::RateOption> rates;
  for (int i = 0; i < 10000; ++i) {
    rates.push_back({static_cast<float>(i + 1) / 1024, numbered('r', i)});
  }
  auto& player = open({375, 211}, rates);
  auto stepper = stepperOf(player);
  player.playerController->selectRateOption(5000);
  EXPECT_EQ(labelOf(player), "r5000");
  auto started = std::chrono::steady_clock::now();
  for (int i = 0; i < 100; ++i) objc_msgSend(stepper, selector<"incrementButtonTapped:">(), id());
  EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(20));
  EXPECT_EQ(player.playerController->playbackRate(), rates[5100].rate);
  EXPECT_EQ(labelOf(player), "r5100");

  player.playerController->selectRateOption(9999);
  objc_msgSend(stepper, selector<"incrementButtonTapped:">(), id());
  EXPECT_EQ(labelOf(player), "r9999") << "past the last option nothing is sent";
  objc_msgSend(stepper, selector<"decrementButtonTapped:">(), id());
  EXPECT_EQ(labelOf(player), "r9998");
  player.playerController->selectRateOption(0);
  objc_msgSend(stepper, selector<"decrementButtonTapped:">(), id());
  EXPECT_EQ(player.playerController->playbackRate(), rates[0].rate);

  // Ten thousand options of one rate: the first always matches, so "+" always lands on the
  // second, whatever was tapped before.
  std::vector<host::RateOption> same(10000, {1.0f, ""});
  for (int i = 0; i < 10000; ++i) same[i].title = numbered('s', i);
  auto& flat = open({375, 211}, same);
  for (int i = 0; i < 3; ++i) {
    objc_msgSend(stepperOf(flat), selector<"incrementButtonTapped:">(), id());
  }
  EXPECT_EQ(labelOf(flat), "s1");
}
