#include <gtest/gtest.h>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"

TEST(Collections, ArraysAndDictionariesThroughTheRuntime) {
  auto first = NSStr("first");
  auto array = NSArray::arrayWithObjects({first, NSNumber::numberWithLongLong(2)});
  EXPECT_EQ(objc_msgSend<uint64_t>(array, selector<"count">()), 2u);
  EXPECT_EQ(objc_msgSend<id>(array, selector<"objectAtIndex:">(), uint64_t{0}), first);
  try {
    array->objectAtIndex(2);
    FAIL() << "no exception";
  } catch (const NSException& e) {
    EXPECT_EQ(e.name(), NSRangeException);
  }
  EXPECT_THROW(NSArray::arrayWithObjects({first, nullptr}), NSException);

  // Keys are compared by their text; a key that is no string finds nothing.
  auto dictionary = alloc_init<NSMutableDictionary>();
  auto value = NSNumber::numberWithBool(YES);
  objc_msgSend(dictionary, selector<"setObject:forKey:">(), value, NSStr("key"));
  EXPECT_EQ(objc_msgSend<id>(dictionary, selector<"objectForKey:">(), NSStr("key")), value);
  EXPECT_EQ(dictionary->objectForKey(NSStr("Key")), nullptr);
  EXPECT_EQ(dictionary->objectForKey(nullptr), nullptr);
  EXPECT_EQ(objc_msgSend<id>(dictionary, selector<"objectForKey:">(), value), nullptr);
  dictionary->setObject(first, NSStr("key"));
  EXPECT_EQ(dictionary->objectForKey(NSStr("key")), first);
  EXPECT_EQ(dictionary->count(), 1u);
  EXPECT_THROW(dictionary->setObject(nullptr, NSStr("key")), NSException);
  EXPECT_THROW(dictionary->setObject(value, nullptr), NSException);
  objc_msgSend(dictionary, selector<"removeObjectForKey:">(), NSStr("key"));
  EXPECT_EQ(objc_msgSend<uint64_t>(dictionary, selector<"count">()), 0u);
  EXPECT_FALSE(alloc_init<NSDictionary>()->respondsToSelector(selector<"setObject:forKey:">()));
}

TEST(Collections, OnlyNumbersAndStringsAnswerTheConversions) {
  id answering[] = {NSNumber::numberWithLongLong(1), NSStr("1")};
  id silent[] = {NSArray::arrayWithObjects({}), alloc_init<NSMutableDictionary>(),
                 NSData::dataWithBytes("abc", 3), NSDate::dateWithTimeIntervalSinceReferenceDate(0),
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
}
