// The JSON documents the playground serves, built as nlohmann's json trees.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace sim {

// Members keep the order they are set in, the order a person reading the document expects.
using Json = nlohmann::ordered_json;

// The document as text: numbers as the shortest text that reads back, a number that is not finite
// as null (JSON has no infinities or NaN), and each byte that is not UTF-8 as U+FFFD, since a page
// refuses a whole document over one of them.
std::string jsonText(const Json& document);

// A level kept in a double. One that is a 32-bit float exactly, as the volume and the brightness
// are, is written as the float's shortest text ("0.44", not "0.4399999976158142").
Json jsonLevel(double level);

}  // namespace sim
