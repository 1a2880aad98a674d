// The XML reading follows libplist 2.2.0's parser (xplist.c) step by step: where a construct ends,
// which markup a string may hold, where a double quote hides a ">", and where it gives up. Where
// it gives up, nothing more is built, so counting stops there too. Counting on where libplist
// stops is only safe because reading further could only raise the counts.
#include <string_view>
#include <vector>

#include "PropertyListLimits.h"

namespace foundation_detail {

namespace {

constexpr size_t kNone = std::string_view::npos;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The next `text` at or after `from`; with `skipQuotes`, not inside a double-quoted stretch.
size_t findText(std::string_view xml, size_t from, std::string_view text, bool skipQuotes) {
  if (!skipQuotes) return xml.find(text, from);
  for (size_t at = from; at < xml.size(); ++at) {
    if (xml.compare(at, text.size(), text) == 0) return at;
    if (xml[at] == '"') {
      at = xml.find('"', at + 1);
      if (at == kNone) return kNone;
    }
  }
  return kNone;
}

// The next of `chars` at or after `from`; with `skipQuotes`, not inside a double-quoted stretch.
size_t findAny(std::string_view xml, size_t from, std::string_view chars, bool skipQuotes) {
  for (size_t at = from; at < xml.size(); ++at) {
    if (skipQuotes && xml[at] == '"') {
      at = xml.find('"', at + 1);
      if (at == kNone) return kNone;
      continue;
    }
    if (chars.find(xml[at]) != kNone) return at;
  }
  return kNone;
}

size_t skipSpace(std::string_view xml, size_t at) {
  while (at < xml.size() && isSpace(xml[at])) ++at;
  return at;
}

bool isTextElement(std::string_view name) {
  for (std::string_view text :
       {"integer", "real", "true", "false", "string", "key", "data", "date"}) {
    if (name == text) return true;
  }
  return false;
}

// Entity replacement moves the rest of its text part for every entity; a part never spans a
// "<", so each run between two "<" bounds the parts inside it.
size_t entityMoves(std::string_view xml) {
  size_t moves = 0;
  size_t entities = 0;
  size_t runStart = 0;
  for (size_t at = 0; at <= xml.size(); ++at) {
    if (at == xml.size() || xml[at] == '<') {
      moves += entities * (at - runStart);
      if (moves > kMaxPropertyListEntityMoves) return moves;
      entities = 0;
      runStart = at;
    } else if (xml[at] == '&') {
      ++entities;
    }
  }
  return moves;
}

class XmlReading {
 public:
  explicit XmlReading(std::string_view xml) : xml_(xml) {}

  // False as soon as a count passes its bound.
  bool withinLimits() {
    while (true) {
      at_ = skipSpace(xml_, at_);
      if (at_ >= xml_.size() || xml_[at_] != '<' || ++at_ >= xml_.size()) return true;
      if (xml_[at_] == '?' || xml_[at_] == '!') {
        if (!skipDeclaration()) return true;
        continue;
      }
      std::string_view name;
      bool empty = false;
      if (!readTag(name, empty)) return true;
      Step step = element(name, empty);
      if (step == Step::OverLimit) return false;
      if (step == Step::Stop) return true;
    }
  }

 private:
  enum class Step { Next, Stop, OverLimit };
  enum class Kind : char { Plist, Dict, Array };
  struct Container {
    bool dictionary;
    size_t entries = 0;
  };

  // A processing instruction, comment or document type; false where libplist gives up.
  bool skipDeclaration() {
    if (xml_[at_] == '?') return skipPast("?>", at_, true);
    if (xml_.compare(at_, 3, "!--") == 0) return skipPast("-->", at_ + 3, false);
    if (xml_.compare(at_, 8, "!DOCTYPE") != 0) return false;
    size_t end = findAny(xml_, at_ + 8, "[>", true);
    if (end == kNone) return false;
    if (xml_[end] == '>') {
      at_ = end + 1;
      return true;
    }
    return skipPast("]>", end, true);
  }

  bool skipPast(std::string_view marker, size_t from, bool skipQuotes) {
    size_t end = findText(xml_, from, marker, skipQuotes);
    if (end == kNone) return false;
    at_ = end + marker.size();
    return true;
  }

  // A tag's name (up to white space, ">" or a zero byte, where libplist's name ends too) and
  // whether it closes itself.
  bool readTag(std::string_view& name, bool& empty) {
    using namespace std::string_view_literals;
    size_t start = at_;
    size_t nameEnd = findAny(xml_, start, " \r\n\t<>\0"sv, false);
    if (nameEnd == kNone) return false;
    size_t end = xml_[nameEnd] == '>' ? nameEnd : findAny(xml_, nameEnd, "<>", true);
    if (end == kNone || xml_[end] != '>') return false;
    name = xml_.substr(start, nameEnd - start);
    empty = xml_[end - 1] == '/';
    if (empty && end - start - 1 < name.size()) name = name.substr(0, end - start - 1);
    at_ = end + 1;
    return true;
  }

  // A text element's content, which may hold comments and CDATA, and its closing tag; `length`
  // is how much of the file the content takes, which bounds the text it gives.
  bool skipText(std::string_view name, size_t& length) {
    size_t start = at_;
    while (true) {
      size_t open = xml_.find('<', at_);
      if (open == kNone || open + 1 >= xml_.size()) return false;
      at_ = open + 1;
      if (xml_[at_] == '/') break;
      if (xml_[at_] != '!' || ++at_ + 1 >= xml_.size()) return false;
      if (xml_.compare(at_, 2, "--") == 0) {
        if (!skipPast("-->", at_ + 2, false)) return false;
      } else if (xml_[at_] == '[' && ++at_ + 8 < xml_.size() &&
                 xml_.compare(at_, 6, "CDATA[") == 0) {
        if (!skipPast("]]>", at_ + 6, false)) return false;
      } else {
        return false;
      }
    }
    length = at_ - 1 - start;
    ++at_;
    if (at_ + name.size() >= xml_.size() || xml_.compare(at_, name.size(), name) != 0) {
      return false;
    }
    at_ = skipSpace(xml_, at_ + name.size());
    if (at_ >= xml_.size() || xml_[at_] != '>') return false;
    ++at_;
    return true;
  }

  Step element(std::string_view name, bool empty) {
    if (name == "plist") {
      if ((path_.empty() && rootBuilt_) || empty) return Step::Stop;
      path_.push_back(Kind::Plist);
      return Step::Next;
    }
    if (name == "/plist") {
      if (!hasContent_ || path_.empty() || path_.back() != Kind::Plist) return Step::Stop;
      path_.pop_back();
      return Step::Next;
    }
    if (!name.empty() && name[0] == '/') return close(name.substr(1));
    hasContent_ = true;
    bool dictionary = name == "dict";
    bool container = dictionary || name == "array";
    if (!container) {
      if (!isTextElement(name)) return Step::Stop;
      size_t length = 0;
      if (!empty && !skipText(name, length)) return Step::Stop;
      bool inDictionary = !parents_.empty() && parents_.back().dictionary;
      if (name == "key" && !keyRead_ && inDictionary) {
        if (++values_ > kMaxPropertyListValues) return Step::OverLimit;
        keyRead_ = true;
        keyLength_ = length;
        return Step::Next;
      }
    }
    if (++values_ > kMaxPropertyListValues) return Step::OverLimit;
    bool root = !rootBuilt_;
    rootBuilt_ = true;
    if (!root) {
      if (parents_.empty()) return Step::Stop;
      Container& parent = parents_.back();
      if (parent.dictionary) {
        if (!keyRead_) return Step::Stop;
        keyComparisons_ += parent.entries;
        keyBytesCompared_ += parent.entries * (keyLength_ + 1);
        ++parent.entries;
        if (keyComparisons_ > kMaxPropertyListKeyComparisons ||
            keyBytesCompared_ > kMaxPropertyListKeyBytesCompared) {
          return Step::OverLimit;
        }
      }
    }
    keyRead_ = false;
    if (!container) return root ? Step::Stop : Step::Next;
    if (parents_.size() == kMaxPropertyListDepth) return Step::OverLimit;
    if (root || !empty) parents_.push_back(Container{dictionary});
    if (!empty) path_.push_back(dictionary ? Kind::Dict : Kind::Array);
    return Step::Next;
  }

  Step close(std::string_view name) {
    keyRead_ = false;
    Kind kind = name == "dict" ? Kind::Dict : Kind::Array;
    if (name != "dict" && name != "array") return Step::Stop;
    if (path_.empty() || path_.back() != kind) return Step::Stop;
    path_.pop_back();
    parents_.pop_back();
    return parents_.empty() ? Step::Stop : Step::Next;
  }

  std::string_view xml_;
  size_t at_ = 0;
  std::vector<Kind> path_;          // open plist, dict and array tags
  std::vector<Container> parents_;  // the containers that new values go into
  bool rootBuilt_ = false;
  bool hasContent_ = false;
  bool keyRead_ = false;  // a key waits for its value
  size_t keyLength_ = 0;
  size_t values_ = 0;
  size_t keyComparisons_ = 0;
  size_t keyBytesCompared_ = 0;
};

}  // namespace

bool xmlPropertyListWithinLimits(std::string_view xml) {
  if (entityMoves(xml) > kMaxPropertyListEntityMoves) return false;
  return XmlReading(xml).withinLimits();
}

}  // namespace foundation_detail
