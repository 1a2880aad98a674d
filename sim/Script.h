// Session scripts: one command a line, parsed whole before anything runs.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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
  Screen,              // numbers: W H
  Brightness,          // numbers: V
  Volume,              // numbers: V
  Setting,             // text: key; value
  Unset,               // text: key
  SettingsFile,        // text: path resolved against the script's folder, or empty for none
  Notify,              //
  Rates,               // rates
  Launch,              // flag: bare
  Open,                // numbers: W H
  Player,              // count: N
  Close,               // count: N (0: the current player)
  Controls,            // flag: shown
  ControlsAlpha,       // numbers: A
  HostRate,            // numbers: R
  Down,                // points; count: tap count
  Move,                // points
  Up,                  //
  Cancel,              //
  Swipe,               // points: P1 P2; count: steps
  Tap,                 // flag: "+" (else "-")
  Wait,                // numbers: MS
  ExpectVolume,        // numbers: V
  ExpectBrightness,    // numbers: V
  ExpectRate,          // numbers: R
  ExpectLabel,         // text; flag: none
  ExpectSeeks,         // count: backward; count2: forward
  ExpectControls,      // flag: shown
  ExpectStepper,       // flag: shown
  ExpectStepperAlpha,  // numbers: A
  Snapshot,            // text: path resolved against the script's folder
};

struct Command {
  Op op;
  int line = 0;
  std::vector<double> numbers;
  std::vector<Point> points;
  std::vector<RateOption> rates;
  std::string text;
  SettingValue value;
  bool flag = false;
  int64_t count = 0;
  int64_t count2 = 0;
};

struct Script {
  std::string name;  // as errors and failed checks name it
  std::string folder;
  std::vector<Command> commands;
};

// A script error: the message is "FILE:LINE: expected …".
class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a script has done so far that decides whether a later command can run where it stands:
// whether it launched, and which players `open`, `player` and `close` left open and current.
struct ScriptContext {
  bool launched = false;
  bool bare = false;
  std::set<int64_t> open;
  int64_t opened = 0;   // players opened so far; the next one is numbered opened + 1
  int64_t current = 0;  // 0: none
};

// Parses a whole script; `folder` resolves relative paths. Throws ScriptError.
Script parseScript(std::string_view text, const std::string& name, const std::string& folder);
// Parses `text` as the lines that follow a script that has reached `context`, and advances
// `context` past them, so that a session growing a line at a time is parsed a line at a time.
// Lines are numbered from 1 within `text`. On a ScriptError, `context` holds what the lines before
// the refused one did.
Script parseScript(std::string_view text, const std::string& name, const std::string& folder,
                   ScriptContext& context);

}  // namespace sim
