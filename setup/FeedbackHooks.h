// What the swipes and the rate stepper report as they act, for whoever gives feedback on it. The
// initialiser points these hooks at the feedback it installs; until then each is null and nothing
// is reported, so the features work the same with or without a listener.
#pragma once

#include "objc/objc.h"

namespace glidepad {

enum class SwipeControl { Volume, Brightness, Seek };

// One step of a swipe.
struct SwipeStep {
  SwipeControl control;
  int direction;  // +1: up or forward; -1: down or backward
  // The volume or brightness level once the step took effect (0 to 1), and whether it changed:
  // NO where the level already stood at the end the step heads for. A seek step always moves.
  double level = 0;
  bool moved = true;
  // A volume step takes effect 10 ms after it is asked, on the main queue, and is reported twice:
  // as it is asked (`asked`, with the level held then) and as it lands.
  bool asked = false;
};

struct FeedbackHooks {
  void (*swipeBegan)(const id& playerView) = nullptr;
  // A volume step's landing names the view it was asked on, or nil once that view is gone.
  void (*swipeStepped)(const id& playerView, const SwipeStep& step) = nullptr;
  void (*swipeEnded)(const id& playerView) = nullptr;  // ended or cancelled
  // A "+" or "-" tap on a rate stepper: `moved` is NO where the rate stood at the end of the rate
  // options the tap heads for, so nothing was selected.
  void (*rateStepped)(bool moved) = nullptr;
  // A hold set the rate of the option titled `title`, and later ended (lifted or cancelled).
  void (*holdBegan)(const id& playerView, const id& title) = nullptr;
  void (*holdEnded)(const id& playerView) = nullptr;
};

inline FeedbackHooks feedbackHooks;

}  // namespace glidepad
