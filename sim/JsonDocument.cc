#include "sim/JsonDocument.h"

#include <cstdlib>

#include "sim/DecimalText.h"

namespace sim {

std::string jsonText(const Json& document) {
  return document.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json jsonLevel(double level) {
  if (!heldAsFloat(level)) return level;
  // The double nearest the float's shortest text is the one whose shortest text that is.
  return std::strtod(shortestDecimal(static_cast<float>(level)).c_str(), nullptr);
}

}  // namespace sim
