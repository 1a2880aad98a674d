// The platform's rules for a swipe recognizer within one touch event, as the fuzzer checks them:
// where the recognizer may go from the state it was in, and which actions it sends meanwhile.
//
// One table serves recognizers inside and outside the touch sequence: a recognizer outside it is
// Possible and stays so, which the table allows for every phase.
#pragma once

#include "UIKit/UIGestureRecognizer.h"

namespace fuzz {

enum class Phase { Began, Moved, Ended, Cancelled };

// What one touch event may do to a recognizer.
struct Outcome {
  UIGestureRecognizerState after;        // after the event; Possible again once a sequence ends
  int actions;                           // actions sent to a living target
  UIGestureRecognizerState actionState;  // the state every action sees
};

inline bool isFinished(UIGestureRecognizerState state) {
  return state == UIGestureRecognizerStateEnded || state == UIGestureRecognizerStateCancelled ||
         state == UIGestureRecognizerStateFailed;
}

// Whether `seen` (the state after the event, the number of actions and the state they saw) is
// one the rules allow for a recognizer that was in `before`. A target that is gone gets nothing.
inline bool allowedOutcome(Phase phase, UIGestureRecognizerState before, bool targetAlive,
                           const Outcome& seen) {
  using S = UIGestureRecognizerState;
  auto is = [&](S after, int actions, S actionState = UIGestureRecognizerStatePossible) {
    if (!targetAlive) actions = 0;
    return seen.after == after && seen.actions == actions &&
           (actions == 0 || seen.actionState == actionState);
  };
  bool sequenceEnds = phase == Phase::Ended || phase == Phase::Cancelled;
  if (isFinished(before)) {
    // No more touches of the sequence; its end resets the recognizer, with no action.
    return sequenceEnds ? is(UIGestureRecognizerStatePossible, 0) : is(before, 0);
  }
  switch (phase) {
    case Phase::Began:
      // A touch that fits waits, or fails where it starts no swipe (a dead zone); anything else,
      // or a finger added to a gesture, cancels.
      if (before == UIGestureRecognizerStatePossible) {
        return is(before, 0) || is(UIGestureRecognizerStateFailed, 0) ||
               is(UIGestureRecognizerStateCancelled, 1, UIGestureRecognizerStateCancelled);
      }
      return is(UIGestureRecognizerStateCancelled, 1, UIGestureRecognizerStateCancelled);
    case Phase::Moved:
      if (before == UIGestureRecognizerStatePossible) {
        return is(before, 0) || is(UIGestureRecognizerStateBegan, 1, UIGestureRecognizerStateBegan);
      }
      if (before == UIGestureRecognizerStateBegan && is(before, 0)) return true;
      return is(UIGestureRecognizerStateChanged, 1, UIGestureRecognizerStateChanged);
    case Phase::Ended:
      if (before == UIGestureRecognizerStatePossible) return is(before, 0);  // failed, then reset
      return before == UIGestureRecognizerStateBegan
                 ? is(UIGestureRecognizerStatePossible, 1, UIGestureRecognizerStateCancelled)
                 : is(UIGestureRecognizerStatePossible, 1, UIGestureRecognizerStateEnded);
    case Phase::Cancelled:
      if (before == UIGestureRecognizerStatePossible) return is(before, 0);
      return is(UIGestureRecognizerStatePossible, 1, UIGestureRecognizerStateCancelled);
  }
  return false;
}

// The same when views leave the window (no touch event): a gesture under way is cancelled with
// its action, one not yet begun may fail (if it takes part in the touch sequence), and any other
// stays as it is.
inline bool allowedOnLeavingWindow(UIGestureRecognizerState before, bool targetAlive,
                                   const Outcome& seen) {
  if (before == UIGestureRecognizerStateBegan || before == UIGestureRecognizerStateChanged) {
    return seen.after == UIGestureRecognizerStateCancelled &&
           seen.actions == (targetAlive ? 1 : 0) &&
           (seen.actions == 0 || seen.actionState == UIGestureRecognizerStateCancelled);
  }
  if (seen.actions != 0) return false;
  if (before == UIGestureRecognizerStatePossible) {
    return seen.after == before || seen.after == UIGestureRecognizerStateFailed;
  }
  return seen.after == before;
}

}  // namespace fuzz
