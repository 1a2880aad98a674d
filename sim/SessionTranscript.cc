#include "sim/SessionTranscript.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sim/DecimalText.h"
#include "sim/Script.h"
#include "sim/TouchGroups.h"

namespace sim {

namespace {

constexpr int64_t kLongestWaitUs = 1'000'000'000'000;  // `wait` takes at most 1e9 ms

std::string levelText(double level) {
  return heldAsFloat(level) ? shortestDecimal(static_cast<float>(level)) : shortestDecimal(level);
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

}  // namespace

std::string formatMs(int64_t microseconds) {
  std::string sign = microseconds < 0 ? "-" : "";
  int64_t magnitude = std::llabs(microseconds);
  std::string text = sign + std::to_string(magnitude / 1000);
  int64_t fraction = magnitude % 1000;
  if (fraction != 0) {
    char digits[8];
    std::snprintf(digits, sizeof digits, ".%03lld", static_cast<long long>(fraction));
    std::string tail = digits;
    while (tail.back() == '0') tail.pop_back();
    text += tail;
  }
  return text;
}

int64_t clockAdvanceOf(std::string_view line) {
  // Read as the script parser reads it, where any command can run: a line that does not parse
  // moves nothing.
  ScriptContext anywhere;
  anywhere.launched = true;
  anywhere.players.open();
  try {
    auto commands = parseScript(line, "transcript", ".", anywhere).commands;
    return commands.empty() ? 0 : std::llround(clockAdvanceMs(commands[0]) * 1000);
  } catch (const ScriptError&) {
    return 0;
  }
}

std::vector<std::string> expectLines(const Observed& end, bool launched) {
  std::vector<std::string> lines;
  lines.push_back("expect volume " + levelText(end.volume));
  lines.push_back("expect brightness " + levelText(end.brightness));
  if (!launched) return lines;
  lines.push_back("expect seeks " + std::to_string(end.seeksBackward) + " " +
                  std::to_string(end.seeksForward));
  if (end.currentPlayer == 0) return lines;
  lines.push_back("expect rate " + shortestDecimal(end.rate));
  lines.push_back("expect label " + (end.hasStepper ? quoted(end.label) : std::string("none")));
  return lines;
}

std::string SessionTranscript::wait(int64_t microseconds) {
  if (microseconds <= 0) return "";
  std::string own = "wait " + formatMs(microseconds);
  // A merged wait stops at the longest one a script takes, and another line goes on from there.
  for (int64_t rest = microseconds; rest > 0;) {
    if (lastWait_ >= 0 && lastWait_ < kLongestWaitUs) {
      int64_t added = std::min(rest, kLongestWaitUs - lastWait_);
      lastWait_ += added;
      rest -= added;
      lines_.back() = "wait " + formatMs(lastWait_);
    } else {
      lastWait_ = std::min(rest, kLongestWaitUs);
      rest -= lastWait_;
      lines_.push_back("wait " + formatMs(lastWait_));
    }
  }
  return own;
}

void SessionTranscript::add(std::string line) {
  lines_.push_back(std::move(line));
  lastWait_ = -1;
}

std::string SessionTranscript::script(const std::vector<std::string>& expectations) const {
  std::string text =
      "# A session recorded in the glidepad-sim playground; replay it with `glidepad-sim FILE`.\n";
  for (const auto& line : withTouchComments(lines_)) text += line + "\n";
  if (!expectations.empty()) text += "\n# The state at the end of the session.\n";
  for (const auto& line : expectations) text += line + "\n";
  return text;
}

std::vector<std::string> foldEvents(const std::vector<TimedLine>& events) {
  SessionTranscript transcript;
  int64_t clock = 0;
  for (const auto& event : events) {
    if (event.atMicroseconds > clock) {
      transcript.wait(event.atMicroseconds - clock);
      clock = event.atMicroseconds;
    }
    transcript.add(event.line);
    clock += clockAdvanceOf(event.line);
  }
  return transcript.lines();
}

}  // namespace sim
