// The basic types of the Objective-C runtime stand-in.
//
// Objects are reference counted with the standard smart pointers: `id` is a strong reference to
// any object, `Ref<T>` a strong reference to a known class, `WeakRef<T>` a zeroing weak one.
#pragma once

#include <cstdint>
#include <memory>

class NSObject;
struct objc_class;
struct objc_selector;
struct objc_method;
struct objc_ivar;
struct objc_property;

using Class = objc_class*;
using SEL = const objc_selector*;
using Method = objc_method*;
using Ivar = objc_ivar*;
using objc_property_t = objc_property*;
using IMP = void (*)();

using id = std::shared_ptr<NSObject>;
template <class T>
using Ref = std::shared_ptr<T>;
template <class T>
using WeakRef = std::weak_ptr<T>;

using BOOL = bool;
inline constexpr BOOL YES = true;
inline constexpr BOOL NO = false;

using NSInteger = int64_t;
using NSUInteger = uint64_t;
