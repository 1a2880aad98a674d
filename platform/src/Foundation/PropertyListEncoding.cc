#include "PropertyListEncoding.h"

#include <cstdint>

namespace foundation_detail {

namespace {

void appendUtf8(std::string& out, uint32_t codePoint) {
  if (codePoint < 0x80) {
    out += static_cast<char>(codePoint);
  } else if (codePoint < 0x800) {
    out += static_cast<char>(0xC0 | (codePoint >> 6));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    out += static_cast<char>(0xE0 | (codePoint >> 12));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (codePoint >> 18));
    out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
  }
}

bool utf16ToUtf8(std::string_view units, bool bigEndian, std::string& out) {
  if (units.size() % 2 != 0) return false;
  auto unitAt = [&](size_t i) {
    auto first = static_cast<uint8_t>(units[2 * i]);
    auto second = static_cast<uint8_t>(units[2 * i + 1]);
    return static_cast<uint32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
  };
  size_t count = units.size() / 2;
  out.clear();
  out.reserve(units.size() + units.size() / 2);
  for (size_t i = 0; i < count; ++i) {
    uint32_t unit = unitAt(i);
    if (unit >= 0xDC00 && unit <= 0xDFFF) return false;
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 == count) return false;
      uint32_t low = unitAt(++i);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    appendUtf8(out, unit);
  }
  return true;
}

bool startsWith(std::string_view bytes, std::string_view prefix) {
  return bytes.substr(0, prefix.size()) == prefix;
}

}  // namespace

std::optional<std::string_view> unmarkedUtf8(std::string_view bytes, std::string& storage) {
  if (startsWith(bytes, "\xEF\xBB\xBF")) return bytes.substr(3);
  bool bigEndian = startsWith(bytes, "\xFE\xFF");
  if (!bigEndian && !startsWith(bytes, "\xFF\xFE")) return bytes;
  if (!utf16ToUtf8(bytes.substr(2), bigEndian, storage)) return std::nullopt;
  return std::string_view(storage);
}

}  // namespace foundation_detail
