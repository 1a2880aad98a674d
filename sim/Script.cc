#include "sim/Script.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <limits>

#include "sim/KnownSettings.h"
#include "sim/Utf8.h"

namespace sim {

std::string printable(std::string_view text) {
  std::string out;
  auto escapeByte = [&out](unsigned char byte) {
    const char* digits = "0123456789abcdef";
    out += "\\x";
    out += digits[byte >> 4];
    out += digits[byte & 15];
  };
  size_t i = 0;
  while (i < text.size()) {
    auto [point, length] = utf8CharacterAt(text, i);
    if (length == 0) {
      escapeByte(static_cast<unsigned char>(text[i]));
      ++i;
    } else if (point < 0x20 || (point >= 0x7f && point < 0xa0)) {
      for (size_t k = 0; k < length; ++k) escapeByte(static_cast<unsigned char>(text[i + k]));
      i += length;
    } else {
      out.append(text.substr(i, length));
      i += length;
    }
  }
  return out;
}

namespace {

struct Token {
  std::string text;
  bool quoted = false;
};

class LineParser {
 public:
  LineParser(const std::string& name, int line) : name_(name), line_(line) {}

  [[noreturn]] void fail(const std::string& what) const {
    throw ScriptError(printable(name_ + ":" + std::to_string(line_) + ": " + what));
  }

  std::vector<Token> tokenize(std::string_view text) const {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
      char c = text[i];
      if (c == ' ' || c == '\t' || c == '\r') {
        ++i;
      } else if (c == '#') {
        break;
      } else if (c == '"') {
        Token token{"", true};
        ++i;
        bool closed = false;
        while (i < text.size()) {
          char d = text[i++];
          if (d == '"') {
            closed = true;
            break;
          }
          if (d == '\\') {
            if (i == text.size() || (text[i] != '"' && text[i] != '\\')) {
              fail("expected \\\" or \\\\ after a backslash in a string");
            }
            d = text[i++];
          }
          token.text += d;
        }
        if (!closed) fail("expected a closing \" at the end of the string");
        tokens.push_back(std::move(token));
      } else {
        size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t' && text[i] != '\r' &&
               text[i] != '"' && text[i] != '#') {
          ++i;
        }
        tokens.push_back({std::string(text.substr(start, i - start)), false});
      }
    }
    return tokens;
  }

  // Decimals as the simulator writes them: an optional minus, digits with at most one point, an
  // optional exponent ("1e-07", "1e+300"); with `nonFinite`, also "inf", "-inf" and "nan".
  static bool parseDouble(const std::string& text, double& out, bool nonFinite = false) {
    if (nonFinite && (text == "inf" || text == "-inf" || text == "nan")) {
      out = text == "nan"   ? std::numeric_limits<double>::quiet_NaN()
            : text == "inf" ? std::numeric_limits<double>::infinity()
                            : -std::numeric_limits<double>::infinity();
      return true;
    }
    size_t i = !text.empty() && text[0] == '-' ? 1 : 0;
    bool digits = false, point = false;
    for (; i < text.size() && text[i] != 'e' && text[i] != 'E'; ++i) {
      if (text[i] >= '0' && text[i] <= '9') {
        digits = true;
      } else if (text[i] == '.' && !point) {
        point = true;
      } else {
        return false;
      }
    }
    if (!digits) return false;
    if (i < text.size()) {
      ++i;
      if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
      if (i == text.size()) return false;
      for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
      }
    }
    // Past the largest double is an error; below the smallest it reads as zero or a subnormal,
    // which is what the text says as nearly as a double can.
    out = std::strtod(text.c_str(), nullptr);
    return std::isfinite(out);
  }

  static bool parseInteger(const std::string& text, int64_t& out) {
    if (text.empty()) return false;
    size_t i = text[0] == '-' ? 1 : 0;
    if (i == text.size()) return false;
    for (size_t j = i; j < text.size(); ++j) {
      if (text[j] < '0' || text[j] > '9') return false;
    }
    errno = 0;
    long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (errno != 0) return false;
    out = value;
    return true;
  }

  double number(const Token& token, const char* what) const {
    double value = 0;
    if (token.quoted || !parseDouble(token.text, value)) {
      fail(std::string("expected ") + what + ", got \"" + token.text + "\"");
    }
    return value;
  }

  // A rate, which the host keeps as a 32-bit float: a value past the float range has none.
  double rate(const Token& token) const {
    double value = number(token, "a rate");
    if (std::fabs(value) > FLT_MAX) {
      fail("expected a rate a 32-bit float can hold (at most 3.4e38), got \"" + token.text + "\"");
    }
    return value;
  }

  int64_t integer(const Token& token, const char* what, int64_t minimum, int64_t maximum) const {
    int64_t value = 0;
    if (token.quoted || !parseInteger(token.text, value) || value < minimum || value > maximum) {
      fail(std::string("expected ") + what + ", got \"" + token.text + "\"");
    }
    return value;
  }

  Point point(const Token& token) const {
    auto comma = token.text.find(',');
    double x = 0, y = 0;
    if (token.quoted || comma == std::string::npos ||
        !parseDouble(token.text.substr(0, comma), x) ||
        !parseDouble(token.text.substr(comma + 1), y)) {
      fail("expected a point X,Y, got \"" + token.text + "\"");
    }
    return {x, y};
  }

 private:
  const std::string& name_;
  int line_;
};

std::string resolve(const std::string& folder, const std::string& path) {
  std::filesystem::path p(path);
  if (p.is_absolute()) return path;
  return (std::filesystem::path(folder) / p).lexically_normal().string();
}

// How far a command moves the virtual clock, as the engine runs it.
double clockAdvanceMs(const Command& c) {
  switch (c.op) {
    case Op::Down:
    case Op::Move:
    case Op::Up:
    case Op::Cancel:
    case Op::Tap:
      return kEventSpacingMs;
    case Op::Swipe:
      return static_cast<double>(c.count + 2) * kEventSpacingMs;
    case Op::Wait:
      return c.numbers[0];
    default:
      return 0;
  }
}

}  // namespace

Script parseScript(std::string_view text, const std::string& name, const std::string& folder) {
  ScriptContext context;
  return parseScript(text, name, folder, context);
}

Script parseScript(std::string_view text, const std::string& name, const std::string& folder,
                   ScriptContext& timeline) {
  Script script{name, folder, {}};
  // Editors put a byte-order mark first; it is no part of the first command.
  if (text.substr(0, 3) == "\xef\xbb\xbf") text.remove_prefix(3);
  if (text.size() > kMaxScriptBytes) {
    LineParser(name, 1).fail("expected a script of at most " + std::to_string(kMaxScriptBytes) +
                             " bytes");
  }
  int lineNumber = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view lineText = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    LineParser p(name, lineNumber);
    // The empty rest after a final line feed is no line.
    if (lineNumber > kMaxScriptLines && !(lineText.empty() && end == text.size())) {
      p.fail("expected a script of at most " + std::to_string(kMaxScriptLines) + " lines");
    }
    auto tokens = p.tokenize(lineText);
    if (tokens.empty()) {
      if (end == text.size()) break;
      continue;
    }
    const std::string& word = tokens[0].text;
    if (tokens[0].quoted) p.fail("expected a command, got a string");
    auto args = std::vector<Token>(tokens.begin() + 1, tokens.end());
    auto arity = [&](size_t minimum, size_t maximum, const char* usage) {
      if (args.size() < minimum || args.size() > maximum) p.fail(std::string("expected ") + usage);
    };
    auto needLaunch = [&] {
      if (!timeline.launched) p.fail("expected `launch` before `" + word + "`");
    };
    auto needPlayer = [&] {
      needLaunch();
      if (timeline.players.current() == 0)
        p.fail("expected an open player (`open`) before `" + word + "`");
    };
    auto fraction = [&](const Token& token, const char* what) {
      double v = p.number(token, what);
      if (v < 0 || v > 1)
        p.fail(std::string("expected ") + what + " from 0 to 1, got " + token.text);
      return v;
    };

    Command c{};
    c.line = lineNumber;
    if (word == "screen") {
      arity(2, 2, "`screen W H`");
      if (timeline.launched) p.fail("expected `screen` before `launch`");
      c.op = Op::Screen;
      for (auto& a : args) {
        double v = p.number(a, "a size in points");
        if (v <= 0) p.fail("expected a size above 0, got " + a.text);
        c.numbers.push_back(v);
      }
    } else if (word == "brightness" || word == "volume") {
      arity(1, 1, ("`" + word + " V`").c_str());
      c.op = word == "volume" ? Op::Volume : Op::Brightness;
      c.numbers.push_back(fraction(args[0], "a level"));
    } else if (word == "setting") {
      arity(2, 2, "`setting KEY VALUE`");
      c.op = Op::Setting;
      c.text = args[0].text;
      if (c.text.empty()) p.fail("expected a settings key");
      // A settings file holds text only: libplist would write bytes that are not UTF-8 as a string
      // it cannot read back, and the whole file would be lost.
      if (!isUtf8(c.text)) p.fail("expected a settings key in UTF-8");
      const Token& v = args[1];
      int64_t integer = 0;
      double real = 0;
      if (v.quoted) {
        if (!isUtf8(v.text)) p.fail("expected a string in UTF-8");
        c.value.kind = SettingValue::String;
        c.value.string = v.text;
      } else if (v.text == "true" || v.text == "false") {
        c.value.kind = SettingValue::Boolean;
        c.value.boolean = v.text == "true";
      } else if (LineParser::parseInteger(v.text, integer)) {
        c.value.kind = SettingValue::Integer;
        c.value.integer = integer;
      } else if (LineParser::parseDouble(v.text, real, true)) {
        c.value.kind = SettingValue::Real;
        c.value.real = real;
      } else if (const KnownSetting* known = knownSetting(c.text)) {
        p.fail("expected " + c.text + "'s value, " + whatItTakes(*known) + ", got \"" + v.text +
               "\"");
      } else {
        p.fail(
            "expected true, false, an integer, a decimal, inf, -inf, nan or a quoted string, got "
            "\"" +
            v.text + "\"");
      }
    } else if (word == "unset") {
      arity(1, 1, "`unset KEY`");
      c.op = Op::Unset;
      c.text = args[0].text;
    } else if (word == "settings-file") {
      arity(1, 1, "`settings-file PATH` or `settings-file none`");
      c.op = Op::SettingsFile;
      if (!(args[0].text == "none" && !args[0].quoted)) {
        c.text = resolve(folder, args[0].text);
        std::error_code error;
        if (!std::filesystem::is_regular_file(c.text, error)) {
          p.fail("expected a file to copy, but \"" + c.text + "\" is not one");
        }
      }
    } else if (word == "notify") {
      arity(0, 0, "`notify` alone");
      c.op = Op::Notify;
    } else if (word == "rates") {
      if (args.size() % 2 != 0) p.fail("expected pairs of a rate and a quoted title");
      if (args.size() / 2 > kMaxRateOptions) {
        p.fail("expected at most " + std::to_string(kMaxRateOptions) + " rate options");
      }
      c.op = Op::Rates;
      for (size_t i = 0; i < args.size(); i += 2) {
        double rate = p.rate(args[i]);
        if (!args[i + 1].quoted) p.fail("expected a quoted title after the rate " + args[i].text);
        c.rates.push_back({static_cast<float>(rate), args[i + 1].text});
      }
    } else if (word == "launch") {
      arity(0, 1, "`launch` or `launch bare`");
      if (timeline.launched) p.fail("expected one `launch` per script");
      if (args.size() == 1 && args[0].text != "bare") {
        p.fail("expected `bare` after `launch`, got \"" + args[0].text + "\"");
      }
      c.op = Op::Launch;
      c.flag = args.size() == 1;
      timeline.launched = true;
      timeline.bare = c.flag;
    } else if (word == "open") {
      if (args.size() == 1) p.fail("expected `open` or `open W H`");
      arity(0, 2, "`open` or `open W H`");
      needLaunch();
      c.op = Op::Open;
      c.numbers = {375, 211};
      for (size_t i = 0; i < args.size(); ++i) {
        c.numbers[i] = p.number(args[i], "a size in points");
        if (c.numbers[i] <= 0) p.fail("expected a size above 0, got " + args[i].text);
      }
      if (timeline.players.open() == 0) {
        p.fail("expected at most " + std::to_string(PlayerRoster::kMaxOpenPlayers) +
               " open players; close one first");
      }
    } else if (word == "player") {
      arity(1, 1, "`player N`");
      needLaunch();
      c.op = Op::Player;
      c.count = p.integer(args[0], "a player number", 1, INT32_MAX);
      if (!timeline.players.makeCurrent(c.count)) {
        p.fail("expected an open player's number, but player " + args[0].text + " is not open");
      }
    } else if (word == "close") {
      arity(0, 1, "`close` or `close N`");
      needPlayer();
      c.op = Op::Close;
      c.count = args.empty() ? 0 : p.integer(args[0], "a player number", 1, INT32_MAX);
      if (timeline.players.close(c.count) == 0) {
        p.fail("expected an open player's number, but player " + args[0].text + " is not open");
      }
    } else if (word == "controls") {
      arity(1, 2, "`controls shown`, `controls hidden` or `controls alpha A`");
      needPlayer();
      if (args[0].text == "alpha" && args.size() == 2) {
        c.op = Op::ControlsAlpha;
        c.numbers.push_back(fraction(args[1], "an alpha"));
      } else if (args.size() == 1 && (args[0].text == "shown" || args[0].text == "hidden")) {
        c.op = Op::Controls;
        c.flag = args[0].text == "shown";
      } else {
        p.fail("expected `controls shown`, `controls hidden` or `controls alpha A`");
      }
    } else if (word == "host-rate") {
      arity(1, 1, "`host-rate R`");
      needPlayer();
      c.op = Op::HostRate;
      c.numbers.push_back(p.rate(args[0]));
    } else if (word == "down" || word == "move") {
      needPlayer();
      c.op = word == "down" ? Op::Down : Op::Move;
      c.count = 1;
      size_t n = args.size();
      if (c.op == Op::Down && n >= 2 && args[n - 2].text == "taps" && !args[n - 2].quoted) {
        c.count = p.integer(args[n - 1], "a tap count", 1, 100);
        n -= 2;
      }
      if (n == 0) p.fail("expected at least one point X,Y after `" + word + "`");
      for (size_t i = 0; i < n; ++i) c.points.push_back(p.point(args[i]));
    } else if (word == "up" || word == "cancel") {
      arity(0, 0, ("`" + word + "` alone").c_str());
      needPlayer();
      c.op = word == "up" ? Op::Up : Op::Cancel;
    } else if (word == "swipe") {
      if (args.size() != 2 && args.size() != 4) p.fail("expected `swipe P1 P2 [steps N]`");
      needPlayer();
      c.op = Op::Swipe;
      c.points = {p.point(args[0]), p.point(args[1])};
      c.count = 20;
      if (args.size() == 4) {
        if (args[2].text != "steps") p.fail("expected `steps N`, got \"" + args[2].text + "\"");
        c.count = p.integer(args[3], "a number of steps from 1 to 10000", 1, 10000);
      }
    } else if (word == "tap") {
      arity(1, 1, "`tap +` or `tap -`");
      needPlayer();
      if (args[0].text != "+" && args[0].text != "-") {
        p.fail("expected `+` or `-` after `tap`, got \"" + args[0].text + "\"");
      }
      c.op = Op::Tap;
      c.flag = args[0].text == "+";
    } else if (word == "wait") {
      arity(1, 1, "`wait MS`");
      c.op = Op::Wait;
      double ms = p.number(args[0], "milliseconds");
      if (ms < 0 || ms > 1e9) p.fail("expected milliseconds from 0 to 1000000000");
      c.numbers.push_back(ms);
    } else if (word == "expect") {
      if (args.empty()) p.fail("expected what to check after `expect`");
      const std::string& what = args[0].text;
      auto rest = std::vector<Token>(args.begin() + 1, args.end());
      auto restArity = [&](size_t count, const char* usage) {
        if (rest.size() != count) p.fail(std::string("expected ") + usage);
      };
      if (what == "volume" || what == "brightness") {
        restArity(1, ("`expect " + what + " V`").c_str());
        c.op = what == "volume" ? Op::ExpectVolume : Op::ExpectBrightness;
        c.numbers.push_back(p.number(rest[0], "a level"));
      } else if (what == "rate") {
        restArity(1, "`expect rate R`");
        needPlayer();
        c.op = Op::ExpectRate;
        c.numbers.push_back(p.number(rest[0], "a rate"));
      } else if (what == "label") {
        restArity(1, "`expect label \"TEXT\"` or `expect label none`");
        needPlayer();
        c.op = Op::ExpectLabel;
        if (rest[0].quoted) {
          c.text = rest[0].text;
        } else if (rest[0].text == "none") {
          c.flag = true;
        } else {
          p.fail("expected a quoted label text or `none`, got \"" + rest[0].text + "\"");
        }
      } else if (what == "seeks") {
        restArity(2, "`expect seeks B F`");
        needLaunch();
        c.op = Op::ExpectSeeks;
        c.count = p.integer(rest[0], "a count of backward seeks", 0, INT64_MAX);
        c.count2 = p.integer(rest[1], "a count of forward seeks", 0, INT64_MAX);
      } else if (what == "controls" || what == "stepper") {
        needPlayer();
        if (what == "stepper" && rest.size() == 2 && rest[0].text == "alpha") {
          c.op = Op::ExpectStepperAlpha;
          c.numbers.push_back(p.number(rest[1], "an alpha"));
        } else if (rest.size() == 1 && (rest[0].text == "shown" || rest[0].text == "hidden")) {
          c.op = what == "controls" ? Op::ExpectControls : Op::ExpectStepper;
          c.flag = rest[0].text == "shown";
        } else {
          p.fail("expected `expect " + what + " shown` or `expect " + what + " hidden`" +
                 (what == "stepper" ? " or `expect stepper alpha A`" : ""));
        }
      } else {
        p.fail(
            "expected volume, brightness, rate, label, seeks, controls or stepper after "
            "`expect`, got \"" +
            what + "\"");
      }
    } else if (word == "snapshot") {
      arity(1, 1, "`snapshot FILE.svg`");
      needPlayer();
      c.op = Op::Snapshot;
      c.text = args[0].text;  // an output: where the program runs, as a person would expect
    } else {
      p.fail("expected a command, got unknown command \"" + word + "\"");
    }
    double elapsed = clockAdvanceMs(c);
    if (elapsed > kMaxClockMs - timeline.clockMs) {
      p.fail("expected the clock to stay within " + std::to_string(int64_t(kMaxClockMs)) +
             " ms, but this command passes it");
    }
    timeline.clockMs += elapsed;
    script.commands.push_back(std::move(c));
    if (end == text.size()) break;
  }
  return script;
}

}  // namespace sim
