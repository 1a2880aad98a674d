// The playground's session: the one session engine, driven by a person through the page instead
// of by a script. Every command it runs is a line of the script language, checked in the context
// of the session so far, and every stretch of wall time it lets pass is a `wait`; the transcript
// of both replays the session through `glidepad-sim FILE`.
#pragma once

#include <deque>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "sim/DeviceRoot.h"
#include "sim/Engine.h"
#include "sim/Script.h"
#include "sim/SessionTranscript.h"

namespace sim {

class Playground {
 public:
  // Starts the session at wall time `wallMs`: writes the settings file's current values as
  // `setting` lines (so that a replay starts from the same file), then launches and opens a player.
  Playground(DeviceRoot& device, double wallMs);

  // Lets the engine's clock catch up with the wall clock, for an event that happened `ageMs` before
  // `wallMs`; at most a second at a time, so a page that slept does not replay its sleep.
  void sync(double wallMs, double ageMs = 0);

  // Runs the lines of `text` in turn; answers "" or why a line was refused (the lines after it are
  // not run). Commands that reach this machine's files (`snapshot`, `settings-file`) are refused.
  std::string command(std::string_view text);

  // The state as the page shows it; `error`, when not empty, says why a command was refused.
  std::string stateJson(const std::string& error = "") const;
  std::string snapshotSvg() const { return engine_.snapshotSvg(); }
  // The session so far, closing with `expect` lines for the state now.
  std::string sessionScript() const;

  const Engine& engine() const { return engine_; }

 private:
  std::string runLine(std::string_view line);
  void drainLog();

  DeviceRoot& device_;
  std::ostringstream log_;
  std::ostringstream errors_;
  Engine engine_;
  SessionTranscript transcript_;
  // Where the session's lines have left it, so that each new line is parsed on its own, in the
  // session's context, in a time that does not grow with the session.
  ScriptContext context_;
  std::deque<std::string> recentLog_;
  double wallOrigin_ = 0;  // wall time at the engine's time 0
};

// A decimal as a `setting` line writes it: the shortest text that reads back, and never digits
// alone, which would read back as an integer ("2.0", "0.1", "inf", "nan").
std::string scriptDecimal(double value);

}  // namespace sim
