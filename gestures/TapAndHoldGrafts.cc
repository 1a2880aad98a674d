#include "gestures/TapAndHoldGrafts.h"

#include "UIKit/UITapGestureRecognizer.h"
#include "gestures/DoubleTapChoice.h"
#include "gestures/GLPGestureDelegate.h"
#include "gestures/GLPHoldGesture.h"
#include "gestures/HoldChoice.h"
#include "gestures/SwipeGrafts.h"
#include "setup/FeedbackHooks.h"
#include "setup/HostInterface.h"
#include "setup/RateOptions.h"
#include "setup/ResponderChain.h"
#include "setup/Settings.h"

namespace glidepad {

namespace {

constexpr double kHoldSeconds = 0.5;
constexpr double kHoldMovement = 10;  // points; the finger must stay closer than this

void beginHold(GLPHoldGesture& hold, const id& playerView) {
  id player = responderOfClassUp(playerView, host::kPlayerViewControllerClass);
  HostRateOptions options = rateOptions(player);
  auto position = holdOption(holdRate, options);
  if (!position) return;
  hold.startHold(player, currentRate(player));
  id option = options.optionAt(*position);
  selectRate(player, host::rate(option));
  if (feedbackHooks.holdBegan) feedbackHooks.holdBegan(playerView, host::title(option));
}

// The rate from before the hold comes back, even where the host's menu chose another meanwhile:
// the hold is over, and what was playing before it is what the finger interrupted.
void endHold(GLPHoldGesture& hold, const id& playerView) {
  float rateBefore = 0;
  id player = hold.endHold(rateBefore);
  if (!player) return;
  selectRate(player, rateBefore);
  if (feedbackHooks.holdEnded) feedbackHooks.holdEnded(playerView);
}

}  // namespace

void attachTapAndHold(const id& playerView) {
  id delegate = GLPGestureDelegate::shared();
  auto tap = objc_cast<UITapGestureRecognizer>(
      alloc<UITapGestureRecognizer>()->initWithTarget(playerView, selector<"GLPDoubleTap:">()));
  auto hold = objc_cast<GLPHoldGesture>(
      alloc<GLPHoldGesture>()->initWithTarget(playerView, selector<"GLPHold:">()));
  if (!tap || !hold) return;
  tap->setNumberOfTapsRequired(2);
  tap->setDelegate(delegate);
  hold->setMinimumPressDuration(kHoldSeconds);
  hold->setAllowableMovement(kHoldMovement);
  hold->setDelegate(delegate);
  objc_msgSend(playerView, selector<"addGestureRecognizer:">(), tap);
  objc_msgSend(playerView, selector<"addGestureRecognizer:">(), hold);
}

void playerViewGLPDoubleTap(const id& self, SEL, id recognizer) {
  auto tap = objc_cast<UITapGestureRecognizer>(recognizer);
  auto view = objc_cast<UIView>(self);
  if (!tap || !view || tap->state() != UIGestureRecognizerStateEnded) return;
  TapSide side = tapSide(tap->locationInView(view).x, view->bounds().size.width);
  id overlayController = overlayControllerOfPlayerView(self);
  if (side == TapSide::Middle || !overlayController) return;
  for (int step = 0; step < doubleTapSteps(doubleTapSeek); ++step) {
    if (side == TapSide::Backward) {
      host::didPressSeekBackwardAccessibility(overlayController);
    } else {
      host::didPressSeekForwardAccessibility(overlayController);
    }
  }
}

void playerViewGLPHold(const id& self, SEL, id recognizer) {
  auto hold = objc_cast<GLPHoldGesture>(recognizer);
  if (!hold) return;
  switch (hold->state()) {
    case UIGestureRecognizerStateBegan:
      beginHold(*hold, self);
      break;
    case UIGestureRecognizerStateEnded:
    case UIGestureRecognizerStateCancelled:  // the player closing, or the system's cancel
      endHold(*hold, self);
      break;
    default:
      break;
  }
}

}  // namespace glidepad
