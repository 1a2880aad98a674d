#include "setup/RateOptions.h"

#include "objc/runtime.h"

namespace glidepad {

float currentRate(const id& playerController) {
  return host::currentPlaybackRateForVarispeedSwitchController(
      playerController, host::varispeedController(playerController));
}

// The host offers no accessor for the list, so it is read from the instance variable by name.
HostRateOptions rateOptions(const id& playerController) {
  id varispeed = host::varispeedController(playerController);
  Ivar options = class_getInstanceVariable(object_getClass(varispeed), "_options");
  return HostRateOptions(objc_cast<NSArray>(object_getIvar(varispeed, options)));
}

void selectRate(const id& playerController, float rate) {
  host::varispeedSwitchControllerDidSelectRate(playerController,
                                               host::varispeedController(playerController), rate);
}

}  // namespace glidepad
