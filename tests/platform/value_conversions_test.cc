#include <gtest/gtest.h>

#include <string>

#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "platform/DataTables.h"

// Each row of data/conversions.txt: a value, then what intValue and boolValue answer for it.
TEST(ValueConversions, MatchFoundationForNumbersAndStrings) {
  const auto rows = test::dataRows("conversions.txt");
  EXPECT_EQ(rows.size(), 66u);
  for (const auto& row : rows) {
    ASSERT_EQ(row.size(), 4u);
    const std::string &kind = row[0], &text = row[1];
    SCOPED_TRACE(kind + " " + text);
    id value = kind == "bool"      ? NSNumber::numberWithBool(text == "YES")
               : kind == "integer" ? NSNumber::numberWithLongLong(std::stoll(text))
               : kind == "real"
                   ? NSNumber::numberWithDouble(std::stod(text))
                   : id(NSString::stringWithUTF8String(text.substr(1, text.size() - 2)));
    EXPECT_EQ(objc_msgSend<int>(value, selector<"intValue">()), std::stoi(row[2]));
    EXPECT_EQ(objc_msgSend<bool>(value, selector<"boolValue">()), row[3] == "YES");
  }
}
