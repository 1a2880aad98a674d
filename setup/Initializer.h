// The load-time entry: loads the settings, installs the grafts the two switches select and
// subscribes to settings changes. The library's static initialiser runs it once; tests may call it.
#pragma once

#include "setup/HostInterface.h"

namespace glidepad {

// The classes the grafts go onto, by name.
struct GraftClasses {
  const char* overlayController;
  const char* playerView;
  const char* playerController;
  const char* controlsOverlay;
};

inline constexpr GraftClasses kHostGraftClasses = {
    host::kOverlayViewControllerClass, host::kPlayerViewClass, host::kPlayerViewControllerClass,
    host::kControlsOverlayViewClass};

void initialize();

// Installs the grafts the two switches select on the named classes, as `initialize` does on the
// host's. Grafts cannot be taken out again, so other names let the installation be repeated (and
// measured) on classes made for it; their saved host implementations land in the same slots.
void installGrafts(const GraftClasses& classes);

}  // namespace glidepad
