// Counts every `operator new` of the process (the platform's shared library included, since the
// program's definitions take the place of the standard library's), so that a benchmark can tell
// how many allocations one event makes.
#pragma once

#include <cstddef>

namespace bench {

// Allocations made so far by the whole process.
size_t allocationCount();

}  // namespace bench
