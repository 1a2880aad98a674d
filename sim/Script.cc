#include "sim/Script.h"

#include <optional>

#include "sim/ScriptLine.h"
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

double clockAdvanceMs(const Command& c) {
  switch (c.op) {
    case Op::Down:
    case Op::Move:
    case Op::Up:
    case Op::Cancel:
    case Op::Tap:
      return kEventSpacingMs;
    case Op::Swipe:
      return static_cast<double>(c.steps + 2) * kEventSpacingMs;
    case Op::DoubleTap:
      return 4 * kEventSpacingMs;
    case Op::Wait:
      return c.milliseconds;
    default:
      return 0;
  }
}

namespace {

// The command on one line, read through its row of the table; nothing for a line of no words.
std::optional<Command> parseLine(const LineParser& p, std::string_view lineText,
                                 const std::string& folder, ScriptContext& timeline) {
  auto tokens = p.tokenize(lineText);
  if (tokens.empty()) return std::nullopt;
  const std::string& word = tokens[0].text;
  if (tokens[0].quoted) p.fail("expected a command, got a string");
  const CommandSyntax* syntax = commandSyntax(word);
  if (!syntax) p.fail("expected a command, got unknown command \"" + word + "\"");
  std::vector<Token> args(tokens.begin() + 1, tokens.end());
  Line line{p, word, args, timeline, folder, syntax->usage};
  if (args.size() < syntax->minimumArgs || args.size() > syntax->maximumArgs) line.failUsage();
  Command c;
  syntax->parse(line, c);
  return c;
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
    auto parsed = parseLine(p, lineText, folder, timeline);
    if (!parsed) {
      if (end == text.size()) break;
      continue;
    }
    Command& c = *parsed;
    c.line = lineNumber;
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
