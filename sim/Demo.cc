#include "sim/Demo.h"

namespace sim {

const char* demoScript() {
  return R"(# The built-in demo session of glidepad-sim.
volume 0.5
brightness 0.5
launch
open

# A swipe in the upper half steps the volume: leftward down, rightward up.
swipe 300,50 100,50
expect volume 0.28
swipe 100,50 300,50
expect volume 0.5

# A swipe in the lower half seeks.
swipe 300,160 60,160
expect seeks 13 0

# The rate stepper in the controls overlay, then the app's own speed menu.
tap +
expect label "1.25x"
tap -
expect label "Normal"
host-rate 1.5
expect label "1.5x"
expect rate 1.5

# The settings pane makes the upper half step the brightness.
setting topArea 2
notify
swipe 300,50 100,50
expect brightness 0.28
expect volume 0.5
)";
}

}  // namespace sim
