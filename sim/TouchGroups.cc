#include "sim/TouchGroups.h"

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "sim/SessionTranscript.h"

namespace sim {

namespace {

// Longer than a tap may be held, as the device counts taps.
constexpr int64_t kLongestTapUs = 350'000;

std::vector<std::string> wordsOf(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// An `up` or a `cancel`: the session language lifts every finger together.
bool lifts(const std::string& line) {
  auto words = wordsOf(line);
  return !words.empty() && (words[0] == "up" || words[0] == "cancel");
}

std::string fingersText(size_t fingers) {
  return fingers == 1 ? "" : " of " + std::to_string(fingers) + " fingers";
}

// The comment for the touch lines in [begin, end): `end` is the `up` or `cancel` that lifted the
// fingers, or the transcript's end while they are still down.
std::string describeGroup(const std::vector<std::string>& lines, size_t begin, size_t end) {
  size_t fingers = 0;
  std::string from, to, taps;
  int64_t heldUs = 0;
  for (size_t i = begin; i < end; ++i) {
    auto words = wordsOf(lines[i]);
    if (words.empty()) continue;
    if (words[0] == "down") {
      // Each `down` lists every finger on the screen.
      size_t points = 0;
      for (size_t w = 1; w < words.size() && words[w] != "taps"; ++w) ++points;
      fingers = std::max(fingers, points);
      if (from.empty() && words.size() > 1) from = words[1];
      if (words.size() >= 2 && words[words.size() - 2] == "taps") taps = words.back();
    } else if (words[0] == "move" && words.size() > 1) {
      to = words[1];
    }
    heldUs += clockAdvanceOf(lines[i]);
  }
  std::string text;
  if (!to.empty()) {
    text = "# a drag" + fingersText(fingers) + " from " + from + " to " + to;
  } else if (!taps.empty()) {
    text = "# tap " + taps + " in a row at " + from + (taps == "2" ? ": a double tap" : "");
  } else if (heldUs > kLongestTapUs) {
    text = "# a press" + fingersText(fingers) + " held " + formatMs(heldUs) + " ms at " + from;
  } else {
    text = "# a tap" + fingersText(fingers) + " at " + from;
  }
  if (end == lines.size()) return text + ", still down";
  return wordsOf(lines[end])[0] == "cancel" ? text + ", cancelled" : text;
}

// The comment for a line that is a group of touches by itself, or "".
std::string describeLine(const std::vector<std::string>& words) {
  if (words[0] == "tap" && words.size() == 2) {
    return "# a tap on the stepper's \"" + words[1] + "\"";
  }
  if (words[0] == "double-tap" && words.size() == 2) return "# a double tap at " + words[1];
  if (words[0] == "swipe" && words.size() >= 3) {
    return "# a swipe from " + words[1] + " to " + words[2];
  }
  return "";
}

}  // namespace

std::vector<std::string> withTouchComments(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  bool down = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    auto words = wordsOf(lines[i]);
    if (words.empty()) {
      out.push_back(lines[i]);
      continue;
    }
    if (!down && words[0] == "down") {
      size_t end = i + 1;
      while (end < lines.size() && !lifts(lines[end])) ++end;
      out.push_back(describeGroup(lines, i, end));
      down = true;
    } else if (lifts(lines[i])) {
      down = false;
    } else if (!down) {
      std::string comment = describeLine(words);
      if (!comment.empty()) out.push_back(comment);
    }
    out.push_back(lines[i]);
  }
  return out;
}

}  // namespace sim
