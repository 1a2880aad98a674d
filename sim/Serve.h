// `glidepad-sim --serve`: the playground in a browser.
#pragma once

#include "sim/DeviceRoot.h"

namespace sim {

// Serves the playground page on 127.0.0.1:`port` until interrupted; answers the exit status.
// "Relaunch" re-executes this program on the same device root.
int serve(DeviceRoot& device, int port);

}  // namespace sim
