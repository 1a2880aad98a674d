// Which requests the playground answers: it listens on the loopback interface only, and refuses
// requests that name another host (a DNS-rebinding page) or come from another origin (a page
// elsewhere posting to it).
#pragma once

#include <optional>
#include <string_view>

namespace sim {

// A Host header of 127.0.0.1:PORT or localhost:PORT (host name in any case).
bool hostAllowed(std::string_view host, int port);
// An Origin header of http://127.0.0.1:PORT or http://localhost:PORT.
bool originAllowed(std::string_view origin, int port);
// A request with this Host header (required) and Origin header (when present).
bool requestAllowed(const std::optional<std::string_view>& host,
                    const std::optional<std::string_view>& origin, int port);

// The `age` a request gives its event, in milliseconds: a decimal from 0 to a day, or nullopt for
// anything else (a sign, an infinity, NaN, more than a day, bytes after the number), so that no
// request can carry a time the session's clock cannot take.
std::optional<double> requestAge(std::string_view text);

}  // namespace sim
