// Foundation's `intValue`, `boolValue` and `floatValue` conversions, in one place so that NSNumber
// and NSString agree with each other and with the device.
#pragma once

#include <cstdint>
#include <string_view>

namespace foundation_detail {

// An integer keeps its low 32 bits, as Darwin's NSNumber does (INT64_MAX gives -1).
int intValueOfInteger(int64_t value);
// A real is truncated toward zero; beyond the int range it saturates, NaN gives 0.
int intValueOfReal(double value);
bool boolValueOfInteger(int64_t value);
// Rounded to the nearest float; beyond the float range an infinity, NaN stays NaN.
float floatValueOfReal(double value);
// Any nonzero real is YES, so 0.5 is YES.
bool boolValueOfReal(double value);

// Leading whitespace, one optional sign, whitespace again, then decimal digits up to the first
// other character, saturating at INT_MAX / INT_MIN. No digits give 0; there is no hex.
int intValueOfString(std::string_view utf8);
// Leading whitespace; then "Y", "y", "T" or "t" is YES; otherwise one optional sign, any zeros,
// and YES exactly when a digit 1 to 9 follows.
bool boolValueOfString(std::string_view utf8);
// Leading whitespace, one optional sign, then a decimal number with an optional fraction and an
// optional exponent, up to the first character that cannot continue it, rounded to a float; no
// number gives 0, one beyond the float range an infinity. "inf" and "nan" are no numbers.
float floatValueOfString(std::string_view utf8);

}  // namespace foundation_detail
