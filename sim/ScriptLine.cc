#include "sim/ScriptLine.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace sim {

void LineParser::fail(const std::string& what) const {
  throw ScriptError(printable(name_ + ":" + std::to_string(line_) + ": " + what));
}

std::vector<Token> LineParser::tokenize(std::string_view text) const {
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

bool LineParser::parseDouble(const std::string& text, double& out, bool nonFinite) {
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

bool LineParser::parseInteger(const std::string& text, int64_t& out) {
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

double LineParser::number(const Token& token, const char* what) const {
  double value = 0;
  if (token.quoted || !parseDouble(token.text, value)) {
    fail(std::string("expected ") + what + ", got \"" + token.text + "\"");
  }
  return value;
}

double LineParser::rate(const Token& token) const {
  double value = number(token, "a rate");
  if (std::fabs(value) > FLT_MAX) {
    fail("expected a rate a 32-bit float can hold (at most 3.4e38), got \"" + token.text + "\"");
  }
  return value;
}

int64_t LineParser::integer(const Token& token, const char* what, int64_t minimum,
                            int64_t maximum) const {
  int64_t value = 0;
  if (token.quoted || !parseInteger(token.text, value) || value < minimum || value > maximum) {
    fail(std::string("expected ") + what + ", got \"" + token.text + "\"");
  }
  return value;
}

Point LineParser::point(const Token& token) const {
  auto comma = token.text.find(',');
  double x = 0, y = 0;
  if (token.quoted || comma == std::string::npos || !parseDouble(token.text.substr(0, comma), x) ||
      !parseDouble(token.text.substr(comma + 1), y)) {
    fail("expected a point X,Y, got \"" + token.text + "\"");
  }
  return {x, y};
}

void Line::needLaunch() const {
  if (!timeline.launched) fail("expected `launch` before `" + word + "`");
}

void Line::needPlayer() const {
  needLaunch();
  if (timeline.players.current() == 0) {
    fail("expected an open player (`open`) before `" + word + "`");
  }
}

double Line::fraction(const Token& token, const char* what) const {
  double v = parser.number(token, what);
  if (v < 0 || v > 1) fail(std::string("expected ") + what + " from 0 to 1, got " + token.text);
  return v;
}

}  // namespace sim
