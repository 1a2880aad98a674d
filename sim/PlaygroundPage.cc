#include "sim/PlaygroundPage.h"

namespace sim {

namespace {

std::string_view typeOf(std::string_view name) {
  auto endsWith = [&](std::string_view suffix) {
    return name.size() >= suffix.size() && name.substr(name.size() - suffix.size()) == suffix;
  };
  if (endsWith(".html")) return "text/html; charset=utf-8";
  if (endsWith(".css")) return "text/css; charset=utf-8";
  if (endsWith(".js")) return "text/javascript; charset=utf-8";
  return "application/octet-stream";
}

}  // namespace

std::optional<PageFile> playgroundFile(std::string_view path) {
  if (path.empty() || path.front() != '/') return std::nullopt;
  std::string_view name = path == "/" ? "index.html" : path.substr(1);
  if (name == "index.html" && path != "/") return std::nullopt;  // the page has one address
  for (const auto& file : playgroundFiles()) {
    if (file.name == name) return PageFile{typeOf(name), file.body};
  }
  return std::nullopt;
}

}  // namespace sim
