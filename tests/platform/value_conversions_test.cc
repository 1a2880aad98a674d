#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"

using namespace std::string_view_literals;

// Every row is sent `intValue` and `boolValue` through the runtime, as the settings loader does.
TEST(ValueConversions, MatchFoundationForNumbersAndStrings) {
  using N = NSNumber;
  auto s = [](std::string_view text) -> id { return NSString::stringWithUTF8String(text); };
  const struct {
    id value;
    int intValue;
    bool boolValue;
  } rows[] = {
      {N::numberWithBool(YES), 1, true},
      {N::numberWithBool(NO), 0, false},
      // Integers keep their low 32 bits; any nonzero value is YES.
      {N::numberWithLongLong(0), 0, false},
      {N::numberWithLongLong(-7), -7, true},
      {N::numberWithLongLong(INT_MAX), INT_MAX, true},
      {N::numberWithLongLong(int64_t{INT_MAX} + 1), INT_MIN, true},
      {N::numberWithLongLong(INT64_MAX), -1, true},
      {N::numberWithLongLong(INT64_MIN), 0, true},
      {N::numberWithLongLong((int64_t{1} << 32) + 5), 5, true},
      // Reals truncate toward zero and saturate; NaN gives 0 but is nonzero.
      {N::numberWithDouble(2.9), 2, true},
      {N::numberWithDouble(-2.9), -2, true},
      {N::numberWithDouble(0.5), 0, true},
      {N::numberWithDouble(-0.0), 0, false},
      {N::numberWithDouble(2147483646.9), 2147483646, true},
      {N::numberWithDouble(2147483647.5), INT_MAX, true},
      {N::numberWithDouble(-2147483648.9), INT_MIN, true},
      {N::numberWithDouble(-1e10), INT_MIN, true},
      {N::numberWithDouble(INFINITY), INT_MAX, true},
      {N::numberWithDouble(std::nan("")), 0, true},
      // Strings: digits after whitespace and one sign.
      {s(""), 0, false},
      {s("\t\n\r\v\f 7"), 7, true},
      {s("000123"), 123, true},
      {s("-1"), -1, true},
      {s("+1"), 1, true},
      {s("- 5"), -5, false},  // whitespace after the sign counts for intValue only
      {s("+-5"), 0, false},
      {s("12abc"), 12, true},
      {s("abc"), 0, false},
      {s("3.9"), 3, true},
      {s("0.5"), 0, false},
      {s("1e5"), 1, true},
      {s("0x1A"), 0, false},
      {s("5 6"), 5, true},
      // Saturation.
      {s("2147483647"), INT_MAX, true},
      {s("2147483648"), INT_MAX, true},
      {s("99999999999999999999999"), INT_MAX, true},
      {s("-2147483649"), INT_MIN, true},
      {s("-99999999999999999999999"), INT_MIN, true},
      // Whitespace: below 0x21 (NUL included), 0x7F to 0xA0, U+2000 to U+200B, U+3000.
      {s("\0005"sv), 5, true},
      {s("\001\0378"), 8, true},
      {s("\1773"), 3, true},
      {s("\u00853"), 3, true},
      {s("\u00A012"), 12, true},
      {s("\u20009"), 9, true},
      {s("\u200B9"), 9, true},
      {s("\u30009"), 9, true},
      {s("-\u30009"), -9, false},
      {s("\u00A19"), 0, false},
      {s("\u200C9"), 0, false},
      {s("\u205F9"), 0, false},
      // No whitespace either: an overlong encoding, a malformed byte, a cut sequence.
      {s("\300\2403"), 0, false},
      {s("\3775"), 0, false},
      {s("\342\2009"), 0, false},
      // Booleans of strings: a leading Y, y, T or t, after whitespace but no sign.
      {s("Y"), 0, true},
      {s("y"), 0, true},
      {s("T"), 0, true},
      {s("t"), 0, true},
      {s(" \t y"), 0, true},
      {s("+y"), 0, false},
      {s("no"), 0, false},
      {s("false"), 0, false},
      {s("000"), 0, false},
      {s("-0"), 0, false},
      {s(" 0009"), 9, true},
      {s("-0001"), -1, true},
      {s("0a"), 0, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("value: \"" + row.value->description() + "\"");
    EXPECT_EQ(objc_msgSend<int>(row.value, selector<"intValue">()), row.intValue);
    EXPECT_EQ(objc_msgSend<bool>(row.value, selector<"boolValue">()), row.boolValue);
  }
}
