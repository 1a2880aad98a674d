#include "Session.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UIScreen.h"
#include "dispatch/dispatch.h"
#include "gestures/SwipeGrafts.h"
#include "setup/Settings.h"

namespace lifetimes {

void Session::SetUp() {
  std::string pattern = ::testing::TempDir() + "glidepad-lifetimes-XXXXXX";
  ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
  root_ = pattern;
  NSSetDeviceRoot_(root_);
  std::filesystem::create_directories(root_ + "/var/mobile/Library/Preferences");
  announceSettings();
  UIScreen::mainScreen()->setBounds_(CGRectMake(0, 0, 375, 667));
  UIScreen::mainScreen()->setBrightness(0.5);
  wait(1000);
  MPVolumeSetSystemVolume_(0.5f);
  app = std::make_unique<host::App>(CGSizeMake(375, 667));
}

void Session::TearDown() {
  app->touches().touchesCancel();
  while (!players.empty()) close(*players.back());
  app.reset();
  wait(1000);
  NSSetDeviceRoot_("");
  announceSettings();
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
}

host::Player& Session::open(CGSize size) { return open(size, host::defaultRateOptions()); }

host::Player& Session::open(CGSize size, const std::vector<host::RateOption>& rates) {
  if (!players.empty()) app->hide(*players.back());
  players.push_back(app->openPlayer(size, rates));
  app->show(*players.back());
  app->layOut(*players.back());
  return *players.back();
}

void Session::close(host::Player& player) {
  for (auto it = players.begin(); it != players.end(); ++it) {
    if (it->get() != &player) continue;
    app->hide(player);
    players.erase(it);
    break;
  }
  if (!players.empty()) app->show(*players.back());
}

void Session::beginSwipe(CGPoint from, int moves, double step) {
  finger = from;
  app->touches().touchDown(finger);
  moveOn(moves, step);
}

void Session::moveOn(int moves, double step) {
  for (int i = 0; i < moves; ++i) {
    finger.x += step;
    app->touches().touchMove(finger);
    wait(8);
  }
}

void Session::lift() { app->touches().touchesUp(); }

void Session::wait(double ms) {
  dispatch_main_clock_advance_to(dispatch_main_clock_now() +
                                 static_cast<uint64_t>(ms * NSEC_PER_MSEC));
}

void Session::writeSettings(std::initializer_list<std::pair<const char*, long long>> values) {
  auto settings = alloc_init<NSMutableDictionary>();
  for (const auto& [key, value] : values) {
    settings->setObject(NSNumber::numberWithLongLong(value), NSStr(key));
  }
  ASSERT_TRUE(settings->writeToFile(NSStr(glidepad::kSettingsPath), YES));
  announceSettings();
}

void Session::writeSettingsBytes(std::string_view bytes, bool announce) {
  std::ofstream(NSDeviceResolvePath_(glidepad::kSettingsPath), std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (announce) announceSettings();
}

void Session::announceSettings() {
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       NSStr("com.vantor.glidepad.prefs-changed").get(), nullptr,
                                       nullptr, true);
}

bool anySwipeKind() {
  return glidepad::isVolumeSwipe || glidepad::isBrightnessSwipe || glidepad::isSeekSwipe;
}

Ref<GLPInsideViewGesture> swipeRecognizerOf(const host::Player& player) {
  for (const auto& recognizer : player.playerView->gestureRecognizers()) {
    if (auto swipe = objc_cast<GLPInsideViewGesture>(recognizer)) return swipe;
  }
  return nullptr;
}

Ref<ZEBStepper> stepperOf(const host::Player& player) {
  if (!player.controlsOverlay) return nullptr;
  return objc_cast<ZEBStepper>(
      objc_msgSend<id>(player.controlsOverlay, selector<"playbackRateStepper">()));
}

}  // namespace lifetimes
