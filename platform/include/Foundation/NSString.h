// Immutable strings, held as UTF-8. They answer `intValue` ("i@:"), `boolValue` ("B@:") and
// `floatValue` ("f@:") through the runtime with Foundation's conversions.
#pragma once

#include <string>
#include <string_view>
#include <type_traits>

#include "objc/NSObject.h"

class NSString : public NSObject {
 public:
  static Class objcClass();

  static Ref<NSString> stringWithUTF8String(std::string_view text);

  // `stringWithFormat:` for the conversions the system uses: %@ (an object's description; "(null)"
  // for nil), %s (a C string), %d and %i (an int), %f (a double) and %% (a percent sign). A
  // conversion with no argument left, or an argument of another kind, is written as it stands.
  template <class... Args>
  static Ref<NSString> stringWithFormat(std::string_view format, const Args&... args) {
    FormatArg list[] = {FormatArg(args)..., FormatArg()};
    return stringWithUTF8String(format_(format, list, sizeof...(Args)));
  }

  const char* UTF8String() const { return text_.c_str(); }
  const std::string& string() const { return text_; }
  NSUInteger length() const;  // in UTF-16 units, as NSString counts
  BOOL isEqualToString(const Ref<NSString>& other) const;
  int intValue() const;
  BOOL boolValue() const;
  float floatValue() const;

  std::string description() const override { return text_; }

 private:
  struct FormatArg {
    enum Kind { None, Object, CString, Int, Double } kind = None;
    id object;
    const char* cstring = nullptr;
    long long integer = 0;
    double real = 0;
    FormatArg() = default;
    template <class T>
    FormatArg(const T& value) {
      if constexpr (std::is_convertible_v<T, id>) {
        kind = Object;
        object = value;
      } else if constexpr (std::is_convertible_v<T, const char*>) {
        kind = CString;
        cstring = value;
      } else if constexpr (std::is_integral_v<T>) {
        kind = Int;
        integer = value;
      } else if constexpr (std::is_floating_point_v<T>) {
        kind = Double;
        real = value;
      } else {
        static_assert(sizeof(T) == 0, "stringWithFormat: unsupported argument type");
      }
    }
  };

  static std::string format_(std::string_view format, const FormatArg* args, size_t count);

  std::string text_;
};

// `@"…"`: a string object from a literal.
inline Ref<NSString> NSStr(std::string_view text) { return NSString::stringWithUTF8String(text); }
