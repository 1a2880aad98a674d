#include "setup/Initializer.h"

namespace glidepad {

void initialize() {}

}  // namespace glidepad
