#include "Players.h"

#include "Device.h"

namespace support {

Players::Players(CGSize screen) : app_(screen) {}

host::Player& Players::open(CGSize size, const std::vector<host::RateOption>& rates) {
  players_.push_back(app_.openPlayer(size, rates));
  show(players_.size() - 1);
  app_.layOut(*players_.back());
  return *players_.back();
}

void Players::show(size_t index) {
  if (auto* shown = current()) hide(*shown);
  current_ = index;
  if (auto* player = current()) app_.show(*player);
}

void Players::close(size_t index) {
  if (players_.empty()) return;
  hide(*players_[current_]);
  players_.erase(players_.begin() + static_cast<std::ptrdiff_t>(index));
  current_ = players_.empty() ? 0 : players_.size() - 1;
  if (auto* player = current()) app_.show(*player);
}

void Players::close(const host::Player& player) {
  for (size_t i = 0; i < players_.size(); ++i) {
    if (players_[i].get() == &player) return close(i);
  }
}

void Players::closeAll() {
  touches().touchesCancel();
  if (auto* shown = current()) hide(*shown);
  while (!players_.empty()) players_.pop_back();
  current_ = 0;
}

void Players::beginSwipe(CGPoint from, int moves, double step, double waitMs) {
  finger_ = from;
  touches().touchDown(finger_);
  moveOn(moves, step, waitMs);
}

void Players::moveOn(int moves, double step, double waitMs) {
  for (int i = 0; i < moves; ++i) {
    finger_.x += step;
    touches().touchMove(finger_);
    if (waitMs > 0) wait(waitMs);
  }
}

void Players::wait(double ms) { runMainQueue(static_cast<uint64_t>(ms * NSEC_PER_MSEC)); }

}  // namespace support
