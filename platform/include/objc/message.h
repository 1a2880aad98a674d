// Sending messages through the runtime.
//
// `objc_msgSend<R>(receiver, sel, args...)` finds the receiver's implementation of `sel` along its
// class's superclass chain, checks that the method's type encoding is the one the call's C++ types
// give, and calls it. A nil receiver does nothing and answers zero. A selector that no class in the
// chain answers, or a method of another signature, raises an NSException instead of a wrong call.
#pragma once

#include <cstddef>
#include <type_traits>
#include <utility>

#include "objc/encoding.h"
#include "objc/runtime.h"

namespace objc_detail {

// What a C++ argument becomes on the way through the runtime: any object reference is an `id`.
template <class T, class = void>
struct MessageArg {
  using type = std::decay_t<T>;
};
template <class T>
struct MessageArg<std::shared_ptr<T>, std::enable_if_t<std::is_base_of_v<NSObject, T>>> {
  using type = id;
};
template <>
struct MessageArg<std::nullptr_t> {
  using type = id;
};
template <class T>
using message_arg_t = typename MessageArg<std::decay_t<T>>::type;

template <size_t N>
struct SelectorName {
  char chars[N]{};
  constexpr SelectorName(const char (&text)[N]) {
    for (size_t i = 0; i < N; ++i) chars[i] = text[i];
  }
};

}  // namespace objc_detail

// The interned selector for a literal name, looked up once per call site: `selector<"scale">()`.
template <objc_detail::SelectorName Name>
SEL selector() {
  static const SEL sel = sel_registerName(Name.chars);
  return sel;
}

template <class R = void, class... Args>
R objc_msgSend(const id& receiver, SEL sel, Args&&... args) {
  using Fn = TypedIMP<R, objc_detail::message_arg_t<Args>...>;
  if (!receiver) {
    if constexpr (std::is_void_v<R>) {
      return;
    } else {
      return R{};
    }
  }
  auto fn = reinterpret_cast<Fn>(objc_detail::lookUpImp(
      receiver, sel, method_encoding<R, objc_detail::message_arg_t<Args>...>()));
  return fn(receiver, sel,
            static_cast<objc_detail::message_arg_t<Args>>(std::forward<Args>(args))...);
}
