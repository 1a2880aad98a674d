// The session-script parser on arbitrary text: a script it refuses must come out as a ScriptError
// naming the line; nothing else may escape, and a script it takes must parse the same again.
// What the playground writes into a saved session from a script's values (a setting's decimal,
// the waits, the closing `expect` lines) must read back as those same values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "Playground.h"
#include "Script.h"
#include "SessionTranscript.h"

namespace {

void check(bool holds) {
  if (!holds) __builtin_trap();
}

bool sameDouble(double a, double b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

// A level is written as the float it holds where it is one, else as the double.
bool sameLevel(double written, double level) {
  if (!sim::heldAsFloat(level)) return sameDouble(written, level);
  return sameDouble(static_cast<float>(written), static_cast<float>(level));
}

// The one command of `line`, parsed where a player is open.
sim::Command readBack(const std::string& line) {
  auto commands =
      sim::parseScript("launch\nopen\n" + line, "saved.session", "/nonexistent").commands;
  check(commands.size() == 3);
  return commands.back();
}

void checkSavedValues(const sim::Script& script) {
  sim::Observed end;
  end.currentPlayer = 1;
  for (const auto& c : script.commands) {
    switch (c.op) {
      case sim::Op::Setting:
        if (c.value.kind == sim::SettingValue::Real) {
          auto back = readBack("setting " + c.text + " " + sim::scriptDecimal(c.value.real));
          check(back.value.kind == sim::SettingValue::Real);
          check(sameDouble(back.value.real, c.value.real));
        }
        break;
      case sim::Op::Wait: {
        auto microseconds = static_cast<int64_t>(std::floor(c.numbers[0] * 1000));
        sim::SessionTranscript transcript;
        transcript.wait(microseconds);
        double ms = 0;
        for (const auto& line : transcript.lines()) ms += readBack(line).numbers[0];
        check(microseconds <= 0 || std::llround(ms * 1000) == microseconds);
        break;
      }
      case sim::Op::Volume:
        end.volume = c.numbers[0];
        break;
      case sim::Op::Brightness:
        end.brightness = c.numbers[0];
        break;
      case sim::Op::Rates:
        for (const auto& option : c.rates) {
          end.rate = option.rate;
          end.label = option.title;
          end.hasStepper = true;
        }
        break;
      case sim::Op::ExpectSeeks:
        end.seeksBackward = c.count;
        end.seeksForward = c.count2;
        break;
      default:
        break;
    }
  }
  auto lines = sim::expectLines(end, true);
  check(lines.size() == 5);
  check(sameLevel(readBack(lines[0]).numbers[0], end.volume));
  check(sameLevel(readBack(lines[1]).numbers[0], end.brightness));
  auto seeks = readBack(lines[2]);
  check(seeks.count == end.seeksBackward && seeks.count2 == end.seeksForward);
  check(sameDouble(static_cast<float>(readBack(lines[3]).numbers[0]), end.rate));
  auto label = readBack(lines[4]);
  check(label.flag == !end.hasStepper && (label.flag || label.text == end.label));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  sim::Script script;
  try {
    script = sim::parseScript(text, "fuzz.session", "/nonexistent");
  } catch (const sim::ScriptError& error) {
    check(std::string_view(error.what()).substr(0, 13) == "fuzz.session:");
    return 0;
  } catch (...) {
    __builtin_trap();
  }
  check(sim::parseScript(text, "fuzz.session", "/nonexistent").commands.size() ==
        script.commands.size());
  try {
    checkSavedValues(script);
  } catch (...) {
    __builtin_trap();  // a line the playground writes that does not parse
  }
  return 0;
}
