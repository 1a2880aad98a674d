#include "Session.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "Foundation/DeviceRoot.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UIScreen.h"
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
}

void Session::TearDown() {
  closeAll();
  wait(1000);
  NSSetDeviceRoot_("");
  announceSettings();
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
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

}  // namespace lifetimes
