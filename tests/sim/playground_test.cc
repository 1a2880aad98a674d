// The playground's session end to end without HTTP: one Playground per process, since the library
// is injected once and cannot be unloaded.
#include "sim/Playground.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

namespace {

TEST(Playground, RunsLinesInTheSessionsContextAndSavesWhatRan) {
  sim::DeviceRoot device;
  ASSERT_EQ(device.open(""), "");
  {
    // A settings file left by an earlier session is where the saved script starts.
    std::ofstream probe(device.hostPath("/var/mobile/Library/Preferences/.keep"));
  }
  sim::Playground playground(device, 10000);
  EXPECT_TRUE(playground.engine().launched());
  EXPECT_EQ(playground.engine().observe().currentPlayer, 1);
  EXPECT_DOUBLE_EQ(playground.engine().nowMs(), 0);

  // The clock follows the wall clock, less the age of the event and at most a second a request.
  playground.sync(10250, 50);
  EXPECT_DOUBLE_EQ(playground.engine().nowMs(), 200);
  playground.sync(10100);  // the past: nothing
  EXPECT_DOUBLE_EQ(playground.engine().nowMs(), 200);
  playground.sync(60000);
  EXPECT_DOUBLE_EQ(playground.engine().nowMs(), 1200);
  playground.sync(60030);  // the sleep beyond a second is dropped, not made up later
  EXPECT_DOUBLE_EQ(playground.engine().nowMs(), 1230);

  // An upper-half drag steps the volume down, with the event gaps folded in.
  double wall = 60030;
  EXPECT_EQ(playground.command("down 300,50"), "");
  for (int x = 280; x >= 100; x -= 20) {
    wall += 16;
    playground.sync(wall);
    EXPECT_EQ(playground.command("move " + std::to_string(x) + ",50"), "");
  }
  EXPECT_EQ(playground.command("up"), "");
  wall += 100;
  playground.sync(wall);
  EXPECT_LT(playground.engine().observe().volume, 0.5);

  // What cannot run where it stands is refused and not recorded; the lines before it ran.
  size_t before = playground.sessionScript().size();
  EXPECT_EQ(playground.command("launch"), "expected one `launch` per script");
  EXPECT_NE(playground.command("frobnicate"), "");
  EXPECT_EQ(playground.command("snapshot /tmp/x.svg"),
            "the playground does not reach this machine's files");
  EXPECT_EQ(playground.sessionScript().size(), before);
  EXPECT_EQ(playground.command("setting topArea 2\nnotify\nplayer 7\nsetting speed 1"),
            "expected an open player's number, but player 7 is not open");
  EXPECT_NE(playground.sessionScript().find("setting topArea 2\nnotify\n"), std::string::npos);
  EXPECT_EQ(playground.sessionScript().find("speed"), std::string::npos);
  EXPECT_NE(playground.stateJson("why").find("\"error\":\"why\""), std::string::npos);
  EXPECT_NE(playground.stateJson().find("\"topArea\":2"), std::string::npos);

  // After closing the player, touches are refused until one is open again.
  EXPECT_EQ(playground.command("close"), "");
  EXPECT_EQ(playground.command("down 1,1"), "expected an open player (`open`) before `down`");
  EXPECT_EQ(playground.command("open"), "");

  std::string script = playground.sessionScript();
  EXPECT_NE(
      script.find(
          "open\nwait 1230\n# a drag from 300,50 to 100,50\ndown 300,50\nwait 8\nmove 280,50\n"),
      std::string::npos)
      << script;
  EXPECT_NE(script.find("expect label \"Normal\""), std::string::npos) << script;
  // The state loses no digit: the stepped volume is the float it is, a setting the double it is.
  std::string json = playground.stateJson();
  std::string volume = json.substr(json.find("\"volume\":") + 9);
  volume = volume.substr(0, volume.find(','));
  EXPECT_EQ(std::strtof(volume.c_str(), nullptr), playground.engine().observe().volume);
  EXPECT_LE(volume.find_last_of("0123456789") - volume.find_first_of("123456789"), 8u) << volume;
  EXPECT_EQ(playground.command("setting speed 0.0000001"), "");
  EXPECT_NE(playground.stateJson().find("\"speed\":1e-07"), std::string::npos);
  // A settings file holds text only, so a setting that is not UTF-8 is refused. A title that is
  // not shows in the event log with its byte escaped, and nothing raw reaches the JSON.
  EXPECT_EQ(playground.command("setting junk \"\xc3(\""), "expected a string in UTF-8");
  EXPECT_EQ(playground.command("rates 1 \"one\" 2 \"\xc3(\"\nopen\ntap +"), "");
  json = playground.stateJson();
  EXPECT_NE(json.find("\\\\xc3("), std::string::npos);
  EXPECT_EQ(json.find("\xc3"), std::string::npos);
  // What JSON cannot hold still leaves a document the page reads: text that is not UTF-8 has
  // U+FFFD for the byte.
  json = playground.stateJson("why \xc3(");
  EXPECT_NE(json.find("\"error\":\"why \xef\xbf\xbd(\""), std::string::npos) << json;
}

}  // namespace
