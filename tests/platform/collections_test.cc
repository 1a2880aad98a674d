#include <gtest/gtest.h>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"

TEST(Collections, ArraysAnswerCountAndObjectAtIndexThroughTheRuntime) {
  auto first = NSStr("first");
  auto second = NSNumber::numberWithLongLong(2);
  auto array = NSArray::arrayWithObjects({first, second});
  EXPECT_EQ(objc_msgSend<uint64_t>(array, selector<"count">()), 2u);
  EXPECT_EQ(objc_msgSend<id>(array, selector<"objectAtIndex:">(), uint64_t{0}), first);
  EXPECT_EQ(array->objectAtIndex(1), second);
  try {
    array->objectAtIndex(2);
    FAIL() << "no exception";
  } catch (const NSException& e) {
    EXPECT_EQ(e.name(), NSRangeException);
  }
  EXPECT_THROW(NSArray::arrayWithObjects({first, nullptr}), NSException);
  EXPECT_EQ(NSArray::arrayWithObjects({})->count(), 0u);
}

TEST(Collections, DictionariesKeyByStringValue) {
  auto dictionary = alloc_init<NSMutableDictionary>();
  auto value = NSNumber::numberWithBool(YES);
  dictionary->setObject(value, NSStr("key"));
  // Another string object with the same text finds the entry, through C++ and the runtime.
  EXPECT_EQ(dictionary->objectForKey(NSStr("key")), value);
  EXPECT_EQ(objc_msgSend<id>(dictionary, selector<"objectForKey:">(), NSStr("key")), value);
  EXPECT_EQ(dictionary->objectForKey(NSStr("Key")), nullptr);
  EXPECT_EQ(dictionary->objectForKey(nullptr), nullptr);
  // A key that is not a string finds nothing.
  EXPECT_EQ(objc_msgSend<id>(dictionary, selector<"objectForKey:">(), value), nullptr);

  auto replacement = NSStr("replacement");
  objc_msgSend(dictionary, selector<"setObject:forKey:">(), replacement, NSStr("key"));
  EXPECT_EQ(dictionary->objectForKey(NSStr("key")), replacement);
  EXPECT_EQ(dictionary->count(), 1u);
  EXPECT_THROW(dictionary->setObject(nullptr, NSStr("key")), NSException);
  EXPECT_THROW(dictionary->setObject(value, nullptr), NSException);

  objc_msgSend(dictionary, selector<"removeObjectForKey:">(), NSStr("key"));
  EXPECT_EQ(dictionary->objectForKey(NSStr("key")), nullptr);
  dictionary->removeObjectForKey(NSStr("absent"));
  EXPECT_EQ(objc_msgSend<uint64_t>(dictionary, selector<"count">()), 0u);

  // The immutable class has no mutators.
  EXPECT_FALSE(alloc_init<NSDictionary>()->respondsToSelector(selector<"setObject:forKey:">()));
}

TEST(Collections, OnlyNumbersAndStringsAnswerTheConversions) {
  const char bytes[] = {1, 2, 3};
  id answering[] = {NSNumber::numberWithLongLong(1), NSStr("1")};
  id silent[] = {NSArray::arrayWithObjects({}),
                 alloc_init<NSDictionary>(),
                 alloc_init<NSMutableDictionary>(),
                 NSData::dataWithBytes(bytes, 3),
                 NSDate::dateWithTimeIntervalSinceReferenceDate(0),
                 alloc_init<NSObject>()};
  for (const id& object : answering) {
    EXPECT_TRUE(object->respondsToSelector(selector<"intValue">()));
    EXPECT_TRUE(object->respondsToSelector(selector<"boolValue">()));
  }
  for (const id& object : silent) {
    SCOPED_TRACE(class_getName(object_getClass(object)));
    EXPECT_FALSE(object->respondsToSelector(selector<"intValue">()));
    EXPECT_FALSE(object->respondsToSelector(selector<"boolValue">()));
    EXPECT_THROW(objc_msgSend<int>(object, selector<"intValue">()), NSException);
  }
  auto data = NSData::dataWithBytes(bytes, 3);
  ASSERT_EQ(data->length(), 3u);
  EXPECT_EQ(static_cast<const char*>(data->bytes())[2], 3);
  EXPECT_EQ(NSData::dataWithBytes(nullptr, 0)->length(), 0u);
  EXPECT_EQ(NSDate::dateWithTimeIntervalSinceReferenceDate(-1.5)->timeIntervalSinceReferenceDate(),
            -1.5);
}
