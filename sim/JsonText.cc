#include "sim/JsonText.h"

#include <cmath>
#include <cstdio>

#include "sim/DecimalText.h"
#include "sim/Utf8.h"

namespace sim {

namespace {

template <typename Real>
std::string number(Real value) {
  std::string text = shortestDecimal(value);
  return std::isfinite(value) ? text : jsonString(text);
}

}  // namespace

std::string jsonString(std::string_view text) {
  std::string out = "\"";
  size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    size_t length = utf8CharacterAt(text, i).length;
    if (length == 0) {
      out += "\\ufffd";
      ++i;
      continue;
    }
    if (length > 1) {
      out += text.substr(i, length);
    } else if (c == '"') {
      out += "\\\"";
    } else if (c == '\\') {
      out += "\\\\";
    } else if (c == '\n') {
      out += "\\n";
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out += c;
    }
    i += length;
  }
  return out + "\"";
}

std::string jsonNumber(double value) { return number(value); }
std::string jsonNumber(float value) { return number(value); }

}  // namespace sim
