// Touch sequences on the host app's players with the library injected, mixed with everything else
// that happens around them: settings rewritten (any value, or garbage) and reloaded mid-swipe,
// players opened and closed, the rate stepper tapped, the host's speed menu, the screen resized,
// volume and brightness set from outside, the clock run on.
//
// Besides the sanitizers, every step checks the platform's and the library's rules and traps on a
// violation: each recognizer's state moves and its actions come as the machinery allows (see
// GestureRules.h), a swipe's begin sets at most one kind flag and its end clears them all, no flag
// is left set once the fingers are up, and volume and brightness stay within 0…1.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "Foundation/NSData.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "FuzzDeviceRoot.h"
#include "FuzzInput.h"
#include "GestureRules.h"
#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UIScreen.h"
#include "gestures/GLPInsideViewGesture.h"
#include "gestures/SwipeGrafts.h"
#include "host/Host.h"
#include "setup/Initializer.h"
#include "setup/Settings.h"
#include "substrate.h"
#include "support/Device.h"
#include "support/Players.h"
#include "support/Views.h"

using host::YTMainAppVideoPlayerOverlayViewController;
using host::YTPlayerView;

namespace {

using fuzz::FuzzInput;
using fuzz::Phase;

constexpr CGRect kScreen = {{0, 0}, {375, 667}};
constexpr size_t kMaxPlayers = 4;

void require(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "glidepad fuzz: rule broken: %s\n", rule);
  __builtin_trap();
}

unsigned swipeFlags() {
  return (glidepad::isVolumeSwipe ? 1u : 0u) | (glidepad::isBrightnessSwipe ? 2u : 0u) |
         (glidepad::isSeekSwipe ? 4u : 0u);
}

// A recognizer under watch during one touch event.
struct Watched {
  Ref<GLPInsideViewGesture> recognizer;
  UIGestureRecognizerState before;
  bool targetAlive;
  int actions = 0;
  UIGestureRecognizerState actionState = UIGestureRecognizerStatePossible;
};

// The app's players, each view's leaving the window watched.
class WatchedPlayers : public support::Players {
 public:
  using Players::Players;

 protected:
  void hide(const host::Player& player) override;
};

struct World {
  std::unique_ptr<WatchedPlayers> players;
  // The recognizer of every player view made, for as long as anything keeps it.
  std::vector<WeakRef<GLPInsideViewGesture>> recognizers;
  std::vector<Watched> watched;
  bool watching = false;  // during a touch event, or while views leave the window
};

World& world() {
  static auto* w = new World;
  return *w;
}

TypedIMP<void, id> savedGesture;

// Wraps the library's `GLPGesture:` to check when it is sent and what it does to the flags.
void watchedGesture(const id& self, SEL cmd, id recognizer) {
  auto& w = world();
  require(w.watching, "an action is sent only for a touch event or a view leaving the window");
  Watched* entry = nullptr;
  for (auto& candidate : w.watched) {
    if (candidate.recognizer.get() == recognizer.get()) entry = &candidate;
  }
  require(entry != nullptr, "an action comes from a player view's recognizer");
  require(static_cast<NSObject*>(entry->recognizer->view().get()) == self.get(),
          "the action goes to the recognizer's own view");
  entry->actions++;
  entry->actionState = entry->recognizer->state();
  unsigned before = swipeFlags();
  savedGesture(self, cmd, recognizer);
  unsigned after = swipeFlags();
  switch (entry->actionState) {
    case UIGestureRecognizerStateBegan: {
      unsigned added = after & ~before;
      require((before & ~after) == 0, "a swipe's begin clears no flag");
      require((added & (added - 1)) == 0, "a swipe's begin sets at most one flag");
      break;
    }
    case UIGestureRecognizerStateEnded:
    case UIGestureRecognizerStateCancelled:
      require(after == 0, "a swipe's end clears every flag");
      break;
    default:
      require(after == before, "a change event leaves the flags alone");
      break;
  }
}

void checkLevels() {
  float volume = MPVolumeSystemVolume_();
  double brightness = UIScreen::mainScreen()->brightness();
  require(volume >= 0 && volume <= 1, "the volume stays within 0...1");
  require(brightness >= 0 && brightness <= 1, "the brightness stays within 0...1");
}

void startWatching() {
  auto& w = world();
  std::erase_if(w.recognizers, [](const auto& weak) { return weak.expired(); });
  w.watched.clear();
  for (const auto& weak : w.recognizers) {
    auto recognizer = weak.lock();
    w.watched.push_back({recognizer, recognizer->state(), recognizer->view() != nullptr});
  }
  w.watching = true;
}

fuzz::Outcome outcome(const Watched& entry) {
  return {entry.recognizer->state(), entry.actions, entry.actionState};
}

// Runs one call into the touch dispatcher and checks every recognizer against the rules.
template <class Deliver>
void touchEvent(Phase phase, Deliver&& deliver) {
  auto& w = world();
  auto& touches = w.players->touches();
  size_t fingersBefore = touches.fingerCount();
  startWatching();
  deliver(touches);
  w.watching = false;
  size_t fingersAfter = touches.fingerCount();
  // The dispatcher ignores a move or a lift with no finger down, and fingers past its limit.
  bool delivered = phase == Phase::Began ? fingersAfter != fingersBefore : fingersBefore > 0;
  for (const auto& entry : w.watched) {
    fuzz::Outcome seen = outcome(entry);
    if (delivered) {
      require(fuzz::allowedOutcome(phase, entry.before, entry.targetAlive, seen),
              "the recognizer moves and acts as the gesture machinery allows");
    } else {
      require(seen.after == entry.before && seen.actions == 0,
              "an ignored touch call changes no recognizer");
    }
  }
  w.watched.clear();
  if (fingersAfter == 0) require(swipeFlags() == 0, "no swipe kind outlives its touch sequence");
}

// Hides a player, taking its view out of the window, and checks what that does to gestures.
void WatchedPlayers::hide(const host::Player& player) {
  auto& w = world();
  startWatching();
  Players::hide(player);
  w.watching = false;
  for (const auto& entry : w.watched) {
    require(fuzz::allowedOnLeavingWindow(entry.before, entry.targetAlive, outcome(entry)),
            "a view leaving the window cancels its gestures under way");
  }
  w.watched.clear();
}

std::vector<CGPoint> points(FuzzInput& in) {
  std::vector<CGPoint> result(in.byte() % 4 == 0 ? 2 : 1);
  for (auto& point : result) point = {in.coordinate(), in.coordinate()};
  return result;
}

NSUInteger tapCount(FuzzInput& in) {
  uint8_t selector = in.byte();
  if (selector < 160) return 1;
  if (selector < 250) return selector % 4;
  return in.bits(8);
}

// The keys by the number the corpus gives them: the table's rows, then one the library ignores.
namespace table = glidepad::settings;
constexpr table::Row kKeyRows[] = {table::kEnabledSwitchRow, table::kSpeedRow,
                                   table::kActivateAfterRow, table::kTopAreaRow,
                                   table::kBottomAreaRow,    table::kShowPlaybackRateRow,
                                   table::kShowFeedbackRow,  table::kHapticsRow,
                                   table::kDeadZoneRow,      table::kFullscreenOnlyRow,
                                   table::kVolumeSpeedRow,   table::kBrightnessSpeedRow,
                                   table::kSeekSpeedRow,     table::kRestoreBrightnessRow,
                                   table::kDoubleTapSeekRow, table::kHoldRateRow};
constexpr size_t kKeyChoices = std::size(kKeyRows) + 1;

const char* keyName(size_t index) {
  return index < std::size(kKeyRows) ? table::kKeys[kKeyRows[index]].name : "unknownKey";
}

// As the settings pane does it: the file read, one key changed, the file written whole.
void changeSetting(FuzzInput& in) {
  auto path = NSStr(glidepad::kSettingsPath);
  auto settings =
      objc_cast<NSMutableDictionary>(alloc<NSMutableDictionary>()->initWithContentsOfFile(path));
  if (!settings) settings = alloc_init<NSMutableDictionary>();
  auto key = NSStr(keyName(in.byte() % kKeyChoices));
  switch (in.byte() % 7) {
    case 0:
      settings->removeObjectForKey(key);
      break;
    case 1:
      settings->setObject(NSNumber::numberWithBool(in.byte() % 2), key);
      break;
    case 2:
    case 3:
      settings->setObject(NSNumber::numberWithLongLong(in.anyInteger()), key);
      break;
    case 4:
      settings->setObject(NSNumber::numberWithDouble(in.anyDouble()), key);
      break;
    case 5:
      settings->setObject(
          in.byte() % 2 ? NSStr(std::to_string(in.anyInteger())) : NSStr(in.bytes(in.byte() % 24)),
          key);
      break;
    default: {
      auto bytes = in.bytes(in.byte() % 16);
      settings->setObject(NSData::dataWithBytes(bytes.data(), bytes.size()), key);
      break;
    }
  }
  settings->writeToFile(path, YES);
  if (in.byte() % 4 != 0) support::announceSettings();
}

void replaceSettingsFile(FuzzInput& in) {
  static const std::string path = NSDeviceResolvePath_(glidepad::kSettingsPath);
  fuzz::writeHostFile(path, in.bytes(in.byte()));
  support::announceSettings();
}

void openPlayer(FuzzInput& in) {
  auto& w = world();
  if (w.players->all().size() == kMaxPlayers) return;
  CGSize size{in.length(), in.length()};
  std::vector<host::RateOption> rates(in.byte() % 7);
  if (in.byte() % 16 == 0) rates.resize(40 + in.byte());
  for (size_t i = 0; i < rates.size(); ++i) {
    rates[i] = {in.anyFloat(), "option " + std::to_string(i)};
  }
  if (auto swipe = support::swipeRecognizerOf(w.players->open(size, rates).playerView)) {
    w.recognizers.push_back(swipe);
  }
}

// Closed as the app may close a player: at once, whatever the fingers are doing on it.
void closePlayer(FuzzInput& in) {
  auto& players = *world().players;
  if (!players.all().empty()) players.close(in.byte() % players.all().size());
}

void tapStepper(FuzzInput& in) {
  auto* player = world().players->current();
  auto stepper = player ? support::stepperOf(*player) : nullptr;
  if (!stepper) return;
  bool increment = in.byte() % 2;
  if (in.byte() % 2) {
    // Straight to the button's action, as an accessibility tap reaches it.
    objc_msgSend(
        stepper,
        increment ? selector<"incrementButtonTapped:">() : selector<"decrementButtonTapped:">(),
        id());
    return;
  }
  // A finger on the button's centre, wherever the button is and whatever covers it.
  auto button = increment ? stepper->incrementButton() : stepper->decrementButton();
  CGPoint point = support::centreInWindow(button, world().players->app().window());
  touchEvent(Phase::Began, [&](UITouchDispatcher& touches) { touches.touchDown(point, 1); });
  touchEvent(Phase::Ended, [](UITouchDispatcher& touches) { touches.touchesUp(); });
}

void changeControls(FuzzInput& in) {
  auto& w = world();
  auto* player = world().players->current();
  if (!player) return;
  switch (in.byte() % 4) {
    case 0:
      w.players->app().setControlsShown(*player, in.byte() % 2);
      break;
    case 1:
      w.players->app().setControlsAlpha(*player,
                                        in.byte() % 2 ? in.byte() / 255.0 : in.anyDouble());
      break;
    case 2:
      w.players->app().selectRate(*player, in.anyFloat());
      break;
    default:
      player->playerController->selectRateOption(in.byte() % 2 ? in.byte() % 8 : in.bits(8));
      break;
  }
}

void changeDevice(FuzzInput& in) {
  switch (in.byte() % 3) {
    case 0:
      UIScreen::mainScreen()->setBounds_({{0, 0}, {in.length(), in.length()}});
      break;
    case 1:
      MPVolumeSetSystemVolume_(in.anyFloat());
      break;
    default:
      UIScreen::mainScreen()->setBrightness(in.byte() % 2 ? in.byte() / 255.0 : in.anyDouble());
      break;
  }
}

void advanceClock(FuzzInput& in) {
  uint64_t milliseconds = in.byte() % 8 == 0 ? in.bits(2) : in.byte() % 32;
  support::runMainQueue(milliseconds * NSEC_PER_MSEC);
}

void step(FuzzInput& in) {
  switch (in.byte() % 16) {
    case 0:
    case 1: {
      auto down = points(in);
      NSUInteger taps = tapCount(in);
      touchEvent(Phase::Began,
                 [&](UITouchDispatcher& touches) { touches.touchesDown(down, taps); });
      break;
    }
    case 2:
    case 3:
    case 4:
    case 5: {
      auto moved = points(in);
      touchEvent(Phase::Moved, [&](UITouchDispatcher& touches) { touches.touchesMove(moved); });
      break;
    }
    case 6:
      touchEvent(Phase::Ended, [](UITouchDispatcher& touches) { touches.touchesUp(); });
      break;
    case 7:
      touchEvent(Phase::Cancelled, [](UITouchDispatcher& touches) { touches.touchesCancel(); });
      break;
    case 8:
      changeSetting(in);
      break;
    case 9:
      if (in.byte() % 2) {
        replaceSettingsFile(in);
      } else {
        support::announceSettings();
      }
      break;
    case 10:
      openPlayer(in);
      break;
    case 11:
      closePlayer(in);
      break;
    case 12:
      if (!world().players->all().empty()) {
        world().players->show(in.byte() % world().players->all().size());
      }
      break;
    case 13:
      tapStepper(in);
      break;
    case 14:
      changeControls(in);
      break;
    default:
      if (in.byte() % 2) {
        advanceClock(in);
      } else {
        changeDevice(in);
      }
      break;
  }
  checkLevels();
  if (world().players->touches().fingerCount() == 0) {
    require(swipeFlags() == 0, "no swipe kind is set while no finger is down");
  }
}

// Every input starts from the same app: no fingers, no players, default settings and levels.
void startOver() {
  auto& w = world();
  touchEvent(Phase::Cancelled, [](UITouchDispatcher& touches) { touches.touchesCancel(); });
  w.players->closeAll();
  std::remove(NSDeviceResolvePath_(glidepad::kSettingsPath).c_str());
  support::announceSettings();
  UIScreen::mainScreen()->setBounds_(kScreen);
  support::runMainQueue();
  UIScreen::mainScreen()->setBrightness(0.5);
  MPVolumeSetSystemVolume_(0.5f);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::makeDeviceRoot();
  UIScreen::mainScreen()->setBounds_(kScreen);
  host::registerHostClasses();
  glidepad::initialize();
  MSHookMessageEx(YTPlayerView::objcClass(), selector<"GLPGesture:">(), &watchedGesture,
                  &savedGesture);
  world().players = std::make_unique<WatchedPlayers>(kScreen.size);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  startOver();
  while (!in.empty()) step(in);
  // However the input ended, lifting the fingers ends the sequence by the rules.
  touchEvent(Phase::Ended, [](UITouchDispatcher& touches) { touches.touchesUp(); });
  support::runMainQueue();
  checkLevels();
  return 0;
}
