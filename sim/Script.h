// Session scripts: one command a line, parsed whole before anything runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "sim/PlayerRoster.h"

namespace sim {

struct Point {
  double x = 0;
  double y = 0;
};

// A settings value as the script writes it: `true`/`false`, an integer, a decimal or a string.
struct SettingValue {
  enum Kind { Boolean, Integer, Real, String } kind = Integer;
  bool boolean = false;
  int64_t integer = 0;
  double real = 0;
  std::string string;
};

struct RateOption {
  float rate = 0;
  std::string title;
};

enum class Op {
  Screen,
  Brightness,
  Volume,
  Setting,
  Unset,
  SettingsFile,
  Notify,
  Rates,
  Launch,
  Open,
  Player,
  Close,
  Controls,
  ControlsAlpha,
  HostRate,
  Fullscreen,
  Down,
  Move,
  Up,
  Cancel,
  Swipe,
  Tap,
  DoubleTap,
  Wait,
  ExpectVolume,
  ExpectBrightness,
  ExpectRate,
  ExpectLabel,
  ExpectSeeks,
  ExpectPosition,
  ExpectControls,
  ExpectStepper,
  ExpectStepperAlpha,
  ExpectHud,
  ExpectHaptics,
  Snapshot,
};

// One command of a script. Each field is named for what it holds and belongs to the commands
// beside it; the others leave it as it starts.
struct Command {
  Op op = Op::Notify;
  int line = 0;
  double width = 0;               // screen, open: in points
  double height = 0;              //
  double level = 0;               // volume, brightness, expect volume, expect brightness
  double alpha = 0;               // controls alpha, expect stepper alpha
  double rate = 0;                // host-rate, expect rate
  double milliseconds = 0;        // wait
  std::string key;                // setting, unset
  SettingValue value;             // setting
  std::string path;               // settings-file (empty: none), snapshot
  std::vector<RateOption> rates;  // rates
  bool bare = false;              // launch
  int64_t player = 0;             // player; close (0: the current player)
  bool shown = false;             // controls, expect controls, expect stepper
  bool fullscreen = false;        // fullscreen
  std::vector<Point> points;      // down, move; swipe: from, to
  int64_t taps = 1;               // down: the tap count of its touches
  int64_t steps = 20;             // swipe: its moves
  bool plus = false;              // tap: "+" rather than "-"
  std::string label;              // expect label
  bool noStepper = false;         // expect label none
  int64_t seeksBackward = 0;      // expect seeks
  int64_t seeksForward = 0;       //
  double seconds = 0;             // expect position
  std::string hudText;            // expect hud
  bool noHud = false;             // expect hud none
  int64_t hapticTicks = 0;        // expect haptics
  int64_t hapticLimits = 0;       //
};

// How far a command moves the virtual clock, in milliseconds, as the engine runs it.
double clockAdvanceMs(const Command& c);

struct Script {
  std::string name;  // as errors and failed checks name it
  std::string folder;
  std::vector<Command> commands;
};

// What a script may hold. No real session comes near these; they keep an untrusted script from
// taking unbounded memory or time before anything runs.
constexpr size_t kMaxScriptBytes = 16 << 20;
constexpr int kMaxScriptLines = 100000;
constexpr size_t kMaxRateOptions = 1000;  // every player opened afterwards copies the list
// The virtual clock, in milliseconds, stays below this (about 31 years), far from where its
// nanosecond count would overflow.
constexpr double kMaxClockMs = 1e12;
// Every touch event advances the clock this much after it is delivered.
constexpr double kEventSpacingMs = 8;

// A script error: the message is "FILE:LINE: expected …".
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `text` with control characters (C0, DEL and C1) and bytes that are not UTF-8 written as \xNN:
// a script, and so its errors and the event log, may come from anyone, and must not reach a
// terminal's escape sequences.
std::string printable(std::string_view text);

// What a script has done so far that decides whether a later command can run where it stands:
// whether it launched, which players are open and current, and where the virtual clock stands.
struct ScriptContext {
  bool launched = false;
  bool bare = false;
  PlayerRoster players;
  double clockMs = 0;  // after the commands so far
};

// Parses a whole script; `folder` resolves relative paths. A leading UTF-8 byte-order mark is
// skipped. Throws ScriptError, whose message shows control characters and bytes that are not
// UTF-8 as \xNN.
Script parseScript(std::string_view text, const std::string& name, const std::string& folder);
// Parses `text` as the lines that follow a script that has reached `context`, and advances
// `context` past them, so that a session growing a line at a time is parsed a line at a time.
// Lines are numbered from 1 within `text`. On a ScriptError, `context` holds what the lines before
// the refused one did.
Script parseScript(std::string_view text, const std::string& name, const std::string& folder,
                   ScriptContext& context);

}  // namespace sim
