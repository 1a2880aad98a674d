// The library's table of settings keys as JSON, for the playground's settings pane: the page holds
// no key of its own, so it shows every key the library reads, as the library reads it.
#pragma once

#include <string>

namespace sim {

// {"keys": [{"name", "kind", "fallback", "fallbackKey", "takesEffect", "label", "minimum",
// "maximum", "areaCode"}, ...], "areaActions": ["Nothing", ...]}, the keys in the loader's order.
std::string settingsTableJson();

}  // namespace sim
