// Colours, and the CoreGraphics colour a layer holds.
#pragma once

#include <memory>

#include "objc/NSObject.h"

struct CGColor {
  double red = 0, green = 0, blue = 0, alpha = 0;
  friend bool operator==(const CGColor&, const CGColor&) = default;
};
using CGColorRef = std::shared_ptr<const CGColor>;

class UIColor : public NSObject {
 public:
  static Class objcClass();

  static Ref<UIColor> colorWithRed(double red, double green, double blue, double alpha);
  static Ref<UIColor> blackColor();
  static Ref<UIColor> whiteColor();
  static Ref<UIColor> clearColor();

  Ref<UIColor> colorWithAlphaComponent(double alpha) const;
  CGColorRef CGColor() const { return color_; }
  const ::CGColor& components() const { return *color_; }

  std::string description() const override;

 private:
  CGColorRef color_ = std::make_shared<const ::CGColor>();
};
