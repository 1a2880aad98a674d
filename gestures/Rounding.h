// The two narrowing conversions the swipe gestures make, with every double given a defined result.
#pragma once

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>

namespace glidepad {

// Rounds to single precision as the hardware does (to nearest, ties to even), doubles beyond the
// float range going to infinity and NaN staying NaN.
inline float toSinglePrecision(double value) {
  // Halfway between FLT_MAX and the next power of two: from here on the nearest float is infinity.
  constexpr double kOverflow = static_cast<double>(FLT_MAX) + 0x1p103;
  if (value >= kOverflow) return std::numeric_limits<float>::infinity();
  if (value <= -kOverflow) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// A step position: truncated toward zero; negative values and NaN give 0, and 2^64 or more gives
// the largest position.
inline uint64_t toStepPosition(double value) {
  if (!(value > 0)) return 0;
  if (value >= 0x1p64) return std::numeric_limits<uint64_t>::max();
  return static_cast<uint64_t>(value);
}

}  // namespace glidepad
