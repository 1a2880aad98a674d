// What the lifetime and limit tests share: the driver of tests/support on a device root of each
// test's own, and the settings file written and announced as the settings pane does it.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>

#include "support/Device.h"
#include "support/Players.h"
#include "support/Views.h"

namespace lifetimes {

class Session : public ::testing::Test, protected support::Players {
 protected:
  // A 375 x 667 screen at brightness and volume 0.5, the default settings, no queued work.
  void SetUp() override;
  void TearDown() override;

  // Writes the settings file with the keys given (integers), or raw bytes, and announces it.
  void writeSettings(std::initializer_list<std::pair<const char*, long long>> values);
  void writeSettingsBytes(std::string_view bytes, bool announce = true);

 private:
  std::optional<support::DeviceRoot> root_;
};

}  // namespace lifetimes
