// The session-script parser on arbitrary text: a script it refuses must come out as a ScriptError
// naming the line; nothing else may escape, and a script it takes must parse the same again.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string_view>

#include "Script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  size_t commands = 0;
  try {
    commands = sim::parseScript(text, "fuzz.session", "/nonexistent").commands.size();
  } catch (const sim::ScriptError& error) {
    if (std::string_view(error.what()).substr(0, 13) != "fuzz.session:") __builtin_trap();
    return 0;
  } catch (...) {
    __builtin_trap();
  }
  if (sim::parseScript(text, "fuzz.session", "/nonexistent").commands.size() != commands) {
    __builtin_trap();
  }
  return 0;
}
