// The player view's double tap to seek and hold for a faster rate: the two recognizers each
// player view gets, and their actions, added to the host's player view as `GLPDoubleTap:` and
// `GLPHold:`.
#pragma once

#include "objc/objc.h"

namespace glidepad {

// Made and attached as the player view is made, after its swipe recognizer.
void attachTapAndHold(const id& playerView);

void playerViewGLPDoubleTap(const id& self, SEL _cmd, id recognizer);
void playerViewGLPHold(const id& self, SEL _cmd, id recognizer);

}  // namespace glidepad
