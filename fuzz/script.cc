// The session-script parser on arbitrary text: a script it refuses must come out as a ScriptError
// naming the line; nothing else may escape, and a script it takes must parse the same again.
// The same text, offered a line at a time to a session as the playground offers it, must give a
// saved session that parses back, whole, to the commands the session took, waits and closing
// checks included, with every value as it was.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzInput.h"
#include "Script.h"
#include "SessionTranscript.h"

namespace {

bool same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

bool same(const sim::Command& a, const sim::Command& b) {
  if (a.op != b.op || a.text != b.text || a.flag != b.flag || a.count != b.count ||
      a.count2 != b.count2 || a.numbers.size() != b.numbers.size() ||
      a.points.size() != b.points.size() || a.rates.size() != b.rates.size() ||
      a.value.kind != b.value.kind || a.value.boolean != b.value.boolean ||
      a.value.integer != b.value.integer || !same(a.value.real, b.value.real) ||
      a.value.string != b.value.string) {
    return false;
  }
  for (size_t i = 0; i < a.numbers.size(); ++i) {
    if (!same(a.numbers[i], b.numbers[i])) return false;
  }
  for (size_t i = 0; i < a.points.size(); ++i) {
    if (!same(a.points[i].x, b.points[i].x) || !same(a.points[i].y, b.points[i].y)) return false;
  }
  for (size_t i = 0; i < a.rates.size(); ++i) {
    if (!same(a.rates[i].rate, b.rates[i].rate) || a.rates[i].title != b.rates[i].title) {
      return false;
    }
  }
  return true;
}

// What the saved session must read back as: a command the session took, or the time waited
// before the next one, however the transcript splits it into lines.
struct Step {
  sim::Command command;
  int64_t waitUs = -1;
};

void checkSavedSession(std::string_view text) {
  fuzz::FuzzInput bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  sim::Observed end;
  end.volume = bytes.anyFloat();
  end.brightness = bytes.anyDouble();
  end.rate = bytes.anyFloat();
  end.seeksBackward = bytes.anyInteger() & INT64_MAX;
  end.seeksForward = bytes.anyInteger() & INT64_MAX;
  end.hasStepper = bytes.byte() % 2;

  sim::SessionTranscript transcript;
  sim::ScriptContext context;
  std::vector<Step> steps;
  auto waited = [&](int64_t us) {
    if (!steps.empty() && steps.back().waitUs >= 0) {
      steps.back().waitUs += us;
    } else {
      steps.push_back({{}, us});
    }
  };
  auto take = [&](std::string_view line) {
    sim::ScriptContext next = context;
    sim::Script parsed;
    try {
      parsed = sim::parseScript(line, "fuzz", "/nonexistent", next);
    } catch (const sim::ScriptError&) {
      return false;
    }
    // As the playground: no blank lines, nothing that reaches this machine's files.
    if (parsed.commands.empty() || parsed.commands[0].op == sim::Op::Snapshot ||
        parsed.commands[0].op == sim::Op::SettingsFile) {
      return false;
    }
    context = std::move(next);
    transcript.add(std::string(line));
    const sim::Command& c = parsed.commands[0];
    if (c.op == sim::Op::Wait) {
      waited(std::llround(c.numbers[0] * 1000));
    } else {
      steps.push_back({c});
    }
    return true;
  };
  for (const char* line : {"volume 0.5", "brightness 0.5", "launch", "open"}) take(line);
  size_t start = 0;
  while (start < text.size()) {
    size_t stop = std::min(text.find('\n', start), text.size());
    std::string_view line = text.substr(start, stop - start);
    start = stop + 1;
    uint64_t hash = 0;
    for (char c : line) hash = hash * 31 + static_cast<unsigned char>(c);
    auto waitUs = static_cast<int64_t>(hash % 4'000'000'000'000);  // past the longest wait
    if (!transcript.wait(waitUs).empty()) waited(waitUs);
    take(line);
  }
  end.currentPlayer = static_cast<int>(context.players.current());
  end.label = std::string(text.substr(0, std::min<size_t>(text.find('\n'), 40)));
  std::vector<std::string> checks = sim::expectLines(end, context.launched);
  for (const auto& check : checks) {
    if (!take(check)) __builtin_trap();
  }

  sim::Script saved;
  try {
    saved = sim::parseScript(transcript.script({}), "saved", "/nonexistent");
  } catch (const sim::ScriptError&) {
    __builtin_trap();
  }
  size_t at = 0;
  for (const auto& step : steps) {
    if (step.waitUs >= 0) {
      int64_t waited = 0;
      while (at < saved.commands.size() && saved.commands[at].op == sim::Op::Wait) {
        waited += std::llround(saved.commands[at++].numbers[0] * 1000);
      }
      if (waited != step.waitUs) __builtin_trap();
    } else if (at == saved.commands.size() || !same(saved.commands[at++], step.command)) {
      __builtin_trap();
    }
  }
  if (at != saved.commands.size()) __builtin_trap();

  // The closing checks hold the end state exactly: levels as the floats or doubles they are.
  const auto& volume = saved.commands[saved.commands.size() - checks.size()];
  if (!same(static_cast<float>(volume.numbers[0]), static_cast<float>(end.volume))) {
    __builtin_trap();
  }
  const auto& brightness = saved.commands[saved.commands.size() - checks.size() + 1];
  double read = brightness.numbers[0];
  if (sim::heldAsFloat(end.brightness) ? !same(static_cast<float>(read), end.brightness)
                                       : !same(read, end.brightness)) {
    __builtin_trap();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  checkSavedSession(text);
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
