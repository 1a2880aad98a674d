#include "DecimalText.h"

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

}  // namespace sim
