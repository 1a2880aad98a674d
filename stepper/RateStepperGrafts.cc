// Placeholder replacements that only reach the host's own behaviour; the rate stepper fills them.
#include "stepper/RateStepperGrafts.h"

#include "objc/runtime.h"
#include "setup/SavedImplementations.h"

namespace glidepad {

namespace {
const char kStepperKey = 0;
}

void playerControllerViewDidLoad(const id& self, SEL _cmd) {
  saved::playerControllerViewDidLoad(self, _cmd);
}

void playerControllerDidSelectRate(const id& self, SEL _cmd, id varispeedController, float rate) {
  saved::playerControllerDidSelectRate(self, _cmd, varispeedController, rate);
}

id controlsOverlayPlaybackRateStepper(const id& self, SEL) {
  return objc_getAssociatedObject(self, &kStepperKey);
}

void controlsOverlaySetPlaybackRateStepper(const id& self, SEL, id stepper) {
  objc_setAssociatedObject(self, &kStepperKey, stepper, OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

id controlsOverlayInitWithDelegate(const id& self, SEL _cmd, id delegate) {
  return saved::controlsOverlayInitWithDelegate(self, _cmd, delegate);
}

void controlsOverlayLayoutSubviews(const id& self, SEL _cmd) {
  saved::controlsOverlayLayoutSubviews(self, _cmd);
}

void controlsOverlayUpdatePlaybackRate(const id&, SEL) {}

}  // namespace glidepad
