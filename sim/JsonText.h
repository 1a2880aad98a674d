// JSON text as the playground's state is written in.
#pragma once

#include <string>
#include <string_view>

namespace sim {

// `text` as a JSON string. Bytes that are not well-formed UTF-8 (a stray continuation byte, an
// overlong form, a surrogate, a code point past U+10FFFF, a sequence cut short) become U+FFFD
// each, since a JSON parser may refuse the whole text over one of them.
std::string jsonString(std::string_view text);

// The shortest number that reads back to the same value. JSON has no infinities or NaN: those are
// the strings a script writes for them, "inf", "-inf" and "nan", which the page reads back.
std::string jsonNumber(double value);
std::string jsonNumber(float value);

}  // namespace sim
