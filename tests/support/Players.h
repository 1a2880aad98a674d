// The host app driven as the app and its user drive it: players opened, shown one at a time and
// closed, and a finger swiping through the window's touch dispatcher.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "host/App.h"

namespace support {

class Players {
 public:
  // The host classes must be registered, and the library loaded, first.
  explicit Players(CGSize screen = {375, 667});
  virtual ~Players() = default;

  host::App& app() { return app_; }
  const host::App& app() const { return app_; }
  UITouchDispatcher& touches() { return app_.touches(); }
  // In the order opened.
  const std::vector<std::unique_ptr<host::Player>>& all() const { return players_; }
  // The player shown; none when none is open.
  host::Player* current() { return players_.empty() ? nullptr : players_[current_].get(); }

  // Opened, shown in place of the current player, laid out.
  host::Player& open(CGSize size = {375, 211},
                     const std::vector<host::RateOption>& rates = host::defaultRateOptions());
  // Shown in place of the current player.
  void show(size_t index);
  // Released at once, whatever the fingers are doing; the last opened of the others is shown.
  void close(size_t index);
  void close(const host::Player& player);
  // Every finger cancelled, then every player closed, the last opened first.
  void closeAll();

  // Down at `from`, then `moves` moves of `step` points along x, `waitMs` apart; no lift.
  void beginSwipe(CGPoint from, int moves, double step, double waitMs = kMoveInterval);
  void moveOn(int moves, double step, double waitMs = kMoveInterval);
  void lift() { touches().touchesUp(); }
  // Runs the main queue `ms` milliseconds on.
  void wait(double ms);

 protected:
  // Takes a player's view out of the window (the fuzz target watches what that does).
  virtual void hide(const host::Player& player) { app_.hide(player); }

 private:
  static constexpr double kMoveInterval = 8;  // a 120 Hz screen's touch rate, about

  host::App app_;
  std::vector<std::unique_ptr<host::Player>> players_;
  size_t current_ = 0;
  CGPoint finger_{0, 0};
};

}  // namespace support
