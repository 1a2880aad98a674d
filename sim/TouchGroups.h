// Says what each group of touches in a session was, for people reading a saved session: a drag, a
// tap, a press held still, a tap on the stepper.
#pragma once

#include <string>
#include <vector>

namespace sim {

// `lines` with a comment line before each group of touches: the lines from a `down` with no
// finger on the screen to the `up` or `cancel` that lifts them all, and each line that is a
// group of its own (`tap`, `double-tap`, `swipe`).
std::vector<std::string> withTouchComments(const std::vector<std::string>& lines);

}  // namespace sim
