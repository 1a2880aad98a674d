// A long swipe on a player of the stand-in app, held in its Changed state: the finger goes back
// and forth between two points 100 points apart, so that every move is a change of the gesture
// and most moves step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "DirectTouch.h"
#include "gestures/GLPInsideViewGesture.h"
#include "support/Players.h"

namespace bench {

enum class SwipeKind { Volume, Seek };  // begun in the upper or in the lower half of the player

// How the moves reach the swipe recognizer.
enum class Delivery {
  Dispatcher,  // the whole path: the window's touch delivery, the machinery, then the system
  Recognizer,  // the system's share: `touchesMoved` on the recognizer, then its action
};

// How the finger moves once the swipe is under way.
enum class Motion {
  BackAndForth,  // 100 points back and forth, 5 a move: nearly every move steps
  Still,         // a quarter point back and forth, within one step position: no move steps
};

class HeldSwipe {
 public:
  // Volume steps are queued 10 ms ahead; draining this often keeps the queue within the room it
  // reserved, so that queueing never grows it.
  static constexpr size_t kDrainEvery = 32;

  HeldSwipe(SwipeKind kind, Delivery delivery, Motion motion = Motion::BackAndForth);
  ~HeldSwipe();
  HeldSwipe(const HeldSwipe&) = delete;
  HeldSwipe& operator=(const HeldSwipe&) = delete;

  // One move of the finger, to the next point of its back-and-forth.
  void move();
  // Runs the volume steps queued so far.
  void drain();

  // Volume steps asked for and seeks made since the swipe began to change.
  uint64_t steps() const;
  // The swipe recognizer is in its Changed state.
  bool isChanged() const;

 private:
  void deliver(CGPoint point);
  uint64_t seeks() const;

  SwipeKind kind_;
  Delivery delivery_;
  Motion motion_;
  support::Players players_;
  Ref<GLPInsideViewGesture> gesture_;
  DirectTouch touch_;  // the Recognizer delivery's
  double y_ = 0;
  size_t next_ = 0;
  uint64_t volumeStepsRun_ = 0;
  uint64_t seeksBefore_ = 0;
};

// The steady state's arithmetic on plain values, with no runtime, objects or queue: what the
// swipe would cost if the layers cost nothing. Per move: the scale from the travel since
// touch-down, the step position it gives (truncated), and the ratchet's compare.
class DirectSwipe {
 public:
  DirectSwipe(double screenWidth, int speed);
  // Moves the finger to window x, returning -1, 0 or +1 for a step down, none, or up.
  int move(double x);
  uint64_t steps() const { return steps_; }

 private:
  double initialX_;
  double screenWidth_;
  double scaleFactor_ = 1.5;
  double initialScale_ = 1.0;
  double scale_ = 1.0;
  int speed_;
  uint64_t previous_ = 0;
  uint64_t current_ = 0;
  uint64_t steps_ = 0;
};

// The finger's back-and-forth: move `index` goes to window x `swipeX(index)`, repeating every
// kSwipeCycle moves.
inline constexpr size_t kSwipeCycle = 40;
double swipeX(size_t index);

}  // namespace bench
