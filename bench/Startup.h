// The library's whole load-time initialiser, which can run only once per process: timed once by
// `initializeTimedOnce`, before any benchmark runs, and reported by a benchmark of its own.
#pragma once

namespace bench {

void initializeTimedOnce();

}  // namespace bench
