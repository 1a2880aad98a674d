#include "host/YTVarispeedSwitchController.h"

namespace host {

const std::vector<RateOption>& defaultRateOptions() {
  static const auto* options = new std::vector<RateOption>{
      {0.25f, "0.25x"}, {0.5f, "0.5x"}, {0.75f, "0.75x"}, {1.0f, "Normal"},
      {1.25f, "1.25x"}, {1.5f, "1.5x"}, {1.75f, "1.75x"}, {2.0f, "2x"},
  };
  return *options;
}

Class YTVarispeedSwitchControllerOption::objcClass() {
  static Class cls =
      objc_registerClass("YTVarispeedSwitchControllerOption", NSObject::objcClass(), [](Class c) {
        objc_exposeMethod<&YTVarispeedSwitchControllerOption::rate>(c, "rate");
        objc_exposeMethod<&YTVarispeedSwitchControllerOption::title>(c, "title");
      });
  return cls;
}

Ref<YTVarispeedSwitchControllerOption> YTVarispeedSwitchControllerOption::optionWithRate(
    float rate, const std::string& title) {
  auto option = alloc_init<YTVarispeedSwitchControllerOption>();
  option->rate_ = rate;
  option->title_ = NSString::stringWithUTF8String(title);
  return option;
}

Class YTVarispeedSwitchController::objcClass() {
  static Class cls =
      objc_registerClass("YTVarispeedSwitchController", NSObject::objcClass(), [](Class c) {
        class_addIvar(c, "_options", "@\"NSArray\"", [](const id& self) -> id {
          return static_cast<const YTVarispeedSwitchController&>(*self).options_;
        });
      });
  return cls;
}

Ref<YTVarispeedSwitchController> YTVarispeedSwitchController::controllerWithOptions(
    const std::vector<RateOption>& options) {
  std::vector<id> list;
  list.reserve(options.size());
  for (const auto& option : options) {
    list.push_back(YTVarispeedSwitchControllerOption::optionWithRate(option.rate, option.title));
  }
  auto controller = alloc_init<YTVarispeedSwitchController>();
  controller->options_ = NSArray::arrayWithObjects(std::move(list));
  return controller;
}

}  // namespace host
