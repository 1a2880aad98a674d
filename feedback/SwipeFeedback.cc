#include "feedback/SwipeFeedback.h"

#include "UIKit/UIView.h"
#include "dispatch/dispatch.h"
#include "feedback/GLPFeedbackView.h"
#include "feedback/Haptics.h"
#include "objc/runtime.h"
#include "setup/Settings.h"

namespace glidepad {

namespace {

const char kFeedbackViewKey = 0;
constexpr int64_t kHideDelay = 600 * NSEC_PER_MSEC;

// The player view's feedback view, held by the view for its life; none before its first swipe
// that began with the feedback on.
Ref<GLPFeedbackView> feedbackViewOf(const id& playerView) {
  return objc_cast<GLPFeedbackView>(objc_getAssociatedObject(playerView, &kFeedbackViewKey));
}

Ref<GLPFeedbackView> makeFeedbackView(const id& playerView) {
  auto holder = objc_cast<UIView>(playerView);
  if (!holder) return nullptr;
  auto view = objc_cast<GLPFeedbackView>(alloc<GLPFeedbackView>()->initWithFrame(CGRectZero));
  objc_setAssociatedObject(playerView, &kFeedbackViewKey, view, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  // Added now, after the host's own subviews, so that it lies over the controls.
  holder->addSubview(view);
  return view;
}

// The timer holds the view weakly: a player closed meanwhile takes its view along, and the timer
// then finds nothing to hide.
void hideLater(const Ref<GLPFeedbackView>& view) {
  uint64_t token = view->takeHideToken();
  WeakRef<GLPFeedbackView> weak = view;
  dispatch_after(dispatch_time(DISPATCH_TIME_NOW, kHideDelay), dispatch_get_main_queue(),
                 [weak, token] {
                   auto shown = weak.lock();
                   if (shown && shown->hideToken() == token) shown->setHidden(YES);
                 });
}

}  // namespace

void installFeedback() {
  feedbackHooks = {&feedbackSwipeBegan,  &feedbackSwipeStepped, &feedbackSwipeEnded,
                   &feedbackRateStepped, &feedbackHoldBegan,    &feedbackSwipeEnded};
}

void feedbackSwipeBegan(const id& playerView) {
  auto view = feedbackViewOf(playerView);
  if (!view && showFeedback) view = makeFeedbackView(playerView);
  if (!view) return;
  // A view still showing the last swipe keeps its hide timer until this swipe steps.
  view->swipe() = {.shows = showFeedback};
}

void feedbackSwipeStepped(const id& playerView, const SwipeStep& step) {
  if (!step.asked) playStepHaptic(step.moved);
  auto view = feedbackViewOf(playerView);
  if (!view || !view->swipe().shows) return;
  auto& swipe = view->swipe();
  if (!swipe.stepped) {
    swipe.stepped = true;
    view->takeHideToken();  // the last swipe's hide, if still to come, would hide this one
  }
  if (step.control == SwipeControl::Seek) {
    swipe.seekSteps += step.direction;
    view->showSeekSteps(swipe.seekSteps);
  } else {
    view->showLevel(step.control, step.level);
  }
}

void feedbackSwipeEnded(const id& playerView) {
  auto view = feedbackViewOf(playerView);
  if (!view || !view->swipe().stepped) return;
  auto holder = objc_cast<UIView>(playerView);
  if (holder && holder->window()) return hideLater(view);
  // A swipe cancelled as its player leaves the screen: nothing is left to show, nor to run later.
  view->takeHideToken();
  view->setHidden(YES);
}

void feedbackRateStepped(bool moved) { playStepHaptic(moved); }

// A hold shows like a swipe that has stepped, so that its end hides the view as a swipe's does.
void feedbackHoldBegan(const id& playerView, const id& title) {
  if (!showFeedback) return;
  auto view = feedbackViewOf(playerView);
  if (!view) view = makeFeedbackView(playerView);
  if (!view) return;
  view->swipe() = {.shows = true, .stepped = true};
  view->takeHideToken();
  view->showTitle(title);
}

}  // namespace glidepad
