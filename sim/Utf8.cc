#include "sim/Utf8.h"

namespace sim {

Utf8Character utf8CharacterAt(std::string_view text, size_t at) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(text[at + i]); };
  unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the second byte's range, narrowed by some leads
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
    if (lead == 0xED) high = 0x9F;  // the surrogates U+D800 to U+DFFF
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong below U+10000
    if (lead == 0xF4) high = 0x8F;  // past U+10FFFF
  } else {
    return {};
  }
  if (text.size() - at < length || byte(1) < low || byte(1) > high) return {};
  uint32_t point = lead & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return {};
    point = (point << 6) | (byte(i) & 0x3F);
  }
  return {point, length};
}

bool isUtf8(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    size_t length = utf8CharacterAt(text, at).length;
    if (length == 0) return false;
    at += length;
  }
  return true;
}

}  // namespace sim
