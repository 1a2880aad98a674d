#include "stepper/RateStepperGrafts.h"

#include <limits>

#include "Foundation/NSArray.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"
#include "UIKit/NSLayoutConstraint.h"
#include "objc/runtime.h"
#include "setup/FeedbackHooks.h"
#include "setup/HostInterface.h"
#include "setup/RateOptions.h"
#include "setup/ResponderChain.h"
#include "setup/SavedImplementations.h"
#include "stepper/RateChoice.h"
#include "stepper/ZEBStepper.h"

namespace glidepad {

namespace {

const char kStepperKey = 0;

// The player controller whose view loaded last: the source of the rate and the target of the
// steps of a view that finds no player controller of its own. Never cleared.
id lastPlayerController;

// The player controller of the player a view of the controls belongs to, up the responder chain
// (the controls overlay's next responder is its overlay controller, whose next is the player
// view, whose next is the player controller).
id playerControllerOf(const id& view) {
  if (id found = responderOfClassUp(view, host::kPlayerViewControllerClass)) return found;
  return lastPlayerController;
}

const Ref<NSString>& updatePlaybackRateName() {
  static const auto* name = new Ref<NSString>(NSStr(kUpdatePlaybackRateNotification));
  return *name;
}

Ref<ZEBStepper> stepperOf(const id& overlay) {
  return objc_cast<ZEBStepper>(objc_msgSend<id>(overlay, selector<"playbackRateStepper">()));
}

void showTitle(const Ref<ZEBStepper>& stepper, const id& title) {
  if (!stepper) return;
  if (auto label = stepper->countLabel()) label->setText(NSString::stringWithFormat("%@", title));
}

// The stepper fades and hides with the play/pause button, at creation and at every layout pass.
void followPlayPauseButton(const Ref<UIView>& stepper, const id& overlay) {
  id button = host::playPauseButton(overlay);
  stepper->setAlpha(objc_msgSend<double>(button, selector<"alpha">()));
  stepper->setHidden(objc_msgSend<bool>(button, selector<"isHidden">()));
}

void stepPlaybackRate(const Ref<ZEBStepper>& stepper, StepDirection direction) {
  // Held for the whole step: the selection re-enters the system before the label is written.
  id player = playerControllerOf(stepper);
  float rate = currentRate(player);
  HostRateOptions options = rateOptions(player);
  auto target = stepTarget(rate, options, direction);
  if (feedbackHooks.rateStepped) feedbackHooks.rateStepped(target.has_value());
  if (!target) return;
  id option = options.optionAt(*target);
  selectRate(player, host::rate(option));
  // Last, so that the tapped stepper shows the option it selected, whatever the relabelling of
  // every overlay made of the rate the host then reports.
  showTitle(stepper, host::title(option));
}

void addConstraint(const Ref<UIView>& holder, const Ref<UIView>& item, NSLayoutAttribute attribute,
                   const Ref<UIView>& other, NSLayoutAttribute otherAttribute, double constant) {
  holder->addConstraint(NSLayoutConstraint::constraintWithItem(
      item, attribute, NSLayoutRelationEqual, other, otherAttribute, 1.0, constant));
}

}  // namespace

void playerControllerViewDidLoad(const id& self, SEL _cmd) {
  saved::playerControllerViewDidLoad(self, _cmd);
  lastPlayerController = self;
}

void playerControllerDidSelectRate(const id& self, SEL _cmd, id varispeedController, float rate) {
  saved::playerControllerDidSelectRate(self, _cmd, varispeedController, rate);
  NSNotificationCenter::defaultCenter()->postNotificationName(updatePlaybackRateName(), nullptr);
}

id controlsOverlayPlaybackRateStepper(const id& self, SEL) {
  return objc_getAssociatedObject(self, &kStepperKey);
}

void controlsOverlaySetPlaybackRateStepper(const id& self, SEL, id stepper) {
  objc_setAssociatedObject(self, &kStepperKey, stepper, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

id controlsOverlayInitWithDelegate(const id& self, SEL _cmd, id delegate) {
  id result = saved::controlsOverlayInitWithDelegate(self, _cmd, delegate);
  auto view = objc_cast<UIView>(result);
  if (!view) return result;

  auto stepper = objc_cast<ZEBStepper>(alloc<ZEBStepper>()->initWithFrame(CGRectZero));
  objc_msgSend(self, selector<"setPlaybackRateStepper:">(), stepper);
  stepper->countLabel()->setText(NSStr("Normal"));
  stepper->setIncrementCallback(&stepPlaybackRateUp);
  stepper->setDecrementCallback(&stepPlaybackRateDown);
  // The stepper's value only counts net taps, and with its default limits of -100 and 100 a long
  // run of taps at an end of the rate list would silently switch that button off. The ends of
  // the list are the only limits wanted, so the stepper gets limits no tap count reaches: a
  // float value stalls at 2^24 under repeated +1 and never becomes infinite.
  stepper->setMinimum(-std::numeric_limits<float>::infinity());
  stepper->setMaximum(std::numeric_limits<float>::infinity());
  stepper->setup();
  view->addSubview(stepper);
  followPlayPauseButton(stepper, self);
  stepper->setTranslatesAutoresizingMaskIntoConstraints(NO);
  addConstraint(view, stepper, NSLayoutAttributeCenterX, view, NSLayoutAttributeCenterX, 0.0);
  addConstraint(view, stepper, NSLayoutAttributeCenterY, view, NSLayoutAttributeCenterY, 50.0);
  addConstraint(view, stepper, NSLayoutAttributeWidth, nullptr, NSLayoutAttributeNotAnAttribute,
                170.0);
  addConstraint(view, stepper, NSLayoutAttributeHeight, nullptr, NSLayoutAttributeNotAnAttribute,
                25.0);
  // The centre holds observers weakly and forgets one that is gone, so the notification never
  // reaches an overlay that no longer exists although it never unsubscribes.
  NSNotificationCenter::defaultCenter()->addObserver(self, selector<"updatePlaybackRate">(),
                                                     updatePlaybackRateName(), nullptr);
  return result;
}

void controlsOverlayLayoutSubviews(const id& self, SEL _cmd) {
  saved::controlsOverlayLayoutSubviews(self, _cmd);
  if (auto stepper = stepperOf(self)) followPlayPauseButton(stepper, self);
}

void controlsOverlayUpdatePlaybackRate(const id& self, SEL) {
  id player = playerControllerOf(self);
  float rate = currentRate(player);
  auto title = labelForRate(rate, rateOptions(player));
  if (title) showTitle(stepperOf(self), *title);
}

void stepPlaybackRateUp(const Ref<ZEBStepper>& stepper, float) {
  stepPlaybackRate(stepper, StepDirection::Up);
}

void stepPlaybackRateDown(const Ref<ZEBStepper>& stepper, float) {
  stepPlaybackRate(stepper, StepDirection::Down);
}

}  // namespace glidepad
