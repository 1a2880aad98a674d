// The delegate of the player view's double-tap and hold recognizers: it decides, as a touch
// sequence begins, whether they watch it at all, so that with their settings off (or in a dead
// zone, or for a double tap in the middle third) the touches reach the host exactly as without
// them; and, as one would begin, whether it may.
#pragma once

#include "objc/NSObject.h"

class GLPGestureDelegate : public NSObject {
 public:
  static Class objcClass();
  // The one delegate, made by the first player view and kept for the process's life, since a
  // recognizer does not retain its delegate.
  static id shared();

  bool gestureRecognizer(const id& recognizer, const id& touch);  // shouldReceiveTouch:
  bool gestureRecognizerShouldBegin(const id& recognizer);
};
