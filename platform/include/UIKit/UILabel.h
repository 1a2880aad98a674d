// A read-only line of text. Labels take no touches (interaction is off by default, as on the
// device), so a touch on a button's title reaches the button.
#pragma once

#include "Foundation/NSString.h"
#include "UIKit/UIFont.h"
#include "UIKit/UIView.h"

enum NSTextAlignment : int64_t {
  NSTextAlignmentLeft = 0,
  NSTextAlignmentCenter = 1,
  NSTextAlignmentRight = 2,
};

class UILabel : public UIView {
 public:
  static Class objcClass();

  UILabel();

  Ref<NSString> text() const { return text_; }
  void setText(const Ref<NSString>& text) { text_ = text; }
  // Never nil: with no colour or font set (or nil set), the defaults, black and the system font of
  // `UIFont::labelFontSize()` points.
  Ref<UIColor> textColor() const;
  void setTextColor(const Ref<UIColor>& color) { textColor_ = color; }
  Ref<UIFont> font() const;
  void setFont(const Ref<UIFont>& font) { font_ = font; }
  NSTextAlignment textAlignment() const { return textAlignment_; }
  void setTextAlignment(NSTextAlignment alignment) { textAlignment_ = alignment; }

  // The stand-in's text metric, whatever the proposal: each UTF-16 unit of the text is 0.6 × the
  // font's point size wide, the line 1.2 × the point size high; no text fits in the zero size.
  CGSize sizeThatFits(CGSize size) const override;

 private:
  Ref<NSString> text_;
  Ref<UIColor> textColor_;
  Ref<UIFont> font_;
  NSTextAlignment textAlignment_ = NSTextAlignmentLeft;
};
