#include "sim/SessionTranscript.h"

#include <gtest/gtest.h>

#include "sim/Script.h"
#include "sim/TouchGroups.h"

namespace {

using Lines = std::vector<std::string>;

TEST(SessionTranscript, KnowsHowFarEachCommandMovesTheClock) {
  const std::pair<const char*, double> advances[] = {{"down 1,2", 8000},
                                                     {"  move 1,2 3,4", 8000},
                                                     {"up", 8000},
                                                     {"cancel", 8000},
                                                     {"tap +", 8000},
                                                     {"swipe 1,1 9,9", 22 * 8000},
                                                     {"swipe 1,1 9,9 steps 3", 5 * 8000},
                                                     {"wait 12.5", 12500},
                                                     {"notify", 0},
                                                     {"# down 1,1", 0},
                                                     {"", 0}};
  for (auto [line, us] : advances) EXPECT_EQ(sim::clockAdvanceOf(line), us) << line;
}

TEST(SessionTranscript, FoldsEventTimesIntoWaitsBeyondTheEventSpacing) {
  // down at 0 (clock then 8), move at 30 (wait 22; clock 38), move at 35 (late: none; clock 46),
  // a setting at 46.5 (wait 0.5; the clock stays), notify at 47 (wait 0.5), up at 100 (wait 53).
  auto lines = sim::foldEvents({{0, "down 300,50"},
                                {30000, "move 250,50"},
                                {35000, "move 200,50"},
                                {46500, "setting topArea 2"},
                                {47000, "notify"},
                                {100000, "up"}});
  EXPECT_EQ(lines, (Lines{"down 300,50", "wait 22", "move 250,50", "move 200,50", "wait 0.5",
                          "setting topArea 2", "wait 0.5", "notify", "wait 53", "up"}));
  EXPECT_TRUE(sim::foldEvents({}).empty());
  EXPECT_EQ(sim::foldEvents({{2500, "wait 10"}, {20000, "up"}}),
            (Lines{"wait 2.5", "wait 10", "wait 7.5", "up"}));
}

TEST(SessionTranscript, MergesWaitsThatFollowEachOther) {
  sim::SessionTranscript transcript;
  EXPECT_EQ(transcript.wait(1000), "wait 1");
  EXPECT_EQ(transcript.wait(500), "wait 0.5");
  EXPECT_EQ(transcript.wait(0), "");
  EXPECT_EQ(transcript.wait(-40), "");
  EXPECT_EQ(transcript.lines(), (Lines{"wait 1.5"}));
  transcript.add("up");
  transcript.wait(3);
  EXPECT_EQ(transcript.lines(), (Lines{"wait 1.5", "up", "wait 0.003"}));
  transcript.wait(999'999'999'000 - 3);  // to a millisecond short of the longest wait
  transcript.wait(3000);
  EXPECT_EQ(transcript.lines(), (Lines{"wait 1.5", "up", "wait 1000000000", "wait 2"}));
}

TEST(SessionTranscript, ClosesTheScriptWithChecksOfTheEndState) {
  // Levels are written in the shortest text that reads back: a float level as the float it is,
  // any other as the double, however small or large.
  sim::Observed end;
  end.volume = 0.2f;
  end.brightness = 1e300;
  EXPECT_EQ(sim::expectLines(end, false), (Lines{"expect volume 0.2", "expect brightness 1e+300"}));
  end.brightness = 1e-7;
  end.seeksBackward = 2;
  end.seeksForward = 1;
  end.currentPlayer = 1;
  end.rate = 1.25f;
  end.hasStepper = true;
  end.label = "say \"x\"";
  EXPECT_EQ(sim::expectLines(end, true),
            (Lines{"expect volume 0.2", "expect brightness 1e-07", "expect seeks 2 1",
                   "expect rate 1.25", "expect label \"say \\\"x\\\"\""}));
  end.hasStepper = false;
  EXPECT_EQ(sim::expectLines(end, true)[4], "expect label none");

  // The whole of it is a script that parses.
  sim::SessionTranscript transcript;
  transcript.add("launch");
  transcript.add("open");
  auto parsed = sim::parseScript(transcript.script(sim::expectLines(end, true)), "saved", ".");
  EXPECT_EQ(parsed.commands.size(), 7u);
  EXPECT_TRUE(parsed.commands.back().noStepper);
}

TEST(SessionTranscript, SaysWhatEachGroupOfTouchesWas) {
  // A tap held 350 ms is still a tap (8 ms for the down, then 342); one 1 microsecond longer is a
  // press. A group runs from a down with no finger on the screen to the lift.
  auto lines = sim::withTouchComments({"launch",
                                       "down 10,20",
                                       "wait 342",
                                       "up",
                                       "down 10,20",
                                       "wait 342.001",
                                       "up",
                                       "down 300,50",
                                       "down 300,50 300,150",
                                       "move 200,50 200,150",
                                       "move 80,50 80,150",
                                       "cancel",
                                       "down 30,40 taps 2",
                                       "up",
                                       "tap +",
                                       "double-tap 30,40",
                                       "swipe 1,1 9,9 steps 3",
                                       "notify",
                                       "down 5,5",
                                       "",
                                       "move 6,5"});
  EXPECT_EQ(lines, (Lines{"launch",
                          "# a tap at 10,20",
                          "down 10,20",
                          "wait 342",
                          "up",
                          "# a press held 350.001 ms at 10,20",
                          "down 10,20",
                          "wait 342.001",
                          "up",
                          "# a drag of 2 fingers from 300,50 to 80,50, cancelled",
                          "down 300,50",
                          "down 300,50 300,150",
                          "move 200,50 200,150",
                          "move 80,50 80,150",
                          "cancel",
                          "# tap 2 in a row at 30,40: a double tap",
                          "down 30,40 taps 2",
                          "up",
                          "# a tap on the stepper's \"+\"",
                          "tap +",
                          "# a double tap at 30,40",
                          "double-tap 30,40",
                          "# a swipe from 1,1 to 9,9",
                          "swipe 1,1 9,9 steps 3",
                          "notify",
                          "# a drag from 5,5 to 6,5, still down",
                          "down 5,5",
                          "",
                          "move 6,5"}));
  sim::SessionTranscript transcript;
  transcript.add("tap -");
  EXPECT_NE(transcript.script({}).find("# a tap on the stepper's \"-\"\ntap -\n"),
            std::string::npos);
}

}  // namespace
