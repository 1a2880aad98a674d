#include "sim/RequestPolicy.h"

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
  size_t colon = host.rfind(':');
  if (colon == std::string_view::npos) return false;
  // The port is compared as text written with to_chars: building ":" + to_string(port) instead
  // trips a false -Wrestrict in GCC 12 at -O3.
  char expected[16];
  char* end = std::to_chars(expected, expected + sizeof expected, port).ptr;
  if (host.substr(colon + 1) != std::string_view(expected, end - expected)) return false;
  std::string_view name = host.substr(0, colon);
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
