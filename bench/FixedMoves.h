// A mode for instruction counting under `valgrind --tool=callgrind --collect-atstart=no`:
// `--moves=PATH:N` makes N moves of one path, collecting only while the moves run (the queue's
// draining and all set-up are left out), prints what they did and exits. PATH is one of
// whole-volume, whole-seek, share-volume, share-seek, direct.
#pragma once

#include <optional>

namespace bench {

// The exit status of the mode, or none when the arguments do not ask for it.
std::optional<int> runFixedMoves(int argc, char** argv);

}  // namespace bench
