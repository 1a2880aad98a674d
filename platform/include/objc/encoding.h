// Objective-C type encodings derived from C++ signatures at compile time.
//
// Every C++ type that may appear in a method signature maps to exactly one encoding and every
// encoding to exactly one C++ type, so two methods with equal encodings have the same C++ function
// type and a call through the runtime can never reach a function of another signature.
#pragma once

#include <cstddef>
#include <type_traits>

#include "CoreGraphics/CGGeometry.h"
#include "objc/objc.h"

namespace objc_detail {

template <size_t N>
struct EncodingText {
  char chars[N + 1]{};
  constexpr EncodingText() = default;
  constexpr EncodingText(const char (&text)[N + 1]) {
    for (size_t i = 0; i < N; ++i) chars[i] = text[i];
  }
  constexpr const char* c_str() const { return chars; }
};

template <size_t N>
EncodingText(const char (&)[N]) -> EncodingText<N - 1>;

template <size_t... N>
constexpr auto concatenate(const EncodingText<N>&... parts) {
  EncodingText<(N + ... + 0)> out;
  size_t at = 0;
  (([&] {
     for (size_t i = 0; i < N; ++i) out.chars[at++] = parts.chars[i];
   }()),
   ...);
  return out;
}

template <class T>
struct TypeEncoding {
  static_assert(sizeof(T) == 0,
                "no Objective-C encoding for this type: pass objects as id, integers as int, "
                "int64_t or uint64_t, flags as bool");
};

#define OBJC_TYPE_ENCODING(type, text)                        \
  template <>                                                 \
  struct TypeEncoding<type> {                                 \
    static constexpr EncodingText value = EncodingText(text); \
  }

OBJC_TYPE_ENCODING(void, "v");
OBJC_TYPE_ENCODING(bool, "B");
OBJC_TYPE_ENCODING(int, "i");
OBJC_TYPE_ENCODING(unsigned, "I");
OBJC_TYPE_ENCODING(int64_t, "q");
OBJC_TYPE_ENCODING(uint64_t, "Q");
OBJC_TYPE_ENCODING(float, "f");
OBJC_TYPE_ENCODING(double, "d");
OBJC_TYPE_ENCODING(id, "@");
OBJC_TYPE_ENCODING(SEL, ":");
OBJC_TYPE_ENCODING(CGPoint, "{CGPoint=dd}");
OBJC_TYPE_ENCODING(CGSize, "{CGSize=dd}");
OBJC_TYPE_ENCODING(CGRect, "{CGRect={CGPoint=dd}{CGSize=dd}}");

#undef OBJC_TYPE_ENCODING

template <class R, class... Args>
inline constexpr auto kMethodEncoding = concatenate(TypeEncoding<R>::value, TypeEncoding<id>::value,
                                                    TypeEncoding<SEL>::value,
                                                    TypeEncoding<Args>::value...);

}  // namespace objc_detail

// The encoding of a method returning R and taking Args after the receiver and selector, such as
// "v@:@" for a method that takes one object and returns nothing.
template <class R, class... Args>
constexpr const char* method_encoding() {
  return objc_detail::kMethodEncoding<R, Args...>.c_str();
}

// The C++ type of an implementation: receiver, selector, then the arguments.
template <class R, class... Args>
using TypedIMP = R (*)(const id& self, SEL _cmd, Args...);
