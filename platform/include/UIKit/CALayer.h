// The part of a view's backing layer that views here use: a border and rounded corners.
#pragma once

#include "UIKit/UIColor.h"
#include "objc/NSObject.h"

class CALayer : public NSObject {
 public:
  static Class objcClass();

  double borderWidth() const { return borderWidth_; }
  void setBorderWidth(double width) { borderWidth_ = width; }
  CGColorRef borderColor() const { return borderColor_; }
  void setBorderColor(CGColorRef color) { borderColor_ = std::move(color); }
  double cornerRadius() const { return cornerRadius_; }
  void setCornerRadius(double radius) { cornerRadius_ = radius; }

 private:
  double borderWidth_ = 0;
  CGColorRef borderColor_ = std::make_shared<const ::CGColor>(::CGColor{0, 0, 0, 1});
  double cornerRadius_ = 0;
};
