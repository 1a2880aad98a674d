#include "ValueConversions.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>
#include <string>

namespace foundation_detail {

namespace {

// Decodes one UTF-8 sequence at `at`, advancing past it; nothing for a malformed, overlong or
// surrogate sequence (which then counts as an ordinary character, ending the whitespace).
std::optional<char32_t> decodeUtf8(std::string_view text, size_t& at) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(at);
  if (lead < 0x80) {
    ++at;
    return lead;
  }
  size_t length;
  char32_t value;
  char32_t minimum;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, value = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, value = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, value = lead & 0x07, minimum = 0x10000;
  } else {
    return std::nullopt;
  }
  if (text.size() - at < length) return std::nullopt;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
    value = (value << 6) | (byte(at + i) & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    return std::nullopt;
  }
  at += length;
  return value;
}

bool isFoundationWhitespace(char32_t c) {
  return c < 0x21 || (c >= 0x7F && c <= 0xA0) || (c >= 0x2000 && c <= 0x200B) || c == 0x3000;
}

size_t skipWhitespace(std::string_view text, size_t at) {
  while (at < text.size()) {
    size_t next = at;
    auto c = decodeUtf8(text, next);
    if (!c || !isFoundationWhitespace(*c)) break;
    at = next;
  }
  return at;
}

bool isSign(std::string_view text, size_t at) {
  return at < text.size() && (text[at] == '+' || text[at] == '-');
}

bool isDigit(std::string_view text, size_t at, char from = '0') {
  return at < text.size() && text[at] >= from && text[at] <= '9';
}

}  // namespace

int intValueOfInteger(int64_t value) {
  return static_cast<int>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

int intValueOfReal(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(value);
}

bool boolValueOfInteger(int64_t value) { return value != 0; }

bool boolValueOfReal(double value) { return value != 0.0; }

int intValueOfString(std::string_view text) {
  size_t at = skipWhitespace(text, 0);
  bool negative = false;
  if (isSign(text, at)) {
    negative = text[at] == '-';
    at = skipWhitespace(text, at + 1);
  }
  // One past INT_MAX is INT_MIN's magnitude; the magnitude stops growing there.
  constexpr int64_t kLimit = static_cast<int64_t>(INT_MAX) + 1;
  int64_t magnitude = 0;
  for (; isDigit(text, at); ++at) {
    magnitude = std::min(magnitude * 10 + (text[at] - '0'), kLimit);
  }
  if (negative) return static_cast<int>(-magnitude);
  return static_cast<int>(std::min<int64_t>(magnitude, INT_MAX));
}

bool boolValueOfString(std::string_view text) {
  size_t at = skipWhitespace(text, 0);
  if (at < text.size()) {
    char c = text[at];
    if (c == 'Y' || c == 'y' || c == 'T' || c == 't') return true;
  }
  if (isSign(text, at)) ++at;
  while (at < text.size() && text[at] == '0') ++at;
  return isDigit(text, at, '1');
}

float floatValueOfString(std::string_view text) {
  size_t start = skipWhitespace(text, 0);
  size_t at = start;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
  size_t digits = 0;
  for (; isDigit(text, at); ++at) ++digits;
  if (at < text.size() && text[at] == '.') {
    for (++at; isDigit(text, at); ++at) ++digits;
  }
  if (digits == 0) return 0;
  // An exponent counts only with a digit: "2e" is 2.
  size_t exponent = at;
  if (exponent < text.size() && (text[exponent] == 'e' || text[exponent] == 'E')) {
    ++exponent;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    if (isDigit(text, exponent)) {
      for (at = exponent; isDigit(text, at); ++at) {
      }
    }
  }
  // Within the grammar above strtod reads no hex, infinity or NaN; it saturates to HUGE_VAL and
  // underflows to 0 as the conversion wants. The copy ends the number for it.
  std::string number(text.substr(start, at - start));
  return floatValueOfReal(std::strtod(number.c_str(), nullptr));
}

float floatValueOfReal(double value) {
  // Converting a double beyond the float range is undefined; the device gives an infinity.
  if (std::fabs(value) > std::numeric_limits<float>::max()) {
    return value > 0 ? std::numeric_limits<float>::infinity()
                     : -std::numeric_limits<float>::infinity();
  }
  return static_cast<float>(value);
}

}  // namespace foundation_detail
