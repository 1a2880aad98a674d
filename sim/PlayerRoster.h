// Which players a session has open and which one is current. The script parser checks a script
// against it before anything runs, and the engine runs the same rules, so that both always agree
// on the player a command acts on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <set>

namespace sim {

class PlayerRoster {
 public:
  // More players than any real session opens at once; each open player costs memory and a view
  // hierarchy, so an untrusted script cannot open an unbounded number of them.
  static constexpr size_t kMaxOpenPlayers = 1000;

  // Opens the next player (numbered from 1, never reused) and makes it current. Answers its
  // number, or 0 when kMaxOpenPlayers are open already.
  int64_t open();
  bool isOpen(int64_t number) const { return open_.count(number) != 0; }
  // Makes an open player current; false when `number` is not open.
  bool makeCurrent(int64_t number);
  // Closes `number` (0: the current player); the newest open player then becomes current, or none.
  // Answers the closed player's number, or 0 when it was not open.
  int64_t close(int64_t number);

  // 0 when no player is open.
  int64_t current() const { return current_; }
  size_t openCount() const { return open_.size(); }

 private:
  std::set<int64_t> open_;
  int64_t opened_ = 0;
  int64_t current_ = 0;
};

}  // namespace sim
