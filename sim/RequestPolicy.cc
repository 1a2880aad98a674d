#include "RequestPolicy.h"

#include <cctype>
#include <charconv>
#include <string>

namespace sim {

namespace {

constexpr double kLongestAgeMs = 24 * 60 * 60 * 1000.0;

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool hostAllowed(std::string_view host, int port) {
  std::string suffix = ":" + std::to_string(port);
  if (host.size() <= suffix.size() || host.substr(host.size() - suffix.size()) != suffix) {
    return false;
  }
  std::string_view name = host.substr(0, host.size() - suffix.size());
  return name == "127.0.0.1" || equalsIgnoringCase(name, "localhost");
}

bool originAllowed(std::string_view origin, int port) {
  constexpr std::string_view kScheme = "http://";
  if (origin.size() <= kScheme.size() || !equalsIgnoringCase(origin.substr(0, 7), kScheme)) {
    return false;
  }
  return hostAllowed(origin.substr(kScheme.size()), port);
}

bool requestAllowed(const std::optional<std::string_view>& host,
                    const std::optional<std::string_view>& origin, int port) {
  if (!host || !hostAllowed(*host, port)) return false;
  return !origin || originAllowed(*origin, port);
}

std::optional<double> requestAge(std::string_view text) {
  double age = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), age);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (!(age >= 0 && age <= kLongestAgeMs)) return std::nullopt;
  return age;
}

}  // namespace sim
