#include "Foundation/NSString.h"

#include <cstdio>

#include "ValueConversions.h"

Class NSString::objcClass() {
  static Class cls = objc_registerClass("NSString", NSObject::objcClass(), [](Class c) {
    objc_exposeMethod<&NSString::intValue>(c, "intValue");
    objc_exposeMethod<&NSString::boolValue>(c, "boolValue");
    objc_exposeMethod<&NSString::floatValue>(c, "floatValue");
  });
  return cls;
}

Ref<NSString> NSString::stringWithUTF8String(std::string_view text) {
  auto string = alloc<NSString>();
  string->text_.assign(text);
  return string;
}

NSUInteger NSString::length() const {
  NSUInteger units = 0;
  for (size_t i = 0; i < text_.size(); ++i) {
    auto byte = static_cast<unsigned char>(text_[i]);
    if ((byte & 0xC0) == 0x80) continue;  // continuation byte
    units += byte >= 0xF0 ? 2 : 1;        // four-byte sequences are surrogate pairs in UTF-16
  }
  return units;
}

BOOL NSString::isEqualToString(const Ref<NSString>& other) const {
  return other && other->text_ == text_;
}

int NSString::intValue() const { return foundation_detail::intValueOfString(text_); }

BOOL NSString::boolValue() const { return foundation_detail::boolValueOfString(text_); }

std::string NSString::format_(std::string_view format, const FormatArg* args, size_t count) {
  std::string out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    char c = format[i];
    if (c != '%' || i + 1 == format.size()) {
      out += c;
      continue;
    }
    char conversion = format[++i];
    const FormatArg* arg = next < count ? &args[next] : nullptr;
    auto written = [&](FormatArg::Kind kind) { return arg != nullptr && arg->kind == kind; };
    switch (conversion) {
      case '%':
        out += '%';
        continue;
      case '@':
        if (written(FormatArg::Object)) {
          out += arg->object ? arg->object->description() : "(null)";
          ++next;
          continue;
        }
        break;
      case 's':
        if (written(FormatArg::CString)) {
          out += arg->cstring ? arg->cstring : "(null)";
          ++next;
          continue;
        }
        break;
      case 'd':
      case 'i':
        if (written(FormatArg::Int)) {
          out += std::to_string(static_cast<int>(arg->integer));
          ++next;
          continue;
        }
        break;
      case 'f':
        if (written(FormatArg::Double)) {
          char buffer[64];
          std::snprintf(buffer, sizeof buffer, "%f", arg->real);
          out += buffer;
          ++next;
          continue;
        }
        break;
      default:
        break;
    }
    out += '%';
    out += conversion;
  }
  return out;
}

float NSString::floatValue() const { return foundation_detail::floatValueOfString(text_); }
