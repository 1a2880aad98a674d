// The double tap's two decisions, on numbers alone: which side of the player a tap is on, and
// how many seek steps a double tap sends.
#pragma once

#include <algorithm>

namespace glidepad {

enum class TapSide { Backward, Middle, Forward };

// The left third seeks backward, the right third forward; a tap exactly on a third's edge, or on
// a view with no width, is in the middle, which is the host's.
inline TapSide tapSide(double x, double width) {
  if (!(width > 0)) return TapSide::Middle;
  if (x < width / 3) return TapSide::Backward;
  if (x > width * 2 / 3) return TapSide::Forward;
  return TapSide::Middle;
}

// At most kMostDoubleTapSteps, so that a wild setting cannot make one double tap stall the app
// with seek messages; 0 or less is off.
inline constexpr int kMostDoubleTapSteps = 30;
inline int doubleTapSteps(int setting) { return std::clamp(setting, 0, kMostDoubleTapSteps); }

}  // namespace glidepad
