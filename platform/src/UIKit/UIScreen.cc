#include "UIKit/UIScreen.h"

#include <algorithm>
#include <cmath>

Class UIScreen::objcClass() {
  static Class cls = objc_registerClass("UIScreen", NSObject::objcClass(), [](Class c) {
    objc_exposeMethod<&UIScreen::bounds>(c, "bounds");
    objc_exposeMethod<&UIScreen::brightness>(c, "brightness");
    objc_exposeMethod<&UIScreen::setBrightness>(c, "setBrightness:");
  });
  return cls;
}

const Ref<UIScreen>& UIScreen::mainScreen() {
  static const Ref<UIScreen>* screen = new Ref<UIScreen>(alloc_init<UIScreen>());
  return *screen;
}

void UIScreen::setBrightness(double brightness) {
  if (std::isnan(brightness)) return;
  brightness_ = std::clamp(brightness, 0.0, 1.0);
}
