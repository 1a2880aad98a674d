// A picture of a player as SVG: its view tree as drawn (frames, backgrounds, borders, corner
// radii, label texts and button titles, hidden views left out, alpha applied), and the volume and
// brightness levels beneath it. Scripts' `snapshot` and the playground draw with it.
#pragma once

#include <string>

#include "UIKit/UIView.h"

namespace sim {

std::string renderSnapshot(const Ref<UIView>& playerView, double volume, double brightness);

}  // namespace sim
