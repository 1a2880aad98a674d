#include "sim/PlayerRoster.h"

namespace sim {

int64_t PlayerRoster::open() {
  if (open_.size() >= kMaxOpenPlayers) return 0;
  current_ = ++opened_;
  open_.insert(current_);
  return current_;
}

bool PlayerRoster::makeCurrent(int64_t number) {
  if (!isOpen(number)) return false;
  current_ = number;
  return true;
}

int64_t PlayerRoster::close(int64_t number) {
  int64_t closing = number == 0 ? current_ : number;
  if (open_.erase(closing) == 0) return 0;
  current_ = open_.empty() ? 0 : *open_.rbegin();
  return closing;
}

}  // namespace sim
