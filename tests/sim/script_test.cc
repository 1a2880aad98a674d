#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>

#include "sim/Script.h"

using sim::Op;
using sim::parseScript;
using sim::ScriptError;

namespace {

std::string errorOf(const std::string& text) {
  try {
    parseScript(text, "s", "/tmp");
  } catch (const ScriptError& error) {
    return error.what();
  }
  return "";
}

}  // namespace

// Every kind of line the parser refuses, each with its whole message, one "SCRIPT<tab>MESSAGE"
// a line (a "\n" in SCRIPT breaks it into lines), so that the messages stay as users know them.
TEST(ScriptParser, RefusesEachMalformedLineWithItsMessage) {
  std::ifstream cases(GLIDEPAD_REFUSED_LINES);
  ASSERT_TRUE(cases) << GLIDEPAD_REFUSED_LINES;
  std::string record;
  size_t count = 0;
  while (std::getline(cases, record)) {
    auto tab = record.find('\t');
    ASSERT_NE(tab, std::string::npos) << record;
    std::string script = record.substr(0, tab);
    for (size_t at; (at = script.find("\\n")) != std::string::npos;) script.replace(at, 2, "\n");
    EXPECT_EQ(errorOf(script), record.substr(tab + 1)) << record.substr(0, tab);
    ++count;
  }
  EXPECT_GE(count, 90u);
}

TEST(ScriptParser, TokensStringsPointsDefaultsAndComments) {
  auto script = parseScript(
      "# a comment\n"
      "setting key \"a \\\"quoted\\\" \\\\ value\"  # trailing comment\n"
      "rates 0.5 \"Half speed\" 1 \"Normal\"\n"
      "launch\n"
      "open\n"
      "down -1.5,2 10,20.25 taps 3\n"
      "swipe 1,1 2,2\n",
      "s", "/tmp");
  ASSERT_EQ(script.commands.size(), 6u);
  EXPECT_EQ(script.commands[0].line, 2);
  EXPECT_EQ(script.commands[0].value.kind, sim::SettingValue::String);
  EXPECT_EQ(script.commands[0].value.string, "a \"quoted\" \\ value");
  ASSERT_EQ(script.commands[1].rates.size(), 2u);
  EXPECT_EQ(script.commands[1].rates[0].title, "Half speed");
  EXPECT_DOUBLE_EQ(script.commands[3].width, 375);
  EXPECT_DOUBLE_EQ(script.commands[3].height, 211);
  const auto& down = script.commands[4];
  ASSERT_EQ(down.points.size(), 2u);
  EXPECT_DOUBLE_EQ(down.points[0].x, -1.5);
  EXPECT_DOUBLE_EQ(down.points[1].y, 20.25);
  EXPECT_EQ(down.taps, 3);
  EXPECT_EQ(script.commands[5].steps, 20);
}

TEST(ScriptParser, PlayerNumbersFollowOpensAndCloses) {
  auto script = parseScript("launch\nopen\nopen\nclose 1\nplayer 2\nopen\nplayer 3\n", "s", "/tmp");
  EXPECT_EQ(script.commands[3].player, 1);
  EXPECT_EQ(script.commands[4].player, 2);
  EXPECT_EQ(script.commands[6].player, 3);
  // A line at a time, the context carries what the lines before did; a refused line leaves none.
  sim::ScriptContext context;
  for (const char* line : {"launch", "open", "open", "close 1"}) {
    parseScript(line, "s", "/tmp", context);
  }
  EXPECT_THROW(parseScript("player 1", "s", "/tmp", context), ScriptError);
  EXPECT_THROW(parseScript("open 0 0", "s", "/tmp", context), ScriptError);
  EXPECT_THROW(parseScript("launch", "s", "/tmp", context), ScriptError);
  parseScript("open", "s", "/tmp", context);
  EXPECT_EQ(parseScript("player 3", "s", "/tmp", context).commands.at(0).player, 3);
}

// What the simulator writes, it reads back: exponents, the float range's ends, the non-finite
// words (for settings only; the refused forms are in refused-lines.txt).
TEST(ScriptParser, ReadsTheDecimalsTheSimulatorWrites) {
  struct Case {
    const char* text;
    double value;
  };
  for (auto [text, value] : {Case{"volume 1e-07", 1e-7}, Case{"volume 2.5E-1", 0.25},
                             Case{"volume 0.2", 0.2}, Case{"setting k 1e+300", 1e300},
                             Case{"setting k 5e-324", 5e-324}, Case{"setting k 1e3", 1000},
                             Case{"setting k inf", INFINITY}, Case{"setting k -inf", -INFINITY}}) {
    auto c = parseScript(text, "s", "/tmp").commands.at(0);
    EXPECT_EQ(c.op == Op::Setting ? c.value.real : c.level, value) << text;
    if (c.op == Op::Setting) {
      EXPECT_EQ(c.value.kind, sim::SettingValue::Real) << text;
    }
  }
  auto kinds = parseScript("setting k nan\nsetting i 7\nsetting b false\n", "s", "/tmp");
  EXPECT_TRUE(std::isnan(kinds.commands[0].value.real));
  EXPECT_EQ(kinds.commands[1].value.kind, sim::SettingValue::Integer);
  EXPECT_EQ(kinds.commands[2].value.kind, sim::SettingValue::Boolean);
  EXPECT_EQ(errorOf("rates 3.4028234e38 \"a\"\n"), "");
  EXPECT_EQ(errorOf("setting k \"caf\xc3\xa9\"\n"), "");
}

TEST(ScriptParser, SkipsAByteOrderMark) {
  auto script = parseScript("\xef\xbb\xbflaunch\n", "s", "/tmp");
  ASSERT_EQ(script.commands.size(), 1u);
  EXPECT_EQ(script.commands[0].op, Op::Launch);
}
