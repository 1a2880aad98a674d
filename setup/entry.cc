// The library's only entry: run once when the host process loads it.
#include "setup/Initializer.h"

namespace {

[[gnu::constructor]] void glidepadLoad() { glidepad::initialize(); }

}  // namespace
