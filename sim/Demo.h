// The session `glidepad-sim` runs when given no script: sim/demo/demo.session, built into the
// program.
#pragma once

#include <span>

#include "sim/EmbeddedFile.h"

namespace sim {

// The built-in demo session, as script text.
const char* demoScript();

// The files of sim/demo/, as they stood at build time.
std::span<const EmbeddedFile> demoFiles();

}  // namespace sim
