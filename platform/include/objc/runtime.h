// The Objective-C runtime stand-in: a class table by name, interned selectors, method tables with
// type encodings, declared properties, named instance variables, associated objects and
// autorelease pools. Names and semantics follow the device's runtime.
#pragma once

#include <stdexcept>
#include <string>

#include "objc/encoding.h"
#include "objc/objc.h"

// The runtime's and Foundation's loud failures: a message no class answers, a method whose type
// encoding does not match the call or the method it replaces.
class NSException : public std::runtime_error {
 public:
  NSException(std::string name, const std::string& reason)
      : std::runtime_error(name + ": " + reason), name_(std::move(name)), reason_(reason) {}
  const std::string& name() const { return name_; }
  const std::string& reason() const { return reason_; }

 private:
  std::string name_;
  std::string reason_;
};

inline constexpr const char* NSInvalidArgumentException = "NSInvalidArgumentException";
inline constexpr const char* NSInternalInconsistencyException = "NSInternalInconsistencyException";

// Selectors.
SEL sel_registerName(const char* name);
const char* sel_getName(SEL sel);

// Classes.
Class objc_getClass(const char* name);
Class objc_allocateClassPair(Class superclass, const char* name, size_t extraBytes);
void objc_registerClassPair(Class cls);
const char* class_getName(Class cls);
Class class_getSuperclass(Class cls);
Class object_getClass(const id& object);
BOOL class_respondsToSelector(Class cls, SEL sel);

// Methods. `class_addMethod` adds to the class itself and keeps a method the class already has
// (answering NO); `class_replaceMethod` swaps the implementation and answers the previous one.
// Both check `types` against the implementation's C++ signature.
Method class_getInstanceMethod(Class cls, SEL sel);
const char* method_getTypeEncoding(Method method);
IMP method_getImplementation(Method method);
SEL method_getName(Method method);
Method* class_copyMethodList(Class cls, unsigned* outCount);  // free with delete[]

namespace objc_detail {
BOOL addMethod(Class cls, SEL sel, IMP imp, const char* types, const char* signatureTypes);
IMP replaceMethod(Class cls, SEL sel, IMP imp, const char* signatureTypes);
// `callTypes` is the call signature's encoding constant (method_encoding), which lives as long as
// the program: look-ups are cached by its address.
IMP lookUpImp(const id& receiver, SEL sel, const char* callTypes);
}  // namespace objc_detail

template <class R, class... Args>
BOOL class_addMethod(Class cls, SEL sel, TypedIMP<R, Args...> imp, const char* types) {
  return objc_detail::addMethod(cls, sel, reinterpret_cast<IMP>(imp), types,
                                method_encoding<R, Args...>());
}

// Properties.
struct objc_property_attribute_t {
  const char* name;
  const char* value;
};
BOOL class_addProperty(Class cls, const char* name, const objc_property_attribute_t* attributes,
                       unsigned attributeCount);
objc_property_t class_getProperty(Class cls, const char* name);
const char* property_getName(objc_property_t property);
const char* property_getAttributes(objc_property_t property);  // such as T@"ZEBStepper",&,N

// Instance variables. The stand-in reads a variable through an accessor that the class registers
// with `class_addIvar`, rather than through a raw offset into the object.
using IvarAccessor = id (*)(const id& object);
BOOL class_addIvar(Class cls, const char* name, const char* types, IvarAccessor accessor);
Ivar class_getInstanceVariable(Class cls, const char* name);
const char* ivar_getName(Ivar ivar);
const char* ivar_getTypeEncoding(Ivar ivar);
id object_getIvar(const id& object, Ivar ivar);

// Associated objects.
enum objc_AssociationPolicy : uintptr_t {
  OBJC_ASSOCIATION_ASSIGN = 0,
  OBJC_ASSOCIATION_RETAIN_NONATOMIC = 1,
  OBJC_ASSOCIATION_RETAIN = 01401,
};
void objc_setAssociatedObject(const id& object, const void* key, const id& value,
                              objc_AssociationPolicy policy);
id objc_getAssociatedObject(const id& object, const void* key);

// Autorelease pools: objects handed to `objc_autorelease` live until the innermost pool pops.
void* objc_autoreleasePoolPush();
void objc_autoreleasePoolPop(void* pool);
id objc_autorelease(id object);
