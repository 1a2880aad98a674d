// The playground's session as a session script: the commands it ran, in order, with the time that
// passed between them folded in as `wait MS` lines, so that the script replays the session exactly.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "sim/Engine.h"

namespace sim {

// Milliseconds as a script writes them: whole microseconds, no exponent, no trailing zeros.
std::string formatMs(int64_t microseconds);

// How far a script command moves the virtual clock by itself, in microseconds: 8 ms per touch
// event, a swipe's events together, a `wait` its time; 0 for everything else.
int64_t clockAdvanceOf(std::string_view line);

// `expect` lines that hold in the state `end` (volume, brightness, seeks, and, with a player open,
// rate and label), each value in the shortest text that reads back to it.
std::vector<std::string> expectLines(const Observed& end, bool launched);

class SessionTranscript {
 public:
  // Records a wait; one that directly follows another is merged into it, up to the longest wait
  // a script takes. Answers the line as recorded on its own ("wait MS"), or "" for a wait that
  // rounds to nothing.
  std::string wait(int64_t microseconds);
  void add(std::string line);

  const std::vector<std::string>& lines() const { return lines_; }
  // The transcript as a script, with a closing `expect` for each line of `expectations`.
  std::string script(const std::vector<std::string>& expectations) const;

 private:
  std::vector<std::string> lines_;
  int64_t lastWait_ = -1;  // microseconds of the last line while it is a wait, else -1
};

// An event of a session with the virtual time, in microseconds, at which it happened.
struct TimedLine {
  int64_t atMicroseconds = 0;
  std::string line;
};

// Folds timed events into script lines: before each event a `wait` for the time beyond what the
// clock has already advanced by itself (each touch event moves it 8 ms); an event that comes
// earlier than the clock runs when the clock stands.
std::vector<std::string> foldEvents(const std::vector<TimedLine>& events);

}  // namespace sim
