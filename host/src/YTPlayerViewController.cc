#include "host/YTPlayerViewController.h"

namespace host {

Class YTPlayerViewController::objcClass() {
  static Class cls =
      objc_registerClass("YTPlayerViewController", UIViewController::objcClass(), [](Class c) {
        objc_exposeMethod<&YTPlayerViewController::viewDidLoad>(c, "viewDidLoad");
        objc_exposeMethod<&YTPlayerViewController::varispeedController>(c, "varispeedController");
        objc_exposeMethod<&YTPlayerViewController::currentPlaybackRateForVarispeedSwitchController>(
            c, "currentPlaybackRateForVarispeedSwitchController:");
        objc_exposeMethod<&YTPlayerViewController::varispeedSwitchController>(
            c, "varispeedSwitchController:didSelectRate:");
      });
  return cls;
}

Ref<YTPlayerViewController> YTPlayerViewController::playerWithRateOptions(
    const std::vector<RateOption>& options) {
  auto player = alloc_init<YTPlayerViewController>();
  player->varispeed_ = YTVarispeedSwitchController::controllerWithOptions(options);
  return player;
}

float YTPlayerViewController::currentPlaybackRateForVarispeedSwitchController(const id&) {
  return rate_;
}

void YTPlayerViewController::varispeedSwitchController(const id&, float rate) {
  rate_ = rate;
  if (observer_) observer_(rate);
}

void YTPlayerViewController::selectRateOption(uint64_t index) {
  auto options = varispeed_->options();
  if (index >= options->count()) return;
  auto option = objc_cast<YTVarispeedSwitchControllerOption>(options->objectAtIndex(index));
  objc_msgSend(self(), selector<"varispeedSwitchController:didSelectRate:">(),
               varispeedController(), option->rate());
}

}  // namespace host
