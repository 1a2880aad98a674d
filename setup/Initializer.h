// The load-time entry: loads the settings, installs the grafts the two switches select and
// subscribes to settings changes. The library's static initialiser runs it once; tests may call it.
#pragma once

namespace glidepad {

void initialize();

}  // namespace glidepad
