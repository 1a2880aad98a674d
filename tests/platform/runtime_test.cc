#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "objc/NSObject.h"
#include "objc/runtime.h"
#include "substrate.h"

namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

// A small class family of the test's own, registered once for the whole program.
class Animal : public NSObject {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestAnimal", NSObject::objcClass(), [](Class c) {
      objc_exposeMethod<&Animal::legs>(c, "legs");
      objc_exposeMethod<&Animal::weigh>(c, "weighWith:scale:");
      objc_exposeMethod<&Animal::setName>(c, "setName:");
      objc_exposeMethod<&Animal::name>(c, "name");
      class_addIvar(c, "_name", "@", [](const id& self) { return objc_cast<Animal>(self)->name_; });
    });
    return cls;
  }
  virtual int legs() const { return 4; }
  double weigh(int grams, float scale) { return grams * static_cast<double>(scale); }
  void setName(const id& name) { name_ = name; }
  id name() const { return name_; }

 private:
  id name_;
};

class Bird : public Animal {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestBird", Animal::objcClass(), [](Class) {});
    return cls;
  }
  int legs() const override { return 2; }
};

// A method answering N, for the methods added and replaced after sends.
template <int N>
int answer(const id&, SEL) {
  return N;
}
TypedIMP<int> savedTone;
TypedIMP<int> savedLegs;
TypedIMP<int> savedLegsAgain;
int hookedLegs(const id& self, SEL cmd) { return 100 + savedLegs(self, cmd); }
int hookedLegsAgain(const id& self, SEL cmd) { return 1000 + savedLegsAgain(self, cmd); }
double wrongSignature(const id&, SEL) { return 0; }
id makeNothing(const id&, SEL) { return nullptr; }

}  // namespace

TEST(Runtime, RefusesUnknownSelectorsAndSendsOfTheWrongSignatureByName) {
  auto bird = alloc_init<Bird>();
  EXPECT_EQ(objc_msgSend<int>(id(), selector<"legs">()), 0);  // nil answers zero
  EXPECT_THAT([&] { objc_msgSend(bird, selector<"fly">()); },
              ThrowsMessage<NSException>(HasSubstr("-[TestBird fly]: unrecognized selector")));
  // A double, not a float: both encodings are named.
  EXPECT_THAT([&] { objc_msgSend<double>(bird, selector<"weighWith:scale:">(), 3, 0.5); },
              ThrowsMessage<NSException>(AllOf(HasSubstr("\"d@:if\""), HasSubstr("\"d@:id\""))));
  EXPECT_DOUBLE_EQ(objc_msgSend<double>(bird, selector<"weighWith:scale:">(), 3, 0.5f), 1.5);

  // Adding keeps an existing method, and checks the encoding given against the function.
  Class animal = Animal::objcClass();
  EXPECT_FALSE(class_addMethod(animal, selector<"name">(), &makeNothing, "@@:"));
  bird->setName(bird);
  EXPECT_EQ(objc_msgSend<id>(bird, selector<"name">()), bird);
  bird->setName(nullptr);
  EXPECT_TRUE(class_addMethod(animal, selector<"nothing">(), &makeNothing, "@@:"));
  EXPECT_EQ(objc_msgSend<id>(bird, selector<"nothing">()), nullptr);
  EXPECT_THROW(class_addMethod(animal, selector<"other">(), &makeNothing, "v@:"), NSException);
  EXPECT_FALSE(class_respondsToSelector(animal, selector<"other">()));
}

TEST(Runtime, SendsSeeEveryMethodAddedOrReplacedAfterThem) {
  Class parentClass = Animal::objcClass(), childClass = Bird::objcClass();
  ASSERT_TRUE(class_addMethod<int>(parentClass, sel_registerName("sound"), &answer<1>, "i@:"));
  ASSERT_TRUE(class_addMethod<int>(parentClass, sel_registerName("tone"), &answer<10>, "i@:"));
  auto child = alloc_init<Bird>();
  auto parent = alloc_init<Animal>();
  // Each send is made twice, so that the second is answered from what the first looked up.
  auto sound = [&](const id& receiver) {
    objc_msgSend<int>(receiver, selector<"sound">());
    return objc_msgSend<int>(receiver, selector<"sound">());
  };
  EXPECT_EQ(sound(child), 1);
  EXPECT_EQ(sound(parent), 1);
  // An override added to the child after the inherited method was sent to it.
  EXPECT_TRUE(class_addMethod<int>(childClass, selector<"sound">(), &answer<2>, "i@:"));
  EXPECT_EQ(sound(child), 2);
  EXPECT_EQ(sound(parent), 1);
  // A replacement on the parent reaches the child that inherits the method.
  EXPECT_EQ(objc_msgSend<int>(child, selector<"tone">()), 10);
  MSHookMessageEx(parentClass, selector<"tone">(), &answer<20>, &savedTone);
  EXPECT_EQ(objc_msgSend<int>(child, selector<"tone">()), 20);
  EXPECT_EQ(savedTone, &answer<10>);
  // A send of another signature is still refused after sends that matched.
  EXPECT_THROW(objc_msgSend<double>(child, selector<"sound">()), NSException);
  EXPECT_EQ(sound(child), 2);
  // An unrecognised selector is not remembered as missing.
  EXPECT_THROW(objc_msgSend<int>(child, selector<"late">()), NSException);
  EXPECT_TRUE(class_addMethod<int>(parentClass, selector<"late">(), &answer<30>, "i@:"));
  EXPECT_EQ(objc_msgSend<int>(child, selector<"late">()), 30);
  // Hooks: the first gives the child a method of its own over the inherited one, the second
  // replaces that; each hands back the one before, and other classes keep theirs.
  EXPECT_EQ(objc_msgSend<int>(child, selector<"legs">()), 2);
  MSHookMessageEx(childClass, selector<"legs">(), &hookedLegs, &savedLegs);
  EXPECT_EQ(objc_msgSend<int>(child, selector<"legs">()), 102);
  MSHookMessageEx(childClass, selector<"legs">(), &hookedLegsAgain, &savedLegsAgain);
  EXPECT_EQ(objc_msgSend<int>(child, selector<"legs">()), 1102);
  EXPECT_EQ(objc_msgSend<int>(parent, selector<"legs">()), 4) << "others keep theirs";
  EXPECT_THAT(
      [&] {
        MSHookMessageEx(childClass, selector<"legs">(), &wrongSignature,
                        static_cast<TypedIMP<double>*>(nullptr));
      },
      ThrowsMessage<NSException>(
          AllOf(HasSubstr("-[TestBird legs]"), HasSubstr("\"i@:\""), HasSubstr("\"d@:\""))));
  EXPECT_EQ(objc_msgSend<int>(child, selector<"legs">()), 1102);
  MSHookMessageEx(nullptr, selector<"legs">(), &hookedLegs, &savedLegs);  // ignored
}

TEST(Runtime, PropertiesIvarsAssociatedObjectsAndPools) {
  Class animal = Animal::objcClass();
  objc_property_attribute_t attributes[] = {{"T", "@\"ZEBStepper\""}, {"&", ""}, {"N", ""}};
  EXPECT_TRUE(class_addProperty(animal, "stepper", attributes, 3));
  EXPECT_FALSE(class_addProperty(animal, "stepper", attributes, 3));
  EXPECT_STREQ(property_getAttributes(class_getProperty(animal, "stepper")),
               "T@\"ZEBStepper\",&,N");

  auto bird = alloc_init<Bird>();
  auto name = alloc_init<NSObject>();
  bird->setName(name);
  EXPECT_EQ(object_getIvar(bird, class_getInstanceVariable(object_getClass(bird), "_name")), name);
  EXPECT_EQ(class_getInstanceVariable(object_getClass(bird), "_missing"), nullptr);

  static const char key = 0;
  auto value = alloc_init<NSObject>();
  std::weak_ptr<NSObject> watch = value;
  objc_setAssociatedObject(bird, &key, std::exchange(value, nullptr),
                           OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  EXPECT_FALSE(watch.expired());  // retained by the association
  EXPECT_EQ(objc_getAssociatedObject(bird, &key), watch.lock());
  objc_setAssociatedObject(bird, &key, alloc_init<NSObject>(), OBJC_ASSOCIATION_RETAIN_NONATOMIC);
  EXPECT_TRUE(watch.expired());  // the replaced value is released

  // An autoreleased object lives until its pool is popped, the innermost first.
  void* outer = objc_autoreleasePoolPush();
  void* inner = objc_autoreleasePoolPush();
  watch = objc_autorelease(alloc_init<NSObject>());
  EXPECT_FALSE(watch.expired());
  objc_autoreleasePoolPop(inner);
  EXPECT_TRUE(watch.expired());
  objc_autoreleasePoolPop(outer);
}
