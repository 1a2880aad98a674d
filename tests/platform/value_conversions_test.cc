#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"

namespace {

struct Conversion {
  id value;
  int intValue;
  bool boolValue;
};

Ref<NSString> bytes(std::string_view text) { return NSString::stringWithUTF8String(text); }

}  // namespace

// Every row is sent `intValue` and `boolValue` through the runtime, as the settings loader does.
TEST(ValueConversions, MatchFoundationForNumbersAndStrings) {
  using N = NSNumber;
  const double nan = std::nan("");
  const Conversion rows[] = {
      // Booleans.
      {N::numberWithBool(YES), 1, true},
      {N::numberWithBool(NO), 0, false},
      // Integers keep their low 32 bits; any nonzero value is YES.
      {N::numberWithLongLong(0), 0, false},
      {N::numberWithLongLong(42), 42, true},
      {N::numberWithLongLong(-7), -7, true},
      {N::numberWithLongLong(INT_MAX), INT_MAX, true},
      {N::numberWithLongLong(int64_t{INT_MAX} + 1), INT_MIN, true},
      {N::numberWithLongLong(INT64_MAX), -1, true},
      {N::numberWithLongLong(INT64_MIN), 0, true},
      {N::numberWithLongLong(int64_t{1} << 32), 0, true},
      {N::numberWithLongLong((int64_t{1} << 32) + 5), 5, true},
      // Reals truncate toward zero and saturate; NaN gives 0 but is nonzero.
      {N::numberWithDouble(2.9), 2, true},
      {N::numberWithDouble(-2.9), -2, true},
      {N::numberWithDouble(0.5), 0, true},
      {N::numberWithDouble(-0.5), 0, true},
      {N::numberWithDouble(0.0), 0, false},
      {N::numberWithDouble(-0.0), 0, false},
      {N::numberWithDouble(2147483646.9), 2147483646, true},
      {N::numberWithDouble(2147483647.5), INT_MAX, true},
      {N::numberWithDouble(-2147483648.9), INT_MIN, true},
      {N::numberWithDouble(1e10), INT_MAX, true},
      {N::numberWithDouble(-1e10), INT_MIN, true},
      {N::numberWithDouble(INFINITY), INT_MAX, true},
      {N::numberWithDouble(-INFINITY), INT_MIN, true},
      {N::numberWithDouble(nan), 0, true},
      // Strings: digits after whitespace and one sign.
      {bytes(""), 0, false},
      {bytes("42"), 42, true},
      {bytes("  42"), 42, true},
      {bytes("\t\n\r\v\f 7"), 7, true},
      {bytes("000123"), 123, true},
      {bytes("-1"), -1, true},
      {bytes("+1"), 1, true},
      {bytes("- 5"), -5, false},  // whitespace after the sign counts for intValue only
      {bytes("+ 5"), 5, false},
      {bytes("+-5"), 0, false},
      {bytes("--5"), 0, false},
      {bytes("12abc"), 12, true},
      {bytes("1a"), 1, true},
      {bytes("abc"), 0, false},
      {bytes("3.9"), 3, true},
      {bytes("0.5"), 0, false},
      {bytes("1e5"), 1, true},
      {bytes("0x1A"), 0, false},
      {bytes("5 6"), 5, true},
      // Saturation.
      {bytes("2147483647"), INT_MAX, true},
      {bytes("2147483648"), INT_MAX, true},
      {bytes("99999999999999999999999"), INT_MAX, true},
      {bytes("-2147483648"), INT_MIN, true},
      {bytes("-2147483649"), INT_MIN, true},
      {bytes("-99999999999999999999999"), INT_MIN, true},
      // Whitespace: below 0x21 (NUL included), 0x7F to 0xA0, U+2000 to U+200B, U+3000.
      {bytes(std::string_view("\0"
                              "5",
                              2)),
       5, true},
      {bytes("\x01\x1f"
             "8"),
       8, true},
      {bytes("\x7f"
             "3"),
       3, true},
      {bytes("\xc2\x85"
             "3"),
       3, true},  // U+0085
      {bytes("\xc2\xa0"
             "12"),
       12, true},  // U+00A0
      {bytes("\xe2\x80\x80"
             "9"),
       9, true},  // U+2000
      {bytes("\xe2\x80\x8b"
             "9"),
       9, true},  // U+200B
      {bytes("\xe3\x80\x80"
             "9"),
       9, true},  // U+3000
      {bytes("-\xe3\x80\x80"
             "9"),
       -9, false},
      {bytes("\xc2\xa1"
             "9"),
       0, false},  // U+00A1 is not whitespace
      {bytes("\xe2\x80\x8c"
             "9"),
       0, false},  // U+200C is not whitespace
      {bytes("\xe2\x81\x9f"
             "9"),
       0, false},  // U+205F is not in the set
      {bytes("\xc0\xa0"
             "3"),
       0, false},  // an overlong encoding is no whitespace
      {bytes("\xff"
             "5"),
       0, false},  // nor is a malformed byte
      {bytes("\xe2\x80"
             "9"),
       0, false},  // nor a cut sequence
      // Booleans of strings: a leading Y, y, T or t.
      {bytes("Y"), 0, true},
      {bytes("y"), 0, true},
      {bytes("T"), 0, true},
      {bytes("t"), 0, true},
      {bytes("YES"), 0, true},
      {bytes("true"), 0, true},
      {bytes(" \t y"), 0, true},
      {bytes("y+"), 0, true},
      {bytes("+y"), 0, false},
      {bytes("N"), 0, false},
      {bytes("no"), 0, false},
      {bytes("false"), 0, false},
      {bytes("0"), 0, false},
      {bytes("000"), 0, false},
      {bytes("-0"), 0, false},
      {bytes("+0"), 0, false},
      {bytes(" 0009"), 9, true},
      {bytes("-0001"), -1, true},
      {bytes("0a"), 0, false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE("value: \"" + row.value->description() + "\"");
    EXPECT_EQ(objc_msgSend<int>(row.value, selector<"intValue">()), row.intValue);
    EXPECT_EQ(objc_msgSend<bool>(row.value, selector<"boolValue">()), row.boolValue);
  }
}
