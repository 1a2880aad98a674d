// A minimal installation of the swipe grafts, enough to exercise them end to end.
#include "setup/Initializer.h"

#include "gestures/SwipeGrafts.h"
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
  registerForSettingsChanges();
  objc_autoreleasePoolPop(pool);
}

}  // namespace glidepad
