#include <iostream>

#include "Engine.h"

namespace sim {

int serve(DeviceRoot&, int) {
  std::cerr << "glidepad-sim: the playground is not part of this build\n";
  return 2;
}

}  // namespace sim
