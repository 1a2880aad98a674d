// Fonts by PostScript name and point size. Only a few names are installed here; a name that is
// not installed gives no font, as on the device, and a label with no font shows the system font.
#pragma once

#include "Foundation/NSString.h"
#include "objc/NSObject.h"

class UIFont : public NSObject {
 public:
  static Class objcClass();

  // Installed: "Avenir-Black", "Avenir-Heavy", "Avenir-Medium", "Helvetica" and the system
  // font's ".SFUI-Regular". Any other name, or a nil name, answers nil.
  static Ref<UIFont> fontWithName(const Ref<NSString>& name, double size);
  static Ref<UIFont> systemFontOfSize(double size);
  // The size of a label's default font.
  static constexpr double labelFontSize() { return 17; }

  Ref<NSString> fontName() const { return name_; }
  double pointSize() const { return pointSize_; }

  std::string description() const override;

 private:
  Ref<NSString> name_;
  double pointSize_ = 0;
};
