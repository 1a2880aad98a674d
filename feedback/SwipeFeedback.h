// The feedback on what the swipes and the rate stepper do: the feedback view over each player
// view, and the haptics. `installFeedback` points the hooks of setup/FeedbackHooks.h here.
#pragma once

#include "setup/FeedbackHooks.h"

namespace glidepad {

void installFeedback();

// The hooks, in the order a swipe reports.
void feedbackSwipeBegan(const id& playerView);
void feedbackSwipeStepped(const id& playerView, const SwipeStep& step);
void feedbackSwipeEnded(const id& playerView);
void feedbackRateStepped(bool moved);
void feedbackHoldBegan(const id& playerView, const id& title);

}  // namespace glidepad
