// The bands along the edges where a touch starts no swipe, so that a system edge gesture, a pull
// at the status bar or a scroll past the player is not taken for one.
#pragma once

namespace glidepad {

// Whether a touch that begins at `xInView` across the player view and at `yOnScreen` down the
// screen lies within `band` points of the view's left or right edge or of the screen's top or
// bottom edge. A band of 0 or less is none; a point exactly `band` from an edge is outside it.
constexpr bool inDeadZone(double xInView, double viewWidth, double yOnScreen, double screenHeight,
                          int band) {
  if (band <= 0) return false;
  return xInView < band || xInView > viewWidth - band || yOnScreen < band ||
         yOnScreen > screenHeight - band;
}

}  // namespace glidepad
