// The session `glidepad-sim` runs when given no script.
#pragma once

namespace sim {

// The built-in demo session, as script text.
const char* demoScript();

}  // namespace sim
