// The root class. Every object knows its runtime class (`isa`), may carry associated objects and
// answers the introspection messages.
//
// Objects are made with `alloc<T>()`, which creates the C++ object and sets its runtime class from
// `T::objcClass()`; an `init…` method then initialises it and answers it, as on the device.
#pragma once

#include <string>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "objc/encoding.h"
#include "objc/message.h"
#include "objc/objc.h"
#include "objc/runtime.h"

class NSObject : public std::enable_shared_from_this<NSObject> {
 public:
  static Class objcClass();

  NSObject() = default;
  NSObject(const NSObject&) = delete;
  NSObject& operator=(const NSObject&) = delete;
  virtual ~NSObject() = default;

  virtual id init();
  virtual std::string description() const;

  BOOL isKindOfClass(Class cls) const;
  BOOL respondsToSelector(SEL sel) const;
  Class objcIsa() const { return isa_; }

  // A strong reference to this object; only valid once `alloc` has made it.
  id self() { return shared_from_this(); }
  template <class T>
  Ref<T> selfAs() {
    return std::static_pointer_cast<T>(shared_from_this());
  }

 private:
  template <class T>
  friend Ref<T> alloc();
  friend void objc_setAssociatedObject(const id&, const void*, const id&, objc_AssociationPolicy);
  friend id objc_getAssociatedObject(const id&, const void*);

  struct Association {
    const void* key;
    id strong;
    std::weak_ptr<NSObject> weak;
  };

  Class isa_ = nullptr;
  std::vector<Association> associations_;
};

// `[[T alloc] …]`: the object, with its runtime class set, not yet initialised.
template <class T>
Ref<T> alloc() {
  static_assert(std::is_base_of_v<NSObject, T>);
  auto object = std::make_shared<T>();
  object->isa_ = T::objcClass();
  return object;
}

// `[[T alloc] init]`.
template <class T>
Ref<T> alloc_init() {
  auto object = alloc<T>();
  object->init();
  return object;
}

// A checked downcast of an object reference; empty when the object is not a T.
template <class T>
Ref<T> objc_cast(const id& object) {
  // Most casts name the object's own class, which needs no search of its class hierarchy; the
  // touch path makes such casts at every event.
  if (!object) return nullptr;
  const NSObject& target = *object;
  if (typeid(target) == typeid(T)) return std::static_pointer_cast<T>(object);
  return std::dynamic_pointer_cast<T>(object);
}

namespace objc_detail {

template <class T>
struct MemberArg {
  using type = T;
  static T from(T value) { return value; }
};
template <class T>
struct MemberArg<Ref<T>> {
  using type = id;
  static Ref<T> from(const id& value) { return std::dynamic_pointer_cast<T>(value); }
};

template <auto Member>
struct MemberImp;

template <class C, class R, class... Args, R (C::*Member)(Args...)>
struct MemberImp<Member> {
  using Result = typename MessageArg<R>::type;
  static Result call(const id& self, SEL, typename MemberArg<std::decay_t<Args>>::type... args) {
    C* object = static_cast<C*>(self.get());
    if constexpr (std::is_void_v<R>) {
      (object->*Member)(MemberArg<std::decay_t<Args>>::from(args)...);
    } else {
      return (object->*Member)(MemberArg<std::decay_t<Args>>::from(args)...);
    }
  }
  static constexpr const char* types() {
    return method_encoding<Result, typename MemberArg<std::decay_t<Args>>::type...>();
  }
};

template <class C, class R, class... Args, R (C::*Member)(Args...) const>
struct MemberImp<Member> {
  using Result = typename MessageArg<R>::type;
  static Result call(const id& self, SEL, typename MemberArg<std::decay_t<Args>>::type... args) {
    const C* object = static_cast<const C*>(self.get());
    if constexpr (std::is_void_v<R>) {
      (object->*Member)(MemberArg<std::decay_t<Args>>::from(args)...);
    } else {
      return (object->*Member)(MemberArg<std::decay_t<Args>>::from(args)...);
    }
  }
  static constexpr const char* types() {
    return method_encoding<Result, typename MemberArg<std::decay_t<Args>>::type...>();
  }
};

}  // namespace objc_detail

// Registers a C++ member function as the runtime method `name` of `cls`, with the encoding its
// signature gives; virtual members dispatch to the C++ override. Used when a class is registered.
template <auto Member>
void objc_exposeMethod(Class cls, const char* name) {
  using Imp = objc_detail::MemberImp<Member>;
  class_addMethod(cls, sel_registerName(name), &Imp::call, Imp::types());
}

// Registers a class and its superclass with the runtime once, running `expose` to add its methods.
template <class Expose>
Class objc_registerClass(const char* name, Class superclass, Expose&& expose) {
  Class cls = objc_allocateClassPair(superclass, name, 0);
  std::forward<Expose>(expose)(cls);
  objc_registerClassPair(cls);
  return cls;
}
