#include "UIKit/UISlider.h"

#include <algorithm>
#include <cmath>

Class UISlider::objcClass() {
  static Class cls = objc_registerClass("UISlider", UIControl::objcClass(), [](Class c) {
    objc_exposeMethod<&UISlider::value>(c, "value");
    objc_exposeMethod<&UISlider::setValue>(c, "setValue:");
    objc_exposeMethod<&UISlider::minimumValue>(c, "minimumValue");
    objc_exposeMethod<&UISlider::maximumValue>(c, "maximumValue");
  });
  return cls;
}

float UISlider::clampedToRange(float value) const {
  return std::clamp(value, minimumValue_, maximumValue_);
}

void UISlider::setValue(float value) {
  if (std::isnan(value)) return;
  value_ = clampedToRange(value);
}

void UISlider::setMinimumValue(float minimum) {
  if (std::isnan(minimum)) return;
  minimumValue_ = minimum;
  maximumValue_ = std::max(maximumValue_, minimum);
  setValue(value());
}

void UISlider::setMaximumValue(float maximum) {
  if (std::isnan(maximum)) return;
  maximumValue_ = maximum;
  minimumValue_ = std::min(minimumValue_, maximum);
  setValue(value());
}
