// The feedback view's words, decided on a step's values alone.
#pragma once

#include <cmath>

namespace glidepad {

// A level from 0 to 1 as a whole percentage: × 100, rounded half up. A level held as a float
// times 100 is exact in a double, so a level of 0.125 shows 13% and one a hair below it 12%.
inline int levelPercent(double level) {
  if (!(level > 0)) return 0;  // a NaN as well
  if (level >= 1) return 100;
  return static_cast<int>(std::floor(level * 100 + 0.5));
}

}  // namespace glidepad
