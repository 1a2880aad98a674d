// A picture of a player as SVG: its view tree as drawn (frames, backgrounds, borders, corner
// radii, label texts and button titles, hidden views left out, alpha applied), and the volume and
// brightness levels beneath it. Scripts' `snapshot` and the playground draw with it.
#pragma once

#include <string>
#include <string_view>

#include "UIKit/UIView.h"

namespace sim {

// `text` as XML character data: markup characters escaped, and every byte that is not UTF-8 and
// every character XML does not allow (controls but tab, line feed and carriage return; U+FFFE,
// U+FFFF) replaced by U+FFFD, so that any title gives a well-formed document.
std::string xmlText(std::string_view text);

// Draws the player within a canvas of at least 240 points' width.
std::string renderSnapshot(const Ref<UIView>& playerView, double volume, double brightness);

}  // namespace sim
