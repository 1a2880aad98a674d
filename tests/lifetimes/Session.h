// What the lifetime and limit tests share: the host app with the library injected, players opened
// and closed as the app does it, swipes through the window's touches, the main queue's clock, and
// the settings file written and announced as the settings pane does it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string_view>
#include <vector>

#include "CoreGraphics/CGGeometry.h"
#include "gestures/GLPInsideViewGesture.h"
#include "host/App.h"
#include "stepper/ZEBStepper.h"

namespace lifetimes {

bool anySwipeKind();
Ref<GLPInsideViewGesture> swipeRecognizerOf(const host::Player& player);
Ref<ZEBStepper> stepperOf(const host::Player& player);

class Session : public ::testing::Test {
 protected:
  // A 375 x 667 screen at brightness and volume 0.5, the default settings, no queued work.
  void SetUp() override;
  void TearDown() override;

  // Opened, shown in place of the current player, laid out. The default rate options unless given.
  host::Player& open(CGSize size = {375, 211});
  host::Player& open(CGSize size, const std::vector<host::RateOption>& rates);
  // Taken out of the window and released, whatever the fingers are doing.
  void close(host::Player& player);

  // Down at `from`, then `moves` moves of `step` points along x; no lift.
  void beginSwipe(CGPoint from, int moves, double step);
  void moveOn(int moves, double step);
  void lift();
  // Runs the main queue `ms` milliseconds on.
  void wait(double ms);

  // Writes the settings file with the keys given (integers), or raw bytes, and announces it.
  void writeSettings(std::initializer_list<std::pair<const char*, long long>> values);
  void writeSettingsBytes(std::string_view bytes, bool announce = true);
  void announceSettings();

  std::unique_ptr<host::App> app;
  std::vector<std::unique_ptr<host::Player>> players;
  CGPoint finger{0, 0};

 private:
  std::string root_;
};

}  // namespace lifetimes
