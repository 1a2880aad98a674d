#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"

namespace {

using Heard = std::vector<std::string>;
Heard heard;

// An observer that notes, under its tag, every notification it hears.
class Listener : public NSObject {
 public:
  static Class objcClass() {
    static Class cls = objc_registerClass("TestListener", NSObject::objcClass(), [](Class c) {
      objc_exposeMethod<&Listener::ping>(c, "ping");
      objc_exposeMethod<&Listener::pingWith>(c, "pingWith:");
    });
    return cls;
  }
  static Ref<Listener> named(std::string tag) {
    auto listener = alloc_init<Listener>();
    listener->tag_ = std::move(tag);
    return listener;
  }
  void ping() { heard.push_back(tag_); }
  void pingWith(const Ref<NSNotification>& notification) {
    std::string object = notification->object() ? notification->object()->description() : "nil";
    heard.push_back(tag_ + "(" + notification->name()->string() + "," + object + ")");
  }

 private:
  std::string tag_;
};

// Posts and answers what was heard.
Heard post(const Ref<NSNotificationCenter>& center, const char* name, const id& object) {
  heard.clear();
  center->postNotificationName(NSStr(name), object);
  return heard;
}

std::vector<void*> calls;
int observerA = 0, observerB = 0;

// Notes the observer, and the object if one came; observer A subscribes B to the name it heard.
void record(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object,
            CFDictionaryRef userInfo) {
  EXPECT_EQ(center, CFNotificationCenterGetDarwinNotifyCenter());
  EXPECT_EQ(name->string().rfind("test.darwin.", 0), 0u);
  calls.push_back(observer);
  if (object || userInfo) calls.push_back(const_cast<void*>(object));
  if (observer != &observerA) return;
  CFNotificationCenterAddObserver(center, &observerB, &record, name, nullptr,
                                  CFNotificationSuspensionBehaviorDeliverImmediately);
}

std::vector<void*> postDarwin(const char* name, void* payload = nullptr) {
  calls.clear();
  CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                       name ? NSStr(name).get() : nullptr, payload,
                                       reinterpret_cast<CFDictionaryRef>(payload), true);
  return calls;
}

}  // namespace

TEST(NotificationCenter, DeliversInSubscriptionOrderByNameAndObjectAndForgetsObserversGone) {
  auto center = alloc_init<NSNotificationCenter>();
  auto sender = NSStr("sender");
  auto [third, first, second, any] = std::tuple{Listener::named("third"), Listener::named("first"),
                                                Listener::named("second"), Listener::named("any")};
  center->addObserver(third, selector<"ping">(), NSStr("A"), nullptr);
  center->addObserver(first, selector<"pingWith:">(), NSStr("A"), nullptr);
  center->addObserver(second, selector<"ping">(), NSStr("A"), sender);
  center->addObserver(any, selector<"pingWith:">(), nullptr, nullptr);
  // Heard before the post returned, in the order of subscription, not of creation.
  EXPECT_EQ(post(center, "A", sender),
            (Heard{"third", "first(A,sender)", "second", "any(A,sender)"}));
  EXPECT_EQ(post(center, "A", NSStr("other")), (Heard{"third", "first(A,other)", "any(A,other)"}));
  EXPECT_EQ(post(center, "B", nullptr), (Heard{"any(B,nil)"}));
  center->removeObserver(third);
  EXPECT_EQ(post(center, "A", sender), (Heard{"first(A,sender)", "second", "any(A,sender)"}));

  // Observers that are gone are not heard, and those that go without a post between them are
  // forgotten as others subscribe.
  center->addObserver(Listener::named("gone"), selector<"ping">(), NSStr("T"), nullptr);
  center->addObserver(first, selector<"ping">(), NSStr("T"), nullptr);
  EXPECT_EQ(post(center, "T", nullptr), (Heard{"any(T,nil)", "first"}));
  for (int i = 0; i < 100; ++i) {
    center->addObserver(Listener::named("passing"), selector<"ping">(), NSStr("T"), nullptr);
  }
  EXPECT_EQ(center->observerCount_(), 5u);  // four that live, the last that went
  // An observer whose selector is no method of it is refused loudly when the post reaches it.
  center->addObserver(first, selector<"noSuchMethod">(), NSStr("deaf"), nullptr);
  EXPECT_THROW(post(center, "deaf", nullptr), NSException);
}

TEST(DarwinNotificationCenter, DeliversNamedPayloadFreeNotificationsToEveryObserver) {
  CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
  ASSERT_NE(center, nullptr);
  // The centre keeps the name, not the string object.
  CFNotificationCenterAddObserver(center, &observerA, &record, NSStr("test.darwin.changed").get(),
                                  &observerB, CFNotificationSuspensionBehavior(0));
  CFNotificationCenterAddObserver(center, nullptr, &record, NSStr("test.darwin.other").get(),
                                  nullptr, CFNotificationSuspensionBehavior(0));
  CFNotificationCenterAddObserver(center, nullptr, &record, nullptr, nullptr,
                                  CFNotificationSuspensionBehavior(0));  // no name: ignored
  // The object and user info do not travel; an observer added meanwhile hears the next post.
  int payload = 0;
  EXPECT_EQ(postDarwin("test.darwin.changed", &payload), (std::vector<void*>{&observerA}));
  EXPECT_EQ(postDarwin("test.darwin.changed"), (std::vector<void*>{&observerA, &observerB}));
  EXPECT_TRUE(postDarwin("test.darwin.unheard").empty());
  EXPECT_TRUE(postDarwin(nullptr).empty());
  EXPECT_EQ(postDarwin("test.darwin.other"), (std::vector<void*>{nullptr}));
}
