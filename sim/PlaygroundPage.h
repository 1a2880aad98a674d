// The playground's page: the plain HTML, CSS and JavaScript of sim/playground/, built into the
// program so that it serves them with no file of its own beside it.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "sim/EmbeddedFile.h"

namespace sim {

// Every file of the page, as it stood at build time.
std::span<const EmbeddedFile> playgroundFiles();

struct PageFile {
  std::string_view type;  // the Content-Type it is served with
  std::string_view body;
};

// What a GET of `path` answers from the page's files ("/" is index.html), or nullopt.
std::optional<PageFile> playgroundFile(std::string_view path);

}  // namespace sim
