#include "objc/runtime.h"

#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "objc/NSObject.h"

struct objc_selector {
  std::string name;
};

struct objc_method {
  SEL name;
  IMP imp;
  std::string types;
};

struct objc_ivar {
  std::string name;
  std::string types;
  IvarAccessor accessor;
};

struct objc_property {
  std::string name;
  std::string attributes;
};

// The implementations recently sent to instances of a class, keyed by selector and by the call's
// encoding, which was checked against the method's when the entry was made. The encoding is
// compared by address: each call signature's encoding is one constant, so an equal address means
// an equal encoding (and an unequal one only costs a full look-up). Direct-mapped, and part of
// the class, so that a send never allocates; an entry made before the method tables last changed
// is not used.
struct MethodCache {
  struct Entry {
    SEL sel = nullptr;
    const char* callTypes = nullptr;
    IMP imp = nullptr;
    uint64_t generation = 0;  // the method tables' generation the entry was made in
  };
  static constexpr size_t kEntries = 64;  // a power of two

  static size_t slotOf(SEL sel) {
    auto bits = reinterpret_cast<uintptr_t>(sel);
    return ((bits >> 4) ^ (bits >> 10)) & (kEntries - 1);
  }

  Entry entries[kEntries];
};

struct objc_class {
  std::string name;
  Class superclass = nullptr;
  bool registered = false;
  // Deques keep every Method, Ivar and property at a stable address as the tables grow.
  std::deque<objc_method> methods;
  std::unordered_map<SEL, Method> methodTable;
  std::deque<objc_ivar> ivars;
  std::deque<objc_property> properties;
  MethodCache cache;
};

namespace {

// One table each per process; the platform is one shared library so host and injected library
// see the same ones. Function-local so that static initialisers of either may use them.
std::unordered_map<std::string_view, std::unique_ptr<objc_selector>>& selectorTable() {
  static auto* table = new std::unordered_map<std::string_view, std::unique_ptr<objc_selector>>;
  return *table;
}

std::unordered_map<std::string_view, std::unique_ptr<objc_class>>& classTable() {
  static auto* table = new std::unordered_map<std::string_view, std::unique_ptr<objc_class>>;
  return *table;
}

std::vector<id>& autoreleaseStack() {
  static auto* stack = new std::vector<id>;
  return *stack;
}

// Moves on whenever a method is added or its implementation replaced, anywhere: a change to a
// class also changes what its subclasses inherit, so every cache entry made before it is stale.
// Methods change at load time; from then on the entries stay valid.
uint64_t methodTablesGeneration = 1;

std::string methodName(Class cls, SEL sel) {
  return std::string("-[") + (cls ? cls->name : "nil") + " " + sel_getName(sel) + "]";
}

Method ownMethod(Class cls, SEL sel) {
  auto found = cls->methodTable.find(sel);
  return found == cls->methodTable.end() ? nullptr : found->second;
}

Method addOwnMethod(Class cls, SEL sel, IMP imp, const char* types) {
  ++methodTablesGeneration;
  Method method = &cls->methods.emplace_back(objc_method{sel, imp, types});
  cls->methodTable.emplace(sel, method);
  return method;
}

[[noreturn]] void throwSignatureMismatch(Class cls, SEL sel, const char* what, const char* expected,
                                         const char* given) {
  throw NSException(NSInvalidArgumentException, methodName(cls, sel) + ": " + what +
                                                    " has type encoding \"" + given +
                                                    "\" but the method's is \"" + expected + "\"");
}

}  // namespace

SEL sel_registerName(const char* name) {
  auto& table = selectorTable();
  auto found = table.find(name);
  if (found != table.end()) return found->second.get();
  auto sel = std::make_unique<objc_selector>(objc_selector{name});
  SEL result = sel.get();
  table.emplace(sel->name, std::move(sel));
  return result;
}

const char* sel_getName(SEL sel) { return sel ? sel->name.c_str() : "<null selector>"; }

Class objc_getClass(const char* name) {
  auto& table = classTable();
  auto found = table.find(name);
  if (found == table.end() || !found->second->registered) return nullptr;
  return found->second.get();
}

Class objc_allocateClassPair(Class superclass, const char* name, size_t) {
  auto& table = classTable();
  if (table.count(name) != 0) return nullptr;  // as on the device: the name is taken
  auto cls = std::make_unique<objc_class>();
  cls->name = name;
  cls->superclass = superclass;
  Class result = cls.get();
  table.emplace(cls->name, std::move(cls));
  return result;
}

void objc_registerClassPair(Class cls) {
  if (cls != nullptr) cls->registered = true;
}

const char* class_getName(Class cls) { return cls ? cls->name.c_str() : "nil"; }

Class class_getSuperclass(Class cls) { return cls ? cls->superclass : nullptr; }

Class object_getClass(const id& object) { return object ? object->objcIsa() : nullptr; }

Method class_getInstanceMethod(Class cls, SEL sel) {
  for (Class c = cls; c != nullptr; c = c->superclass) {
    if (Method method = ownMethod(c, sel)) return method;
  }
  return nullptr;
}

BOOL class_respondsToSelector(Class cls, SEL sel) {
  return class_getInstanceMethod(cls, sel) != nullptr;
}

const char* method_getTypeEncoding(Method method) {
  return method ? method->types.c_str() : nullptr;
}

IMP method_getImplementation(Method method) { return method ? method->imp : nullptr; }

SEL method_getName(Method method) { return method ? method->name : nullptr; }

Method* class_copyMethodList(Class cls, unsigned* outCount) {
  unsigned count = cls ? static_cast<unsigned>(cls->methods.size()) : 0;
  if (outCount) *outCount = count;
  if (count == 0) return nullptr;
  auto* list = new Method[count];
  for (unsigned i = 0; i < count; ++i) list[i] = &cls->methods[i];
  return list;
}

namespace objc_detail {

BOOL addMethod(Class cls, SEL sel, IMP imp, const char* types, const char* signatureTypes) {
  if (cls == nullptr) return NO;
  if (std::strcmp(types, signatureTypes) != 0) {
    throwSignatureMismatch(cls, sel, "the added implementation", types, signatureTypes);
  }
  if (ownMethod(cls, sel) != nullptr) return NO;
  addOwnMethod(cls, sel, imp, types);
  return YES;
}

IMP replaceMethod(Class cls, SEL sel, IMP imp, const char* signatureTypes) {
  if (Method own = ownMethod(cls, sel)) {
    if (own->types != signatureTypes) {
      throwSignatureMismatch(cls, sel, "the replacement", own->types.c_str(), signatureTypes);
    }
    IMP previous = own->imp;
    own->imp = imp;
    ++methodTablesGeneration;
    return previous;
  }
  Method inherited = class_getInstanceMethod(cls->superclass, sel);
  if (inherited == nullptr) {
    throw NSException(NSInvalidArgumentException,
                      methodName(cls, sel) + ": no such method to replace");
  }
  if (inherited->types != signatureTypes) {
    throwSignatureMismatch(cls, sel, "the replacement", inherited->types.c_str(), signatureTypes);
  }
  addOwnMethod(cls, sel, imp, signatureTypes);
  return inherited->imp;
}

namespace {

// Out of line, so that a cache hit saves and restores no registers for it.
[[gnu::noinline]] IMP lookUpAndCache(Class cls, SEL sel, const char* callTypes,
                                     MethodCache::Entry* entry) {
  Method method = class_getInstanceMethod(cls, sel);
  if (method == nullptr) {
    throw NSException(NSInvalidArgumentException,
                      methodName(cls, sel) + ": unrecognized selector sent to instance");
  }
  if (std::strcmp(method->types.c_str(), callTypes) != 0) {
    throwSignatureMismatch(cls, sel, "the message", method->types.c_str(), callTypes);
  }
  if (entry != nullptr) *entry = {sel, callTypes, method->imp, methodTablesGeneration};
  return method->imp;
}

}  // namespace

IMP lookUpImp(const id& receiver, SEL sel, const char* callTypes) {
  Class cls = receiver->objcIsa();
  if (cls == nullptr) return lookUpAndCache(cls, sel, callTypes, nullptr);
  MethodCache::Entry* entry = &cls->cache.entries[MethodCache::slotOf(sel)];
  if (entry->sel == sel && entry->callTypes == callTypes &&
      entry->generation == methodTablesGeneration) {
    return entry->imp;
  }
  return lookUpAndCache(cls, sel, callTypes, entry);
}

}  // namespace objc_detail

BOOL class_addProperty(Class cls, const char* name, const objc_property_attribute_t* attributes,
                       unsigned attributeCount) {
  if (cls == nullptr || class_getProperty(cls, name) != nullptr) return NO;
  std::string text;
  for (unsigned i = 0; i < attributeCount; ++i) {
    if (i > 0) text += ',';
    text += attributes[i].name;
    text += attributes[i].value;
  }
  cls->properties.push_back(objc_property{name, text});
  return YES;
}

objc_property_t class_getProperty(Class cls, const char* name) {
  for (Class c = cls; c != nullptr; c = c->superclass) {
    for (auto& property : c->properties) {
      if (property.name == name) return &property;
    }
  }
  return nullptr;
}

const char* property_getName(objc_property_t property) { return property->name.c_str(); }

const char* property_getAttributes(objc_property_t property) {
  return property->attributes.c_str();
}

BOOL class_addIvar(Class cls, const char* name, const char* types, IvarAccessor accessor) {
  if (cls == nullptr || cls->registered) return NO;  // as on the device: only while being built
  for (auto& ivar : cls->ivars) {
    if (ivar.name == name) return NO;
  }
  cls->ivars.push_back(objc_ivar{name, types, accessor});
  return YES;
}

Ivar class_getInstanceVariable(Class cls, const char* name) {
  for (Class c = cls; c != nullptr; c = c->superclass) {
    for (auto& ivar : c->ivars) {
      if (ivar.name == name) return &ivar;
    }
  }
  return nullptr;
}

const char* ivar_getName(Ivar ivar) { return ivar ? ivar->name.c_str() : nullptr; }

const char* ivar_getTypeEncoding(Ivar ivar) { return ivar ? ivar->types.c_str() : nullptr; }

id object_getIvar(const id& object, Ivar ivar) {
  if (!object || ivar == nullptr) return nullptr;
  return ivar->accessor(object);
}

void objc_setAssociatedObject(const id& object, const void* key, const id& value,
                              objc_AssociationPolicy policy) {
  if (!object) return;
  auto& list = object->associations_;
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->key == key) {
      list.erase(it);
      break;
    }
  }
  if (!value) return;
  // ASSIGN holds no reference; the stand-in keeps it zeroing rather than dangling.
  if (policy == OBJC_ASSOCIATION_ASSIGN) {
    list.push_back({key, nullptr, value});
  } else {
    list.push_back({key, value, {}});
  }
}

id objc_getAssociatedObject(const id& object, const void* key) {
  if (!object) return nullptr;
  for (auto& association : object->associations_) {
    if (association.key == key) {
      return association.strong ? association.strong : association.weak.lock();
    }
  }
  return nullptr;
}

void* objc_autoreleasePoolPush() {
  // The token is the stack depth plus one, so that it is never null.
  return reinterpret_cast<void*>(autoreleaseStack().size() + 1);
}

void objc_autoreleasePoolPop(void* pool) {
  auto depth = reinterpret_cast<uintptr_t>(pool) - 1;
  auto& stack = autoreleaseStack();
  while (stack.size() > depth) stack.pop_back();
}

id objc_autorelease(id object) {
  if (object) autoreleaseStack().push_back(object);
  return object;
}
