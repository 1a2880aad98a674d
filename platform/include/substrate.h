// The method-hooking loader's interface: replace an instance method and hand back the previous
// implementation, so the replacement can call the behaviour it replaced.
#pragma once

#include "objc/runtime.h"

// Replaces `sel` on `cls` with `replacement` and stores the implementation it had before into
// `*result` (if given). A method the class only inherits is added to the class, and the inherited
// implementation is handed back. Hooking twice chains: the second replacement receives the first.
// A replacement whose signature differs from the method's is refused with an NSException naming
// the class, the selector and both encodings; a nil class is ignored.
template <class R, class... Args>
void MSHookMessageEx(Class cls, SEL sel, TypedIMP<R, Args...> replacement,
                     TypedIMP<R, Args...>* result) {
  if (cls == nullptr) return;
  IMP previous = objc_detail::replaceMethod(cls, sel, reinterpret_cast<IMP>(replacement),
                                            method_encoding<R, Args...>());
  if (result != nullptr) *result = reinterpret_cast<TypedIMP<R, Args...>>(previous);
}
