// The session engine: runs session commands against the host app, with the library injected or
// not, on the virtual main-queue clock; writes the event log and counts failed checks. Scripts and
// the playground drive the same engine.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "sim/DeviceRoot.h"
#include "sim/PlayerRoster.h"
#include "sim/Script.h"

namespace host {
class App;
struct Player;
}  // namespace host

namespace sim {

// A command that cannot run (a file that cannot be written, a library that cannot be loaded).
class RunError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a person sees of the app at one moment.
// Where a stepper button lies in the current player's view, in points.
struct ButtonPlace {
  double x = 0, y = 0, width = 0, height = 0;
  bool shown = false;  // it and every view above it, as a finger needs to reach it
};

struct Observed {
  double volume = 0;
  double brightness = 0;
  int64_t seeksBackward = 0;
  int64_t seeksForward = 0;
  int currentPlayer = 0;    // 0: none open
  double seekPosition = 0;  // of the current player, in seconds
  float rate = 0;
  bool hasStepper = false;
  std::string label;
  bool controlsShown = false;
  bool stepperShown = false;
  double stepperAlpha = 0;
  double playerWidth = 0;  // of the current player's view, in points
  double playerHeight = 0;
  bool fullscreen = false;  // as the current player's overlay view controller reports
  bool hudShown = false;    // the library's feedback view over the current player
  std::string hudText;
  uint64_t hapticTicks = 0;  // since launch
  uint64_t hapticLimits = 0;
  ButtonPlace slowerButton, fasterButton;  // the stepper's "-" and "+"
};

class Engine {
 public:
  Engine(DeviceRoot& device, std::ostream* log, std::ostream& errors, std::string scriptName);
  ~Engine();
  Engine(const Engine&) = delete;
  Engine& operator=(const Engine&) = delete;

  void run(const Command& command);

  // Reports on the errors stream what the run as a whole has shown: settings changed after launch
  // that no `notify` followed.
  void finish();

  int checks() const { return checks_; }
  int failedChecks() const { return failedChecks_; }
  double nowMs() const;
  bool launched() const { return launched_; }
  Observed observe() const;
  // The current player drawn as SVG, or "" with no player open.
  std::string snapshotSvg() const;
  // Screen size in points.
  double screenWidth() const { return screenWidth_; }
  double screenHeight() const { return screenHeight_; }
  // Advances the clock by `ms` milliseconds, running main-queue work as it falls due.
  void advance(double ms);
  // Answers `read()`, a read of the settings file on the simulator's own behalf, which the event
  // log leaves out: it logs the library's reads only.
  template <typename Read>
  auto ownSettingsRead(Read read) const {
    readingOwnSettings_ = true;
    auto result = read();
    readingOwnSettings_ = false;
    return result;
  }

 private:
  struct OpenPlayer;

  void launch(bool bare);
  void writeSetting(const Command& command);
  void unsetSetting(const Command& command);
  void replaceSettingsFile(const Command& command);
  void settingsChanged(const Command& command);
  OpenPlayer& current();
  void makeCurrent(int64_t number);
  void openPlayer(const Command& command);
  void closePlayer(int64_t number);
  void touchEvent();
  void tapStepper(bool increment);
  void doubleTap(Point at);
  // The commands by what they act on.
  void runDeviceCommand(const Command& command);
  void runSettingsCommand(const Command& command);
  void runAppCommand(const Command& command);
  void runTouchCommand(const Command& command);
  void swipe(Point from, Point to, int64_t steps);
  void writeSnapshot(const Command& command);
  static void noteRead(std::string_view devicePath, bool read, void* engine);
  void check(const Command& command);
  void fail(const Command& command, const std::string& expected, const std::string& got);
  void logLine(const std::string& text);
  void pollChanges();
  void pollPlayer(int64_t number, OpenPlayer& open);
  void logRateSelections();
  void logHaptics();

  DeviceRoot& device_;
  std::ostream* log_;
  std::ostream& errors_;
  std::string scriptName_;
  int checks_ = 0;
  int failedChecks_ = 0;
  int unnotifiedChange_ = 0;  // the line of the first settings change since the last notify

  double screenWidth_ = 375;
  double screenHeight_ = 667;
  std::vector<std::pair<float, std::string>> rates_;
  bool launched_ = false;
  void* library_ = nullptr;

  std::unique_ptr<host::App> app_;
  std::map<int64_t, std::unique_ptr<OpenPlayer>> players_;
  PlayerRoster roster_;
  // A rate selection relabels every overlay, so the next poll looks at every player; otherwise
  // it looks at the current one only, and a touch costs the same however many players are open.
  bool pollEveryPlayer_ = false;
  struct RateSelection {
    int64_t player;
    float rate;
  };
  std::vector<RateSelection> rateSelections_;  // not yet logged
  mutable bool readingOwnSettings_ = false;    // the engine's own reads are not logged

  // What the log has last reported, to report only changes.
  double loggedVolume_ = 0;
  double loggedBrightness_ = 0;
  int64_t loggedBackward_ = 0;
  int64_t loggedForward_ = 0;
  uint64_t loggedTicks_ = 0;  // the platform's counts, which start with the process
  uint64_t loggedLimits_ = 0;
  uint64_t ticksAtLaunch_ = 0;
  uint64_t limitsAtLaunch_ = 0;
};

}  // namespace sim
