#include "sim/Playground.h"

#include <cmath>
#include <cstdio>

#include "Foundation/NSDictionary.h"
#include "Foundation/NSNumber.h"
#include "Foundation/NSString.h"
#include "sim/DecimalText.h"
#include "sim/JsonDocument.h"
#include "sim/KnownSettings.h"
#include "sim/Script.h"

namespace sim {

namespace {

constexpr double kLongestCatchUpMs = 1000;
constexpr size_t kLogKept = 200;
constexpr size_t kLogShown = 40;

std::string scriptString(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c == '\n' || c == '\r') c = ' ';
    out += c;
  }
  return out + "\"";
}

Ref<NSDictionary> settingsFile() {
  return objc_cast<NSDictionary>(
      alloc<NSMutableDictionary>()->initWithContentsOfFile(NSStr(kSettingsPath)));
}

// A settings value as the `setting` command writes it, or "" for one it cannot write.
std::string settingText(const id& value) {
  if (auto n = objc_cast<NSNumber>(value)) {
    switch (n->kind_()) {
      case NSNumber::Kind::Boolean:
        return n->boolValue() ? "true" : "false";
      case NSNumber::Kind::Integer:
        return std::to_string(n->longLongValue());
      case NSNumber::Kind::Real:
        return scriptDecimal(n->doubleValue());
    }
  }
  if (auto s = objc_cast<NSString>(value)) return scriptString(s->string());
  return "";
}

}  // namespace

std::string scriptDecimal(double value) {
  std::string text = shortestDecimal(value);
  // Digits alone would be read back as an integer and change the value's kind in the file.
  if (text.find_first_not_of("-0123456789") == std::string::npos) text += ".0";
  return text;
}

namespace {

std::string_view trimmed(std::string_view line) {
  while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
  while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) {
    line.remove_suffix(1);
  }
  return line;
}

// A settings value as /state shows it: a string as the `setting` command writes it, in quotes.
Json jsonSetting(const id& value) {
  if (auto n = objc_cast<NSNumber>(value)) {
    switch (n->kind_()) {
      case NSNumber::Kind::Boolean:
        return n->boolValue();
      case NSNumber::Kind::Integer:
        return n->longLongValue();
      case NSNumber::Kind::Real:
        return n->doubleValue();
    }
  }
  std::string text = settingText(value);
  return text.empty() ? Json() : Json(text);
}

Json jsonPlace(const ButtonPlace& place) {
  Json json;
  json["x"] = place.x;
  json["y"] = place.y;
  json["width"] = place.width;
  json["height"] = place.height;
  json["shown"] = place.shown;
  return json;
}

// "NAME:LINE: what" -> "what".
std::string withoutPlace(const std::string& message) {
  auto first = message.find(':');
  auto second = first == std::string::npos ? first : message.find(':', first + 1);
  return second == std::string::npos ? message : message.substr(second + 2);
}

}  // namespace

Playground::Playground(DeviceRoot& device, double wallMs)
    : device_(device), engine_(device, &log_, errors_, "playground") {
  std::vector<std::string> start;
  if (auto settings = engine_.ownSettingsRead(settingsFile)) {
    for (const auto& known : kKnownSettings) {
      std::string value = settingText(settings->objectForKey(NSStr(known.name)));
      if (!value.empty()) start.push_back(std::string("setting ") + known.name + " " + value);
    }
  }
  start.insert(start.end(), {"volume 0.5", "brightness 0.5", "launch", "open"});
  for (const auto& line : start) {
    std::string problem = runLine(line);
    if (!problem.empty()) throw RunError("glidepad-sim: the playground cannot start: " + problem);
  }
  drainLog();
  wallOrigin_ = wallMs - engine_.nowMs();
}

void Playground::sync(double wallMs, double ageMs) {
  double target = wallMs - std::fmax(ageMs, 0.0) - wallOrigin_;
  double gap = target - engine_.nowMs();
  if (!(gap > 0)) return;  // an event from the engine's past (or a NaN time) waits for nothing
  if (gap > kLongestCatchUpMs) {
    wallOrigin_ += gap - kLongestCatchUpMs;
    gap = kLongestCatchUpMs;
  }
  auto microseconds = static_cast<int64_t>(std::floor(gap * 1000));
  std::string line = transcript_.wait(microseconds);
  if (line.empty()) return;
  engine_.run(parseScript(line, "playground", ".").commands.at(0));
  drainLog();
}

std::string Playground::command(std::string_view text) {
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = trimmed(text.substr(start, end - start));
    if (!line.empty() && line.front() != '#') {
      std::string problem = runLine(line);
      drainLog();
      if (!problem.empty()) return problem;
    }
    start = end + 1;
  }
  return "";
}

std::string Playground::runLine(std::string_view line) {
  Command c;
  // The context moves on only once the line has run: a line the engine refuses leaves no trace.
  ScriptContext next = context_;
  try {
    auto parsed = parseScript(line, "playground", ".", next);
    if (parsed.commands.empty()) return "";
    c = parsed.commands.back();
  } catch (const ScriptError& error) {
    return withoutPlace(error.what());
  }
  if (c.op == Op::Snapshot || c.op == Op::SettingsFile) {
    return "the playground does not reach this machine's files";
  }
  c.line = static_cast<int>(transcript_.lines().size()) + 2;  // after the script's heading
  try {
    engine_.run(c);
  } catch (const RunError& error) {
    return withoutPlace(error.what());
  }
  transcript_.add(std::string(line));
  context_ = std::move(next);
  return "";
}

void Playground::drainLog() {
  for (auto* stream : {&log_, &errors_}) {
    std::string text = stream->str();
    stream->str("");
    size_t start = 0;
    while (start < text.size()) {
      size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      recentLog_.push_back(text.substr(start, end - start));
      start = end + 1;
    }
  }
  while (recentLog_.size() > kLogKept) recentLog_.pop_front();
}

std::string Playground::stateJson(const std::string& error) const {
  Observed o = engine_.observe();
  Json state;
  if (!error.empty()) state["error"] = error;
  state["time"] = engine_.nowMs();
  state["launched"] = engine_.launched();
  state["player"] = o.currentPlayer;
  state["playerWidth"] = o.playerWidth;
  state["playerHeight"] = o.playerHeight;
  state["screenHeight"] = engine_.screenHeight();
  state["fullscreen"] = o.fullscreen;
  state["volume"] = jsonLevel(o.volume);
  state["brightness"] = jsonLevel(o.brightness);
  state["seeksBackward"] = o.seeksBackward;
  state["seeksForward"] = o.seeksForward;
  state["position"] = o.seekPosition;
  state["rate"] = o.rate;
  state["hasStepper"] = o.hasStepper;
  state["label"] = o.label;
  state["controlsShown"] = o.controlsShown;
  state["stepperShown"] = o.stepperShown;
  state["stepperAlpha"] = o.stepperAlpha;
  state["slowerButton"] = jsonPlace(o.slowerButton);
  state["fasterButton"] = jsonPlace(o.fasterButton);
  state["failedChecks"] = engine_.failedChecks();
  state["lines"] = transcript_.lines().size();
  Json& settings = state["settings"] = Json::object();
  auto file = engine_.ownSettingsRead(settingsFile);
  for (const auto& known : kKnownSettings) {
    settings[known.name] = file ? jsonSetting(file->objectForKey(NSStr(known.name))) : Json();
  }
  size_t first = recentLog_.size() > kLogShown ? recentLog_.size() - kLogShown : 0;
  Json& log = state["log"] = Json::array();
  for (size_t i = first; i < recentLog_.size(); ++i) log.push_back(recentLog_[i]);
  state["svg"] = engine_.snapshotSvg();
  return jsonText(state);
}

std::string Playground::sessionScript() const {
  return transcript_.script(expectLines(engine_.observe(), engine_.launched()));
}

}  // namespace sim
