#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

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

// floatValue rounds to a float; a string reads a decimal number only, and out of range saturates.
TEST(ValueConversions, FloatValueReadsADecimalAndRoundsToAFloat) {
  const std::pair<const char*, float> strings[] = {
      {" 1.6", 1.6f}, {"+2", 2},    {"-0.5x", -0.5f}, {"2e", 2},  {"1e3", 1000},
      {".5", 0.5f},   {".", 0},     {"abc", 0},       {"inf", 0}, {"nan", 0},
      {"0x10", 0},    {"1e-50", 0}, {"7e1.5", 70},    {"", 0},    {"- 1", 0},
  };
  for (const auto& [text, expected] : strings) {
    SCOPED_TRACE(text);
    EXPECT_EQ(objc_msgSend<float>(NSStr(text), selector<"floatValue">()), expected);
  }
  const float infinity = std::numeric_limits<float>::infinity();
  EXPECT_EQ(NSStr("1e39")->floatValue(), infinity);
  EXPECT_EQ(NSStr("-1e400")->floatValue(), -infinity);
  EXPECT_EQ(NSNumber::numberWithDouble(1e39)->floatValue(), infinity);
  EXPECT_EQ(NSNumber::numberWithDouble(-1e300)->floatValue(), -infinity);
  EXPECT_EQ(NSNumber::numberWithDouble(1.6)->floatValue(), 1.6f);
  EXPECT_TRUE(std::isnan(NSNumber::numberWithDouble(std::nan(""))->floatValue()));
  EXPECT_EQ(NSNumber::numberWithLongLong(16777217)->floatValue(), 16777216.0f);
  EXPECT_EQ(objc_msgSend<float>(NSNumber::numberWithBool(YES), selector<"floatValue">()), 1.0f);
}
