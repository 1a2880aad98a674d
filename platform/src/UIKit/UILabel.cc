#include "UIKit/UILabel.h"

Class UILabel::objcClass() {
  static Class cls = objc_registerClass("UILabel", UIView::objcClass(), [](Class c) {
    objc_exposeMethod<&UILabel::text>(c, "text");
    objc_exposeMethod<&UILabel::setText>(c, "setText:");
  });
  return cls;
}

UILabel::UILabel() { setUserInteractionEnabled(NO); }

Ref<UIColor> UILabel::textColor() const {
  static const auto* defaultColor = new Ref<UIColor>(UIColor::blackColor());
  return textColor_ ? textColor_ : *defaultColor;
}

Ref<UIFont> UILabel::font() const {
  static const auto* defaultFont =
      new Ref<UIFont>(UIFont::systemFontOfSize(UIFont::labelFontSize()));
  return font_ ? font_ : *defaultFont;
}

CGSize UILabel::sizeThatFits(CGSize) const {
  NSUInteger units = text_ ? text_->length() : 0;
  if (units == 0) return CGSizeZero;
  double pointSize = font()->pointSize();
  return {0.6 * pointSize * static_cast<double>(units), 1.2 * pointSize};
}
