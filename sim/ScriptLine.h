// The parts of a script line that every command shares: its words, the numbers in them, and the
// checks of where the script stands. For the script parser and its table of commands only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Script.h"

namespace sim {

struct Token {
  std::string text;
  bool quoted = false;
};

// Reads the words of one line, and fails naming the script and the line.
class LineParser {
 public:
  LineParser(const std::string& name, int line) : name_(name), line_(line) {}

  [[noreturn]] void fail(const std::string& what) const;
  std::vector<Token> tokenize(std::string_view text) const;

  // Decimals as the simulator writes them: an optional minus, digits with at most one point, an
  // optional exponent ("1e-07", "1e+300"); with `nonFinite`, also "inf", "-inf" and "nan".
  static bool parseDouble(const std::string& text, double& out, bool nonFinite = false);
  static bool parseInteger(const std::string& text, int64_t& out);

  double number(const Token& token, const char* what) const;
  // A rate, which the host keeps as a 32-bit float: a value past the float range has none.
  double rate(const Token& token) const;
  int64_t integer(const Token& token, const char* what, int64_t minimum, int64_t maximum) const;
  Point point(const Token& token) const;

 private:
  const std::string& name_;
  int line_;
};

// A line being parsed: its command word, the words after it, and where the script stands.
struct Line {
  const LineParser& parser;
  const std::string& word;
  const std::vector<Token>& args;
  ScriptContext& timeline;
  const std::string& folder;
  std::string_view usage;  // the command's row's

  [[noreturn]] void fail(const std::string& what) const { parser.fail(what); }
  // The command's usage, for words that its count of them allows but its form does not.
  [[noreturn]] void failUsage() const { parser.fail("expected " + std::string(usage)); }
  void needLaunch() const;
  void needPlayer() const;
  // A level or an alpha: from 0 to 1.
  double fraction(const Token& token, const char* what) const;
};

// One command of the language: its word, how many words may follow it, the usage that a wrong
// count gets, and the function that reads the rest of the line into a command.
struct CommandSyntax {
  std::string_view word;
  size_t minimumArgs;
  size_t maximumArgs;
  std::string_view usage;
  void (*parse)(const Line& line, Command& c);
};

// The row of `word`, or nullptr for a word that is no command.
const CommandSyntax* commandSyntax(std::string_view word);

}  // namespace sim
