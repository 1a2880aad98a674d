// What a player view's brightness swipes did to the screen during the view's stay in the window,
// kept with the view, so that the level from before them can come back when the view leaves.
#pragma once

#include "objc/objc.h"

namespace glidepad {

// Gives the player view its record, at the view's initialisation, so that no touch makes one.
void attachBrightnessRecord(const id& playerView);

// A brightness step on the view took the screen from `before` to `after`.
void recordBrightnessStep(const id& playerView, double before, double after);

// The view left the window. With `restore`, the level from before the stay's first brightness
// step comes back if a step of the stay changed the level. Either way the next stay starts afresh.
void endBrightnessStay(const id& playerView, bool restore);

}  // namespace glidepad
