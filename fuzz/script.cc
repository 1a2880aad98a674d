// The session-script parser on arbitrary text: a script it refuses must come out as a ScriptError
// naming the line; nothing else may escape, and a script it takes must parse the same again.
// The script saved as a playground session (its lines as typed, the time waited, the state at the
// end as `expect` lines) must parse back to the same session, every value the same.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "sim/DecimalText.h"
#include "sim/Playground.h"
#include "sim/Script.h"
#include "sim/SessionTranscript.h"

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

bool samePoints(const std::vector<sim::Point>& a, const std::vector<sim::Point>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!sameDouble(a[i].x, b[i].x) || !sameDouble(a[i].y, b[i].y)) return false;
  }
  return true;
}

bool sameRates(const std::vector<sim::RateOption>& a, const std::vector<sim::RateOption>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!sameDouble(a[i].rate, b[i].rate) || a[i].title != b[i].title) return false;
  }
  return true;
}

bool sameCommand(const sim::Command& a, const sim::Command& b) {
  const auto& x = a.value;
  const auto& y = b.value;
  return a.op == b.op && sameDouble(a.width, b.width) && sameDouble(a.height, b.height) &&
         sameDouble(a.level, b.level) && sameDouble(a.alpha, b.alpha) &&
         sameDouble(a.rate, b.rate) && sameDouble(a.milliseconds, b.milliseconds) &&
         a.key == b.key && x.kind == y.kind && x.boolean == y.boolean && x.integer == y.integer &&
         sameDouble(x.real, y.real) && x.string == y.string && a.path == b.path &&
         sameRates(a.rates, b.rates) && a.bare == b.bare && a.player == b.player &&
         a.shown == b.shown && a.fullscreen == b.fullscreen && samePoints(a.points, b.points) &&
         a.taps == b.taps && a.steps == b.steps && a.plus == b.plus && a.label == b.label &&
         a.noStepper == b.noStepper && a.seeksBackward == b.seeksBackward &&
         a.seeksForward == b.seeksForward && sameDouble(a.seconds, b.seconds) &&
         a.hudText == b.hudText && a.noHud == b.noHud && a.hapticTicks == b.hapticTicks &&
         a.hapticLimits == b.hapticLimits;
}

// The commands other than waits, and the microseconds waited before each (and at the end), as
// the playground records them: each wait to the microsecond, waits in a row as one.
struct Session {
  std::vector<sim::Command> commands;
  std::vector<int64_t> waits;
};

// `saved`: waits the playground wrote, in whole microseconds; else a script's, cut to them.
Session sessionOf(const std::vector<sim::Command>& commands, size_t count, bool saved) {
  Session session;
  int64_t waited = 0;
  for (size_t i = 0; i < count; ++i) {
    const auto& c = commands[i];
    if (c.op == sim::Op::Wait) {
      double microseconds = c.milliseconds * 1000;
      waited += static_cast<int64_t>(saved ? std::llround(microseconds) : std::floor(microseconds));
      continue;
    }
    session.waits.push_back(waited);
    session.commands.push_back(c);
    waited = 0;
  }
  session.waits.push_back(waited);
  return session;
}

// Records the script as the playground would have recorded it, typed a line at a time, with the
// state at its end, and reads the saved session back.
void checkSavedSession(std::string_view text, const sim::Script& script,
                       const sim::ScriptContext& end) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::vector<std::string_view> lines;
  for (size_t start = 0; start <= text.size();) {
    size_t stop = std::min(text.find('\n', start), text.size());
    lines.push_back(text.substr(start, stop - start));
    start = stop + 1;
  }
  sim::SessionTranscript transcript;
  sim::Observed state;
  state.currentPlayer = static_cast<int>(std::min<int64_t>(end.players.current(), 1));
  for (const auto& c : script.commands) {
    if (c.op == sim::Op::Snapshot || c.op == sim::Op::SettingsFile) return;  // not in a playground
    if (c.op == sim::Op::Wait) {
      transcript.wait(static_cast<int64_t>(std::floor(c.milliseconds * 1000)));
    } else {
      transcript.add(std::string(lines.at(static_cast<size_t>(c.line) - 1)));
    }
    if (c.op == sim::Op::Volume) state.volume = c.level;
    if (c.op == sim::Op::Brightness) state.brightness = c.level;
    if (c.op == sim::Op::ExpectSeeks) {
      state.seeksBackward = c.seeksBackward;
      state.seeksForward = c.seeksForward;
    }
    for (const auto& option : c.rates) {
      state.rate = option.rate;
      state.label = option.title;
      state.hasStepper = true;
    }
  }
  auto expectations = sim::expectLines(state, end.launched);
  auto saved = sim::parseScript(transcript.script(expectations), "saved.session", "/nonexistent");
  check(saved.commands.size() >= expectations.size());
  size_t recorded = saved.commands.size() - expectations.size();
  Session before = sessionOf(script.commands, script.commands.size(), false);
  Session after = sessionOf(saved.commands, recorded, true);
  check(before.waits == after.waits && before.commands.size() == after.commands.size());
  for (size_t i = 0; i < before.commands.size(); ++i) {
    check(sameCommand(before.commands[i], after.commands[i]));
  }

  // The closing expectations hold the state they were written from.
  const sim::Command* expect = saved.commands.data() + recorded;
  check(sameLevel(expect[0].level, state.volume));
  check(sameLevel(expect[1].level, state.brightness));
  if (!end.launched) return;
  check(expect[2].seeksBackward == state.seeksBackward &&
        expect[2].seeksForward == state.seeksForward);
  if (state.currentPlayer == 0) return;
  check(sameDouble(static_cast<float>(expect[3].rate), state.rate));
  check(expect[4].noStepper == !state.hasStepper &&
        (expect[4].noStepper || expect[4].label == state.label));
}

// A setting's decimal as the playground writes it when the settings file holds it.
void checkSettingDecimals(const sim::Script& script) {
  for (const auto& c : script.commands) {
    if (c.op != sim::Op::Setting || c.value.kind != sim::SettingValue::Real) continue;
    auto line = "setting " + c.key + " " + sim::scriptDecimal(c.value.real);
    auto back = sim::parseScript(line, "saved.session", "/nonexistent").commands.at(0);
    check(back.value.kind == sim::SettingValue::Real && sameDouble(back.value.real, c.value.real));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  sim::Script script;
  sim::ScriptContext end;
  try {
    script = sim::parseScript(text, "fuzz.session", "/nonexistent", end);
  } catch (const sim::ScriptError& error) {
    check(std::string_view(error.what()).substr(0, 13) == "fuzz.session:");
    return 0;
  } catch (...) {
    __builtin_trap();
  }
  check(sim::parseScript(text, "fuzz.session", "/nonexistent").commands.size() ==
        script.commands.size());
  try {
    checkSavedSession(text, script, end);
    checkSettingDecimals(script);
  } catch (...) {
    __builtin_trap();  // a saved session that does not parse
  }
  return 0;
}
