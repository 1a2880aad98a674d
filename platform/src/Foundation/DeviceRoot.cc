#include "Foundation/DeviceRoot.h"

namespace {

std::string& deviceRoot() {
  static auto* root = new std::string;
  return *root;
}

struct ReadObserver {
  NSDeviceReadObserver_ observer = nullptr;
  void* context = nullptr;
};

ReadObserver& readObserver() {
  static ReadObserver observer;
  return observer;
}

}  // namespace

void NSSetDeviceReadObserver_(NSDeviceReadObserver_ observer, void* context) {
  readObserver() = {observer, context};
}

void NSDeviceNoteRead_(std::string_view devicePath, bool read) {
  auto [observer, context] = readObserver();
  if (observer) observer(devicePath, read, context);
}

void NSSetDeviceRoot_(std::string root) {
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  deviceRoot() = std::move(root);
}

std::string NSDeviceResolvePath_(std::string_view path) {
  const std::string& root = deviceRoot();
  if (root.empty() || path.empty() || path.front() != '/') return "";
  if (path.find('\0') != std::string_view::npos) return "";
  std::string resolved = root == "/" ? "" : root;
  size_t at = 0;
  while (at < path.size()) {
    size_t end = path.find('/', at);
    if (end == std::string_view::npos) end = path.size();
    std::string_view component = path.substr(at, end - at);
    at = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") return "";
    resolved += '/';
    resolved += component;
  }
  return resolved.empty() ? "/" : resolved;
}
