#include "UIKit/UIFont.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr std::string_view kSystemFontName = ".SFUI-Regular";
constexpr std::array<std::string_view, 5> kInstalledFonts = {
    "Avenir-Black", "Avenir-Heavy", "Avenir-Medium", "Helvetica", kSystemFontName};

}  // namespace

Class UIFont::objcClass() {
  static Class cls = objc_registerClass("UIFont", NSObject::objcClass(), [](Class) {});
  return cls;
}

Ref<UIFont> UIFont::fontWithName(const Ref<NSString>& name, double size) {
  if (!name) return nullptr;
  std::string_view wanted = name->string();
  if (std::find(kInstalledFonts.begin(), kInstalledFonts.end(), wanted) == kInstalledFonts.end()) {
    return nullptr;
  }
  auto font = alloc_init<UIFont>();
  font->name_ = NSString::stringWithUTF8String(wanted);
  font->pointSize_ = size;
  return font;
}

Ref<UIFont> UIFont::systemFontOfSize(double size) {
  return fontWithName(NSString::stringWithUTF8String(kSystemFontName), size);
}

std::string UIFont::description() const {
  return "<UIFont " + name_->string() + " " + std::to_string(pointSize_) + ">";
}
