#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "Foundation/NSArray.h"
#include "Foundation/NSData.h"
#include "Foundation/NSDate.h"
#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"

TEST(Collections, RefuseNilAndBadIndexesFindKeysByTextAndOnlyNumbersAndStringsConvert) {
  auto first = NSStr("first");
  auto array = NSArray::arrayWithObjects({first, NSNumber::numberWithLongLong(2)});
  EXPECT_THAT([&] { array->objectAtIndex(2); },
              testing::ThrowsMessage<NSException>(testing::StartsWith("NSRangeException: ")));
  EXPECT_THROW(NSArray::arrayWithObjects({first, nullptr}), NSException);

  auto dictionary = alloc_init<NSMutableDictionary>();
  auto value = NSNumber::numberWithBool(YES);
  dictionary->setObject(value, NSStr("key"));
  EXPECT_EQ(objc_msgSend<id>(dictionary, selector<"objectForKey:">(), NSStr("key")), value);
  for (const id& key : {id(NSStr("Key")), id(), id(value)}) {
    EXPECT_EQ(objc_msgSend<id>(dictionary, selector<"objectForKey:">(), key), nullptr);
  }
  EXPECT_THROW(dictionary->setObject(nullptr, NSStr("key")), NSException);
  EXPECT_THROW(dictionary->setObject(value, nullptr), NSException);
  EXPECT_FALSE(alloc_init<NSDictionary>()->respondsToSelector(selector<"setObject:forKey:">()));

  // Only numbers and strings answer the conversions: the settings loader asks a value whether it
  // answers one before sending it.
  const id values[] = {
      NSNumber::numberWithLongLong(1), NSStr("1"),
      NSArray::arrayWithObjects({}),   alloc_init<NSMutableDictionary>(),
      NSData::dataWithBytes("abc", 3), NSDate::dateWithTimeIntervalSinceReferenceDate(0),
      alloc_init<NSObject>()};
  for (const id& kind : values) {
    SCOPED_TRACE(class_getName(object_getClass(kind)));
    bool answers = &kind < &values[2];
    EXPECT_EQ(kind->respondsToSelector(selector<"intValue">()), answers);
    EXPECT_EQ(kind->respondsToSelector(selector<"boolValue">()), answers);
    if (answers) continue;
    EXPECT_THROW(objc_msgSend<int>(kind, selector<"intValue">()), NSException);
  }
}
