// The script language: one row per command, each with a parse function of its own. The rows are
// in the order of the README's command tables.
#include <cstdint>
#include <filesystem>
#include <limits>

#include "sim/KnownSettings.h"
#include "sim/ScriptLine.h"
#include "sim/Utf8.h"

namespace sim {

namespace {

constexpr size_t kAny = std::numeric_limits<size_t>::max();

std::string resolve(const std::string& folder, const std::string& path) {
  std::filesystem::path p(path);
  if (p.is_absolute()) return path;
  return (std::filesystem::path(folder) / p).lexically_normal().string();
}

double size(const Line& line, const Token& token) {
  double v = line.parser.number(token, "a size in points");
  if (v <= 0) line.fail("expected a size above 0, got " + token.text);
  return v;
}

void parseScreen(const Line& line, Command& c) {
  if (line.timeline.launched) line.fail("expected `screen` before `launch`");
  c.op = Op::Screen;
  c.width = size(line, line.args[0]);
  c.height = size(line, line.args[1]);
}

void parseLevel(const Line& line, Command& c) {
  c.op = line.word == "volume" ? Op::Volume : Op::Brightness;
  c.level = line.fraction(line.args[0], "a level");
}

SettingValue settingValue(const Line& line, const std::string& key, const Token& v) {
  SettingValue value;
  if (v.quoted) {
    if (!isUtf8(v.text)) line.fail("expected a string in UTF-8");
    value.kind = SettingValue::String;
    value.string = v.text;
  } else if (v.text == "true" || v.text == "false") {
    value.kind = SettingValue::Boolean;
    value.boolean = v.text == "true";
  } else if (LineParser::parseInteger(v.text, value.integer)) {
    value.kind = SettingValue::Integer;
  } else if (LineParser::parseDouble(v.text, value.real, true)) {
    value.kind = SettingValue::Real;
  } else if (const KnownSetting* known = knownSetting(key)) {
    line.fail("expected " + key + "'s value, " + whatItTakes(*known) + ", got \"" + v.text + "\"");
  } else {
    line.fail(
        "expected true, false, an integer, a decimal, inf, -inf, nan or a quoted string, got \"" +
        v.text + "\"");
  }
  return value;
}

void parseSetting(const Line& line, Command& c) {
  c.op = Op::Setting;
  c.key = line.args[0].text;
  if (c.key.empty()) line.fail("expected a settings key");
  // A settings file holds text only: libplist would write bytes that are not UTF-8 as a string
  // it cannot read back, and the whole file would be lost.
  if (!isUtf8(c.key)) line.fail("expected a settings key in UTF-8");
  c.value = settingValue(line, c.key, line.args[1]);
}

void parseUnset(const Line& line, Command& c) {
  c.op = Op::Unset;
  c.key = line.args[0].text;
}

void parseSettingsFile(const Line& line, Command& c) {
  c.op = Op::SettingsFile;
  const Token& source = line.args[0];
  if (source.text == "none" && !source.quoted) return;
  c.path = resolve(line.folder, source.text);
  std::error_code error;
  if (!std::filesystem::is_regular_file(c.path, error)) {
    line.fail("expected a file to copy, but \"" + c.path + "\" is not one");
  }
}

void parseNotify(const Line&, Command& c) { c.op = Op::Notify; }

void parseRates(const Line& line, Command& c) {
  const auto& args = line.args;
  if (args.size() % 2 != 0) line.fail("expected pairs of a rate and a quoted title");
  if (args.size() / 2 > kMaxRateOptions) {
    line.fail("expected at most " + std::to_string(kMaxRateOptions) + " rate options");
  }
  c.op = Op::Rates;
  for (size_t i = 0; i < args.size(); i += 2) {
    double rate = line.parser.rate(args[i]);
    if (!args[i + 1].quoted) line.fail("expected a quoted title after the rate " + args[i].text);
    c.rates.push_back({static_cast<float>(rate), args[i + 1].text});
  }
}

void parseLaunch(const Line& line, Command& c) {
  if (line.timeline.launched) line.fail("expected one `launch` per script");
  if (line.args.size() == 1 && line.args[0].text != "bare") {
    line.fail("expected `bare` after `launch`, got \"" + line.args[0].text + "\"");
  }
  c.op = Op::Launch;
  c.bare = line.args.size() == 1;
  line.timeline.launched = true;
  line.timeline.bare = c.bare;
}

void parseOpen(const Line& line, Command& c) {
  if (line.args.size() == 1) line.failUsage();
  line.needLaunch();
  c.op = Op::Open;
  c.width = line.args.empty() ? 375 : size(line, line.args[0]);
  c.height = line.args.empty() ? 211 : size(line, line.args[1]);
  if (line.timeline.players.open() == 0) {
    line.fail("expected at most " + std::to_string(PlayerRoster::kMaxOpenPlayers) +
              " open players; close one first");
  }
}

void parsePlayer(const Line& line, Command& c) {
  line.needLaunch();
  c.op = Op::Player;
  c.player = line.parser.integer(line.args[0], "a player number", 1, INT32_MAX);
  if (!line.timeline.players.makeCurrent(c.player)) {
    line.fail("expected an open player's number, but player " + line.args[0].text + " is not open");
  }
}

void parseClose(const Line& line, Command& c) {
  line.needPlayer();
  c.op = Op::Close;
  if (!line.args.empty()) {
    c.player = line.parser.integer(line.args[0], "a player number", 1, INT32_MAX);
  }
  if (line.timeline.players.close(c.player) == 0) {
    line.fail("expected an open player's number, but player " + line.args[0].text + " is not open");
  }
}

void parseControls(const Line& line, Command& c) {
  line.needPlayer();
  const auto& args = line.args;
  if (args[0].text == "alpha" && args.size() == 2) {
    c.op = Op::ControlsAlpha;
    c.alpha = line.fraction(args[1], "an alpha");
  } else if (args.size() == 1 && (args[0].text == "shown" || args[0].text == "hidden")) {
    c.op = Op::Controls;
    c.shown = args[0].text == "shown";
  } else {
    line.failUsage();
  }
}

void parseHostRate(const Line& line, Command& c) {
  line.needPlayer();
  c.op = Op::HostRate;
  c.rate = line.parser.rate(line.args[0]);
}

void parseFullscreen(const Line& line, Command& c) {
  line.needPlayer();
  const std::string& word = line.args[0].text;
  if (word != "on" && word != "off") line.failUsage();
  c.op = Op::Fullscreen;
  c.fullscreen = word == "on";
}

void parseTouches(const Line& line, Command& c) {
  line.needPlayer();
  c.op = line.word == "down" ? Op::Down : Op::Move;
  const auto& args = line.args;
  size_t n = args.size();
  if (c.op == Op::Down && n >= 2 && args[n - 2].text == "taps" && !args[n - 2].quoted) {
    c.taps = line.parser.integer(args[n - 1], "a tap count", 1, 100);
    n -= 2;
  }
  if (n == 0) line.fail("expected at least one point X,Y after `" + line.word + "`");
  for (size_t i = 0; i < n; ++i) c.points.push_back(line.parser.point(args[i]));
}

void parseLift(const Line& line, Command& c) {
  line.needPlayer();
  c.op = line.word == "up" ? Op::Up : Op::Cancel;
}

void parseSwipe(const Line& line, Command& c) {
  const auto& args = line.args;
  if (args.size() == 3) line.failUsage();
  line.needPlayer();
  c.op = Op::Swipe;
  c.points = {line.parser.point(args[0]), line.parser.point(args[1])};
  if (args.size() == 4) {
    if (args[2].text != "steps") line.fail("expected `steps N`, got \"" + args[2].text + "\"");
    c.steps = line.parser.integer(args[3], "a number of steps from 1 to 10000", 1, 10000);
  }
}

void parseDoubleTap(const Line& line, Command& c) {
  line.needPlayer();
  c.op = Op::DoubleTap;
  c.points = {line.parser.point(line.args[0])};
}

void parseTap(const Line& line, Command& c) {
  line.needPlayer();
  const std::string& side = line.args[0].text;
  if (side != "+" && side != "-")
    line.fail("expected `+` or `-` after `tap`, got \"" + side + "\"");
  c.op = Op::Tap;
  c.plus = side == "+";
}

void parseWait(const Line& line, Command& c) {
  c.op = Op::Wait;
  c.milliseconds = line.parser.number(line.args[0], "milliseconds");
  if (c.milliseconds < 0 || c.milliseconds > 1e9) {
    line.fail("expected milliseconds from 0 to 1000000000");
  }
}

void parseSnapshot(const Line& line, Command& c) {
  line.needPlayer();
  c.op = Op::Snapshot;
  c.path = line.args[0].text;  // an output: where the program runs, as a person would expect
}

void parseExpect(const Line& line, Command& c);

constexpr CommandSyntax kCommands[] = {
    {"screen", 2, 2, "`screen W H`", parseScreen},
    {"brightness", 1, 1, "`brightness V`", parseLevel},
    {"volume", 1, 1, "`volume V`", parseLevel},
    {"setting", 2, 2, "`setting KEY VALUE`", parseSetting},
    {"unset", 1, 1, "`unset KEY`", parseUnset},
    {"settings-file", 1, 1, "`settings-file PATH` or `settings-file none`", parseSettingsFile},
    {"notify", 0, 0, "`notify` alone", parseNotify},
    {"rates", 0, kAny, "`rates R \"TITLE\" …`", parseRates},
    {"launch", 0, 1, "`launch` or `launch bare`", parseLaunch},
    {"open", 0, 2, "`open` or `open W H`", parseOpen},
    {"player", 1, 1, "`player N`", parsePlayer},
    {"close", 0, 1, "`close` or `close N`", parseClose},
    {"controls", 1, 2, "`controls shown`, `controls hidden` or `controls alpha A`", parseControls},
    {"host-rate", 1, 1, "`host-rate R`", parseHostRate},
    {"fullscreen", 1, 1, "`fullscreen on` or `fullscreen off`", parseFullscreen},
    {"down", 0, kAny, "`down X,Y … [taps N]`", parseTouches},
    {"move", 0, kAny, "`move X,Y …`", parseTouches},
    {"up", 0, 0, "`up` alone", parseLift},
    {"cancel", 0, 0, "`cancel` alone", parseLift},
    {"swipe", 2, 4, "`swipe P1 P2 [steps N]`", parseSwipe},
    {"tap", 1, 1, "`tap +` or `tap -`", parseTap},
    {"double-tap", 1, 1, "`double-tap X,Y`", parseDoubleTap},
    {"wait", 1, 1, "`wait MS`", parseWait},
    {"expect", 0, kAny, "`expect WHAT …`", parseExpect},
    {"snapshot", 1, 1, "`snapshot FILE.svg`", parseSnapshot},
};

// `expect`: what to check, then its value.

void parseExpectLevel(const Line& line, const std::vector<Token>& rest, Command& c) {
  const std::string& what = line.args[0].text;
  if (rest.size() != 1) line.fail("expected `expect " + what + " V`");
  c.op = what == "volume" ? Op::ExpectVolume : Op::ExpectBrightness;
  c.level = line.parser.number(rest[0], "a level");
}

void parseExpectRate(const Line& line, const std::vector<Token>& rest, Command& c) {
  if (rest.size() != 1) line.fail("expected `expect rate R`");
  line.needPlayer();
  c.op = Op::ExpectRate;
  c.rate = line.parser.number(rest[0], "a rate");
}

// `expect WHAT "TEXT"` or `expect WHAT none`: the text, or `none` set.
void parseQuotedOrNone(const Line& line, const std::vector<Token>& rest, const char* quoted,
                       std::string& text, bool& none) {
  const std::string& what = line.args[0].text;
  if (rest.size() != 1) {
    line.fail("expected `expect " + what + " \"TEXT\"` or `expect " + what + " none`");
  }
  line.needPlayer();
  if (rest[0].quoted) {
    text = rest[0].text;
  } else if (rest[0].text == "none") {
    none = true;
  } else {
    line.fail(std::string("expected ") + quoted + " or `none`, got \"" + rest[0].text + "\"");
  }
}

void parseExpectLabel(const Line& line, const std::vector<Token>& rest, Command& c) {
  c.op = Op::ExpectLabel;
  parseQuotedOrNone(line, rest, "a quoted label text", c.label, c.noStepper);
}

// `expect WHAT A B`: two counts since launch.
void parseCountPair(const Line& line, const std::vector<Token>& rest, const char* usage,
                    const char* firstWhat, int64_t& first, const char* secondWhat,
                    int64_t& second) {
  if (rest.size() != 2) line.fail(std::string("expected `") + usage + "`");
  line.needLaunch();
  first = line.parser.integer(rest[0], firstWhat, 0, INT64_MAX);
  second = line.parser.integer(rest[1], secondWhat, 0, INT64_MAX);
}

void parseExpectSeeks(const Line& line, const std::vector<Token>& rest, Command& c) {
  c.op = Op::ExpectSeeks;
  parseCountPair(line, rest, "expect seeks B F", "a count of backward seeks", c.seeksBackward,
                 "a count of forward seeks", c.seeksForward);
}

void parseExpectPosition(const Line& line, const std::vector<Token>& rest, Command& c) {
  if (rest.size() != 1) line.fail("expected `expect position S`");
  line.needPlayer();
  c.op = Op::ExpectPosition;
  c.seconds = line.parser.number(rest[0], "a position in seconds");
}

void parseExpectShown(const Line& line, const std::vector<Token>& rest, Command& c) {
  const std::string& what = line.args[0].text;
  line.needPlayer();
  if (what == "stepper" && rest.size() == 2 && rest[0].text == "alpha") {
    c.op = Op::ExpectStepperAlpha;
    c.alpha = line.parser.number(rest[1], "an alpha");
  } else if (rest.size() == 1 && (rest[0].text == "shown" || rest[0].text == "hidden")) {
    c.op = what == "controls" ? Op::ExpectControls : Op::ExpectStepper;
    c.shown = rest[0].text == "shown";
  } else {
    line.fail("expected `expect " + what + " shown` or `expect " + what + " hidden`" +
              (what == "stepper" ? " or `expect stepper alpha A`" : ""));
  }
}

void parseExpectHud(const Line& line, const std::vector<Token>& rest, Command& c) {
  c.op = Op::ExpectHud;
  parseQuotedOrNone(line, rest, "a quoted text", c.hudText, c.noHud);
}

void parseExpectHaptics(const Line& line, const std::vector<Token>& rest, Command& c) {
  c.op = Op::ExpectHaptics;
  parseCountPair(line, rest, "expect haptics T L", "a count of ticks", c.hapticTicks,
                 "a count of limit impacts", c.hapticLimits);
}

void parseExpect(const Line& line, Command& c) {
  if (line.args.empty()) line.fail("expected what to check after `expect`");
  const std::string& what = line.args[0].text;
  std::vector<Token> rest(line.args.begin() + 1, line.args.end());
  if (what == "volume" || what == "brightness") {
    parseExpectLevel(line, rest, c);
  } else if (what == "rate") {
    parseExpectRate(line, rest, c);
  } else if (what == "label") {
    parseExpectLabel(line, rest, c);
  } else if (what == "seeks") {
    parseExpectSeeks(line, rest, c);
  } else if (what == "position") {
    parseExpectPosition(line, rest, c);
  } else if (what == "controls" || what == "stepper") {
    parseExpectShown(line, rest, c);
  } else if (what == "hud") {
    parseExpectHud(line, rest, c);
  } else if (what == "haptics") {
    parseExpectHaptics(line, rest, c);
  } else {
    line.fail(
        "expected volume, brightness, rate, label, seeks, position, controls, stepper, hud or "
        "haptics after `expect`, got \"" +
        what + "\"");
  }
}

}  // namespace

const CommandSyntax* commandSyntax(std::string_view word) {
  for (const auto& row : kCommands) {
    if (row.word == word) return &row;
  }
  return nullptr;
}

}  // namespace sim
