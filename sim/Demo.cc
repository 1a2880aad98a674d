#include "sim/Demo.h"

namespace sim {

const char* demoScript() { return demoFiles().front().body.data(); }

}  // namespace sim
