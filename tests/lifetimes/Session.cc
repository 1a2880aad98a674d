#include "Session.h"

#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UIScreen.h"
#include "setup/Settings.h"

namespace lifetimes {

void Session::SetUp() {
  ASSERT_TRUE(root_.emplace().ready());
  support::announceSettings();
  UIScreen::mainScreen()->setBounds_(CGRectMake(0, 0, 375, 667));
  UIScreen::mainScreen()->setBrightness(0.5);
  wait(1000);
  MPVolumeSetSystemVolume_(0.5f);
}

void Session::TearDown() {
  closeAll();
  wait(1000);
  root_.reset();
  support::announceSettings();
}

void Session::writeSettings(std::initializer_list<std::pair<const char*, long long>> values) {
  auto settings = alloc_init<NSMutableDictionary>();
  for (const auto& [key, value] : values) {
    settings->setObject(NSNumber::numberWithLongLong(value), NSStr(key));
  }
  ASSERT_TRUE(settings->writeToFile(NSStr(glidepad::kSettingsPath), YES));
  support::announceSettings();
}

void Session::writeSettingsBytes(std::string_view bytes, bool announce) {
  root_->write(glidepad::kSettingsPath, bytes);
  if (announce) support::announceSettings();
}

}  // namespace lifetimes
