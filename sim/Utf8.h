// UTF-8 as the simulator checks it wherever it shows, escapes or writes text from a script.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace sim {

// A character that `text` holds at `at`: its code point and its length in bytes. The length is 0
// where no well-formed sequence starts there (the Unicode standard's table of well-formed byte
// sequences, section 3.9: no overlong forms, no surrogates, nothing past U+10FFFF).
struct Utf8Character {
  uint32_t point = 0;
  size_t length = 0;
};
Utf8Character utf8CharacterAt(std::string_view text, size_t at);

// Whether the whole of `text` is well-formed UTF-8.
bool isUtf8(std::string_view text);

}  // namespace sim
