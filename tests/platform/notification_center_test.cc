#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CoreFoundation/CFNotificationCenter.h"
#include "Foundation/NSNotificationCenter.h"
#include "Foundation/NSString.h"

namespace {

std::vector<std::string> heard;

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

}  // namespace

TEST(NotificationCenter, DeliversSynchronouslyInSubscriptionOrderByNameAndObject) {
  heard.clear();
  auto center = alloc_init<NSNotificationCenter>();
  auto sender = NSStr("sender");
  auto other = NSStr("other");
  auto third = Listener::named("third");
  auto first = Listener::named("first");
  auto second = Listener::named("second");
  auto any = Listener::named("any");
  center->addObserver(third, selector<"ping">(), NSStr("A"), nullptr);
  center->addObserver(first, selector<"pingWith:">(), NSStr("A"), nullptr);
  center->addObserver(second, selector<"ping">(), NSStr("A"), sender);
  center->addObserver(any, selector<"pingWith:">(), nullptr, nullptr);

  center->postNotificationName(NSStr("A"), sender);
  // Heard before the post returned, in the order of subscription, not of creation.
  EXPECT_EQ(heard,
            (std::vector<std::string>{"third", "first(A,sender)", "second", "any(A,sender)"}));
  heard.clear();
  center->postNotificationName(NSStr("A"), other);  // not from second's sender
  EXPECT_EQ(heard, (std::vector<std::string>{"third", "first(A,other)", "any(A,other)"}));
  heard.clear();
  center->postNotificationName(NSStr("B"), nullptr);
  EXPECT_EQ(heard, (std::vector<std::string>{"any(B,nil)"}));
  heard.clear();

  center->removeObserver(third);
  center->postNotificationName(NSStr("A"), sender);
  EXPECT_EQ(heard, (std::vector<std::string>{"first(A,sender)", "second", "any(A,sender)"}));
}

TEST(NotificationCenter, ForgetsObserversThatAreGone) {
  heard.clear();
  auto center = NSNotificationCenter::defaultCenter();
  EXPECT_EQ(center, NSNotificationCenter::defaultCenter());
  size_t before = center->observerCount_();
  auto kept = Listener::named("kept");
  {
    auto gone = Listener::named("gone");
    center->addObserver(gone, selector<"ping">(), NSStr("Test-gone"), nullptr);
    center->addObserver(kept, selector<"ping">(), NSStr("Test-gone"), nullptr);
  }
  center->postNotificationName(NSStr("Test-gone"), nullptr);
  EXPECT_EQ(heard, (std::vector<std::string>{"kept"}));
  EXPECT_EQ(center->observerCount_(), before + 1);
  center->removeObserver(kept);
  EXPECT_EQ(center->observerCount_(), before);

  // Observers that go without a post between them are forgotten as others subscribe.
  for (int i = 0; i < 100; ++i) {
    auto passing = Listener::named("passing");
    center->addObserver(passing, selector<"ping">(), NSStr("Test-passing"), nullptr);
  }
  EXPECT_EQ(center->observerCount_(), before + 1);

  // An observer whose selector is no method of it is refused loudly when the post reaches it.
  auto listener = Listener::named("deaf");
  center->addObserver(listener, selector<"noSuchMethod">(), NSStr("Test-deaf"), nullptr);
  EXPECT_THROW(center->postNotificationName(NSStr("Test-deaf"), nullptr), NSException);
  center->removeObserver(listener);
}

namespace {

struct Call {
  CFNotificationCenterRef center;
  void* observer;
  std::string name;
  const void* object;
  CFDictionaryRef userInfo;
};
std::vector<Call> calls;
int observerA = 0;
int observerB = 0;

void record(CFNotificationCenterRef center, void* observer, CFStringRef name, const void* object,
            CFDictionaryRef userInfo) {
  calls.push_back({center, observer, name->string(), object, userInfo});
}

void recordAndSubscribe(CFNotificationCenterRef center, void* observer, CFStringRef name,
                        const void* object, CFDictionaryRef userInfo) {
  record(center, observer, name, object, userInfo);
  CFNotificationCenterAddObserver(center, &observerB, &record, name, nullptr,
                                  CFNotificationSuspensionBehaviorDeliverImmediately);
}

}  // namespace

TEST(DarwinNotificationCenter, DeliversNamedPayloadFreeNotificationsToEveryObserver) {
  CFNotificationCenterRef center = CFNotificationCenterGetDarwinNotifyCenter();
  ASSERT_NE(center, nullptr);
  EXPECT_EQ(center, CFNotificationCenterGetDarwinNotifyCenter());
  auto name = NSStr("test.darwin.changed");
  {
    // The centre keeps the name, not the string object.
    auto temporary = NSStr("test.darwin.changed");
    CFNotificationCenterAddObserver(center, &observerA, &recordAndSubscribe, temporary.get(),
                                    &observerB, CFNotificationSuspensionBehavior(0));
  }
  CFNotificationCenterAddObserver(center, nullptr, &record, NSStr("test.darwin.other").get(),
                                  nullptr, CFNotificationSuspensionBehavior(0));
  CFNotificationCenterAddObserver(center, nullptr, &record, nullptr, nullptr,
                                  CFNotificationSuspensionBehavior(0));  // no name: ignored

  // The object and user info do not travel; an observer added meanwhile hears the next post.
  calls.clear();
  int payload = 0;
  CFNotificationCenterPostNotification(center, name.get(), &payload,
                                       reinterpret_cast<CFDictionaryRef>(&payload), true);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].center, center);
  EXPECT_EQ(calls[0].observer, &observerA);
  EXPECT_EQ(calls[0].name, "test.darwin.changed");
  EXPECT_EQ(calls[0].object, nullptr);
  EXPECT_EQ(calls[0].userInfo, nullptr);

  calls.clear();
  CFNotificationCenterPostNotification(center, NSStr("test.darwin.changed").get(), nullptr, nullptr,
                                       false);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].observer, &observerA);
  EXPECT_EQ(calls[1].observer, &observerB);

  calls.clear();
  CFNotificationCenterPostNotification(center, NSStr("test.darwin.unheard").get(), nullptr, nullptr,
                                       false);
  CFNotificationCenterPostNotification(center, nullptr, nullptr, nullptr, false);
  EXPECT_TRUE(calls.empty());
  CFNotificationCenterPostNotification(center, NSStr("test.darwin.other").get(), nullptr, nullptr,
                                       false);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].observer, nullptr);
}
