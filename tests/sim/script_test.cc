#include <gtest/gtest.h>

#include <string>

#include "Script.h"

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

TEST(ScriptParser, TokensStringsPointsAndComments) {
  auto script = parseScript(
      "# a comment\n"
      "setting key \"a \\\"quoted\\\" \\\\ value\"  # trailing comment\n"
      "rates 0.5 \"Half speed\" 1 \"Normal\"\n"
      "launch\n"
      "open\n"
      "down -1.5,2 10,20.25 taps 3\n"
      "swipe 1,1 2,2 steps 7\n",
      "s", "/tmp");
  ASSERT_EQ(script.commands.size(), 6u);
  EXPECT_EQ(script.commands[0].op, Op::Setting);
  EXPECT_EQ(script.commands[0].line, 2);
  EXPECT_EQ(script.commands[0].value.kind, sim::SettingValue::String);
  EXPECT_EQ(script.commands[0].value.string, "a \"quoted\" \\ value");
  ASSERT_EQ(script.commands[1].rates.size(), 2u);
  EXPECT_EQ(script.commands[1].rates[0].title, "Half speed");
  EXPECT_FLOAT_EQ(script.commands[1].rates[0].rate, 0.5f);
  const auto& down = script.commands[4];
  ASSERT_EQ(down.points.size(), 2u);
  EXPECT_DOUBLE_EQ(down.points[0].x, -1.5);
  EXPECT_DOUBLE_EQ(down.points[1].y, 20.25);
  EXPECT_EQ(down.count, 3);
  EXPECT_EQ(script.commands[5].count, 7);
  // Defaults: open 375 by 211, swipe 20 steps, tap count 1.
  auto defaults = parseScript("launch\nopen\nswipe 1,1 2,2\ndown 1,1\n", "s", "/tmp");
  EXPECT_DOUBLE_EQ(defaults.commands[1].numbers[0], 375);
  EXPECT_DOUBLE_EQ(defaults.commands[1].numbers[1], 211);
  EXPECT_EQ(defaults.commands[2].count, 20);
  EXPECT_EQ(defaults.commands[3].count, 1);
}

TEST(ScriptParser, SettingValuesTakeTheirKindFromHowTheyAreWritten) {
  auto script = parseScript(
      "setting a true\nsetting b false\nsetting c -12\nsetting d 2.5\nsetting e \"7\"\n", "s",
      "/tmp");
  EXPECT_EQ(script.commands[0].value.kind, sim::SettingValue::Boolean);
  EXPECT_TRUE(script.commands[0].value.boolean);
  EXPECT_FALSE(script.commands[1].value.boolean);
  EXPECT_EQ(script.commands[2].value.kind, sim::SettingValue::Integer);
  EXPECT_EQ(script.commands[2].value.integer, -12);
  EXPECT_EQ(script.commands[3].value.kind, sim::SettingValue::Real);
  EXPECT_EQ(script.commands[4].value.kind, sim::SettingValue::String);
}

TEST(ScriptParser, ErrorsNameTheLineAndWhatWasExpected) {
  EXPECT_EQ(errorOf("launch\nfrobnicate\n"),
            "s:2: expected a command, got unknown command \"frobnicate\"");
  EXPECT_EQ(errorOf("open\n"), "s:1: expected `launch` before `open`");
  EXPECT_EQ(errorOf("launch\nlaunch\n"), "s:2: expected one `launch` per script");
  EXPECT_EQ(errorOf("launch\nscreen 10 10\n"), "s:2: expected `screen` before `launch`");
  EXPECT_EQ(errorOf("launch\nopen\nswipe 1,1\n"), "s:3: expected `swipe P1 P2 [steps N]`");
  EXPECT_EQ(errorOf("launch\nopen\nmove 1,x\n"), "s:3: expected a point X,Y, got \"1,x\"");
  EXPECT_EQ(errorOf("volume 1.5\n"), "s:1: expected a level from 0 to 1, got 1.5");
  EXPECT_EQ(errorOf("volume 1e3\n"), "s:1: expected a level, got \"1e3\"");
  EXPECT_EQ(errorOf("launch\ntap +\n"), "s:2: expected an open player (`open`) before `tap`");
  EXPECT_EQ(errorOf("launch\nopen\nclose\nclose\n"),
            "s:4: expected an open player (`open`) before `close`");
  EXPECT_EQ(errorOf("launch\nopen\nplayer 2\n"),
            "s:3: expected an open player's number, but player 2 is not open");
  EXPECT_EQ(errorOf("setting k \"open\n"), "s:1: expected a closing \" at the end of the string");
  EXPECT_EQ(errorOf("setting k \"a\\n\"\n"),
            "s:1: expected \\\" or \\\\ after a backslash in a string");
  EXPECT_EQ(errorOf("rates 1 Normal\n"), "s:1: expected a quoted title after the rate 1");
  EXPECT_EQ(errorOf("launch\nopen\nexpect label Normal\n"),
            "s:3: expected a quoted label text or `none`, got \"Normal\"");
  EXPECT_EQ(errorOf("wait -1\n"), "s:1: expected milliseconds from 0 to 1000000000");
  EXPECT_EQ(errorOf("launch\nopen\nswipe 1,1 2,2 steps 0\n"),
            "s:3: expected a number of steps from 1 to 10000, got \"0\"");
}

TEST(ScriptParser, PlayerNumbersFollowOpensAndCloses) {
  auto script = parseScript("launch\nopen\nopen\nclose 1\nplayer 2\nopen\nplayer 3\n", "s", "/tmp");
  EXPECT_EQ(script.commands[3].count, 1);
  EXPECT_EQ(script.commands[4].count, 2);
  EXPECT_EQ(script.commands[6].count, 3);
  EXPECT_NE(errorOf("launch\nopen\nopen\nclose 1\nplayer 1\n"), "");

  // A line at a time, the context carries what the lines before did; a refused line leaves none.
  sim::ScriptContext context;
  for (const char* line : {"launch", "open", "open", "close 1"}) {
    parseScript(line, "s", "/tmp", context);
  }
  EXPECT_THROW(parseScript("player 1", "s", "/tmp", context), ScriptError);
  EXPECT_THROW(parseScript("open 0 0", "s", "/tmp", context), ScriptError);
  EXPECT_THROW(parseScript("launch", "s", "/tmp", context), ScriptError);
  parseScript("open", "s", "/tmp", context);
  EXPECT_EQ(parseScript("player 3", "s", "/tmp", context).commands.at(0).count, 3);
}
