// The haptic tick of a step, played only while the `haptics` setting is on.
#pragma once

namespace glidepad {

// A selection tick for a step that changed something; an impact instead for one that met an end
// and changed nothing. The generators are made at the first step that plays, and kept.
void playStepHaptic(bool moved);

}  // namespace glidepad
