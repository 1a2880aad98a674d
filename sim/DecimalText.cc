#include "sim/DecimalText.h"

#include <cfloat>
#include <charconv>
#include <cmath>

namespace sim {

namespace {

template <typename Real>
std::string shortest(Real value) {
  if (std::isnan(value)) return "nan";  // to_chars would write "-nan" for a NaN with its sign set
  char text[64];
  auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace

std::string shortestDecimal(double value) { return shortest(value); }
std::string shortestDecimal(float value) { return shortest(value); }

bool heldAsFloat(double level) {
  // A finite double beyond the float range has no float to compare with: converting it is
  // undefined.
  if (std::isfinite(level) && std::fabs(level) > FLT_MAX) return false;
  return static_cast<double>(static_cast<float>(level)) == level;
}

}  // namespace sim
