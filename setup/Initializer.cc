// A minimal installation of the grafts, until the graft table lands.
#include "setup/Initializer.h"

#include "gestures/SwipeGrafts.h"
#include "stepper/RateStepperGrafts.h"
#include "objc/runtime.h"
#include "setup/HostInterface.h"
#include "setup/SavedImplementations.h"
#include "setup/Settings.h"
#include "substrate.h"

namespace glidepad {

void initialize() {
  void* pool = objc_autoreleasePoolPush();
  loadSettings();
  if (enabledSwitch) {
    Class overlay = objc_getClass(host::kOverlayViewControllerClass);
    MSHookMessageEx(overlay, selector<"isFullscreen">(), &overlayControllerIsFullscreen,
                    &saved::overlayControllerIsFullscreen);
    MSHookMessageEx(overlay, selector<"viewDidLoad">(), &overlayControllerViewDidLoad,
                    &saved::overlayControllerViewDidLoad);
    Class playerView = objc_getClass(host::kPlayerViewClass);
    MSHookMessageEx(playerView, selector<"initWithFrame:">(), &playerViewInitWithFrame,
                    &saved::playerViewInitWithFrame);
    class_addMethod(playerView, selector<"GLPGesture:">(), &playerViewGLPGesture, "v@:@");
  }
  if (enabledSwitch && showPlaybackRate) {
    Class player = objc_getClass(host::kPlayerViewControllerClass);
    MSHookMessageEx(player, selector<"viewDidLoad">(), &playerControllerViewDidLoad,
                    &saved::playerControllerViewDidLoad);
    MSHookMessageEx(player, selector<"varispeedSwitchController:didSelectRate:">(),
                    &playerControllerDidSelectRate, &saved::playerControllerDidSelectRate);
    Class overlay = objc_getClass(host::kControlsOverlayViewClass);
    objc_property_attribute_t attributes[] = {{"T", "@\"ZEBStepper\""}, {"&", ""}, {"N", ""}};
    class_addProperty(overlay, "playbackRateStepper", attributes, 3);
    class_addMethod(overlay, selector<"playbackRateStepper">(), &controlsOverlayPlaybackRateStepper,
                    "@@:");
    class_addMethod(overlay, selector<"setPlaybackRateStepper:">(),
                    &controlsOverlaySetPlaybackRateStepper, "v@:@");
    MSHookMessageEx(overlay, selector<"initWithDelegate:">(), &controlsOverlayInitWithDelegate,
                    &saved::controlsOverlayInitWithDelegate);
    MSHookMessageEx(overlay, selector<"layoutSubviews">(), &controlsOverlayLayoutSubviews,
                    &saved::controlsOverlayLayoutSubviews);
    class_addMethod(overlay, selector<"updatePlaybackRate">(), &controlsOverlayUpdatePlaybackRate,
                    "v@:");
  }
  registerForSettingsChanges();
  objc_autoreleasePoolPop(pool);
}

}  // namespace glidepad
