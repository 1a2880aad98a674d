// A file of the source tree built into the program (by sim/EmbedFiles.cmake), as it stood at
// build time.
#pragma once

#include <string_view>

namespace sim {

struct EmbeddedFile {
  std::string_view name;  // as in its folder, "index.html"
  std::string_view body;  // followed by a NUL that the size leaves out
};

}  // namespace sim
