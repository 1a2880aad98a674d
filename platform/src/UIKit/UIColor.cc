#include "UIKit/UIColor.h"

#include <cstdio>

#include "UIKit/CALayer.h"

Class UIColor::objcClass() {
  static Class cls = objc_registerClass("UIColor", NSObject::objcClass(), [](Class) {});
  return cls;
}

Ref<UIColor> UIColor::colorWithRed(double red, double green, double blue, double alpha) {
  auto color = alloc_init<UIColor>();
  color->color_ = std::make_shared<const ::CGColor>(::CGColor{red, green, blue, alpha});
  return color;
}

Ref<UIColor> UIColor::blackColor() { return colorWithRed(0, 0, 0, 1); }
Ref<UIColor> UIColor::whiteColor() { return colorWithRed(1, 1, 1, 1); }
Ref<UIColor> UIColor::clearColor() { return colorWithRed(0, 0, 0, 0); }

Ref<UIColor> UIColor::colorWithAlphaComponent(double alpha) const {
  return colorWithRed(color_->red, color_->green, color_->blue, alpha);
}

std::string UIColor::description() const {
  char text[96];
  std::snprintf(text, sizeof text, "UIColor(%g, %g, %g, %g)", color_->red, color_->green,
                color_->blue, color_->alpha);
  return text;
}

Class CALayer::objcClass() {
  static Class cls = objc_registerClass("CALayer", NSObject::objcClass(), [](Class) {});
  return cls;
}
