#include "PropertyListLimits.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

namespace foundation_detail {

namespace {

// XML.
//
// The exact reading below counts container tags as a parser meets them, but parsers differ on
// the corners of markup: quotes inside tags, a "]" or ">" inside a comment or declaration, markup
// inside a string. Wherever such a difference could move a closing tag in or out of a comment,
// the exact reading gives up and the bound is the count of every "array" and "dict" in the file,
// as if none were ever closed.

bool equalsIgnoringCase(std::string_view text, std::string_view lowerWord) {
  if (text.size() != lowerWord.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowerWord[i]) return false;
  }
  return true;
}

bool isContainerName(std::string_view name) {
  return equalsIgnoringCase(name, "array") || equalsIgnoringCase(name, "dict");
}

size_t countContainerWords(std::string_view xml) {
  size_t count = 0;
  for (size_t i = 0; i < xml.size(); ++i) {
    bool array = equalsIgnoringCase(xml.substr(i, 5), "array");
    bool dict = equalsIgnoringCase(xml.substr(i, 4), "dict");
    if (!array && !dict) continue;
    size_t length = array ? 5 : 4;
    // An empty element closes itself; it adds nothing.
    bool empty = i > 0 && xml[i - 1] == '<' && xml.substr(i + length, 2) == "/>";
    if (!empty) ++count;
    i += length - 1;
  }
  return count;
}

// A construct reads the same with and without quote handling when it uses at most one kind of
// quote, and that one an even number of times.
bool quotesAreUnambiguous(std::string_view construct) {
  auto doubles = std::count(construct.begin(), construct.end(), '"');
  auto singles = std::count(construct.begin(), construct.end(), '\'');
  if (doubles > 0 && singles > 0) return false;
  return doubles % 2 == 0 && singles % 2 == 0;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

bool isNameEnd(char c) { return c == '/' || c == '>' || static_cast<unsigned char>(c) <= ' '; }

std::optional<size_t> exactXmlNesting(std::string_view xml) {
  size_t depth = 0;
  size_t deepest = 0;
  std::string_view openScalar;  // the element whose text is being read, if any
  size_t at = 0;
  while (true) {
    size_t open = xml.find('<', at);
    if (open == std::string_view::npos) return deepest;
    size_t close = xml.find('>', open + 1);
    // An unterminated construct ends the document; no reading builds anything after it.
    if (close == std::string_view::npos) return deepest;
    std::string_view construct = xml.substr(open, close - open + 1);
    at = close + 1;
    if (construct.find('<', 1) != std::string_view::npos) return std::nullopt;
    if (!quotesAreUnambiguous(construct)) return std::nullopt;

    if (startsWith(construct, "<![CDATA[")) {
      if (!endsWith(construct, "]]>") || construct.size() < 12) return std::nullopt;
      continue;
    }
    // Comments, processing instructions and declarations only stand between elements.
    if (!openScalar.empty() && construct[1] == '!') return std::nullopt;
    if (!openScalar.empty() && construct[1] == '?') return std::nullopt;
    if (startsWith(construct, "<!--")) {
      if (!endsWith(construct, "-->") || construct.size() < 7) return std::nullopt;
      continue;
    }
    if (startsWith(construct, "<?")) {
      if (!endsWith(construct, "?>")) return std::nullopt;
      continue;
    }
    if (startsWith(construct, "<!")) {
      if (construct.find_first_of("[]") != std::string_view::npos) return std::nullopt;
      continue;
    }
    if (startsWith(construct, "</")) {
      // Only the bare closing tag counts; "</array >" and the like are left to the fallback.
      std::string_view name = construct.substr(2, construct.size() - 3);
      if (!openScalar.empty()) {
        if (name != openScalar) return std::nullopt;
        openScalar = {};
      } else if (isContainerName(name)) {
        if (name != "array" && name != "dict") return std::nullopt;
        if (depth == 0) return std::nullopt;
        --depth;
      }
      continue;
    }
    if (!openScalar.empty()) return std::nullopt;
    size_t nameEnd = 1;
    while (nameEnd < construct.size() && !isNameEnd(construct[nameEnd])) ++nameEnd;
    std::string_view name = construct.substr(1, nameEnd - 1);
    if (name.empty()) return std::nullopt;
    bool selfClosing = endsWith(construct, "/>");
    if (isContainerName(name)) {
      // Only the bare empty element is taken as empty; any other form counts as opened for good.
      if (construct == "<array/>" || construct == "<dict/>") continue;
      deepest = std::max(deepest, ++depth);
    } else if (!selfClosing && !equalsIgnoringCase(name, "plist")) {
      openScalar = name;
    }
  }
}

// Binary.

uint64_t readBigEndian(const uint8_t* bytes, unsigned size) {
  uint64_t value = 0;
  for (unsigned i = 0; i < size; ++i) value = (value << 8) | bytes[i];
  return value;
}

struct BinaryList {
  const uint8_t* bytes;
  uint64_t offsetTable;  // objects lie in [8, offsetTable)
  unsigned offsetSize;
  unsigned referenceSize;
  uint64_t objectCount;

  std::optional<uint64_t> objectOffset(uint64_t index) const {
    if (index >= objectCount) return std::nullopt;
    uint64_t offset = readBigEndian(bytes + offsetTable + index * offsetSize, offsetSize);
    if (offset < 8 || offset >= offsetTable) return std::nullopt;
    return offset;
  }
};

// An object's length field: the count in the marker's low half, or, when that is 0xF, in the
// integer object of 1, 2, 4 or 8 bytes that follows. Where the object's contents start and how
// many units they hold; nothing when the field is out of bounds.
struct Contents {
  uint64_t start = 0;
  uint64_t count = 0;
};

std::optional<Contents> objectContents(const BinaryList& list, uint64_t offset) {
  uint64_t count = list.bytes[offset] & 0x0F;
  uint64_t at = offset + 1;
  if (count == 0x0F) {
    if (at >= list.offsetTable) return std::nullopt;
    uint8_t countMarker = list.bytes[at];
    if ((countMarker >> 4) != 0x1 || (countMarker & 0x0F) > 3) return std::nullopt;
    unsigned size = 1u << (countMarker & 0x0F);
    if (list.offsetTable - (at + 1) < size) return std::nullopt;
    count = readBigEndian(list.bytes + at + 1, size);
    at += 1 + size;
  }
  return Contents{at, count};
}

// A container's references: where they start and how many there are (a dictionary's keys and
// values alike; the keys come first). Nothing for a scalar; an error for anything out of bounds.
struct References {
  uint64_t start = 0;
  uint64_t count = 0;
  uint64_t keys = 0;
};

std::optional<std::optional<References>> containerReferences(const BinaryList& list,
                                                             uint64_t offset) {
  unsigned type = list.bytes[offset] >> 4;
  bool array = type == 0xA || type == 0xC;  // arrays and sets
  bool dictionary = type == 0xD;
  if (!array && !dictionary) return std::optional<References>();
  auto contents = objectContents(list, offset);
  if (!contents) return std::nullopt;
  uint64_t room = (list.offsetTable - contents->start) / list.referenceSize;
  uint64_t count = contents->count;
  if (count > (dictionary ? room / 2 : room)) return std::nullopt;
  return References{contents->start, dictionary ? count * 2 : count, dictionary ? count : 0};
}

// Where the bytes hold a UTF-16 unit of 0, found in time linear in the file however many objects
// share its bytes: for each position, the first zero unit at or after it with the same alignment.
class ZeroUnits {
 public:
  explicit ZeroUnits(std::string_view bytes) : bytes_(bytes) {}
  bool anyIn(uint64_t start, uint64_t units) {
    if (next_.empty()) {
      next_.assign(bytes_.size() + 2, kNone);
      for (size_t at = bytes_.size() - 1; at-- > 0;) {
        next_[at] = bytes_[at] == 0 && bytes_[at + 1] == 0 ? at : next_[at + 2];
      }
    }
    return next_[start] - start < 2 * units;
  }

 private:
  static constexpr uint64_t kNone = UINT64_MAX;
  std::string_view bytes_;
  std::vector<uint64_t> next_;
};

// libplist 2.2.0 measures a dictionary key with strlen and asserts that this is its length, so a
// UTF-16 key holding U+0000 aborts the process when it is read. Such a key (or one out of bounds)
// makes the file unreadable instead.
bool keyIsReadable(const BinaryList& list, uint64_t offset, ZeroUnits& zeroUnits) {
  if ((list.bytes[offset] >> 4) != 0x6) return true;
  auto contents = objectContents(list, offset);
  if (!contents || contents->count > (list.offsetTable - contents->start) / 2) return false;
  return contents->count == 0 || !zeroUnits.anyIn(contents->start, contents->count);
}

}  // namespace

size_t xmlNestingBound(std::string_view xml) {
  if (auto exact = exactXmlNesting(xml)) return *exact;
  return countContainerWords(xml);
}

bool binaryPropertyListWithinLimits(std::string_view data, unsigned maxDepth, size_t maxValues) {
  constexpr size_t kHeader = 8;
  constexpr size_t kTrailer = 32;
  if (data.size() < kHeader + kTrailer || data.substr(0, kHeader) != "bplist00") return false;
  const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
  const uint8_t* trailer = bytes + data.size() - kTrailer;
  BinaryList list{bytes, readBigEndian(trailer + 24, 8), trailer[6], trailer[7],
                  readBigEndian(trailer + 8, 8)};
  uint64_t top = readBigEndian(trailer + 16, 8);
  uint64_t tableEnd = data.size() - kTrailer;
  if (list.offsetSize < 1 || list.offsetSize > 8) return false;
  if (list.referenceSize < 1 || list.referenceSize > 8) return false;
  if (list.objectCount == 0 || top >= list.objectCount) return false;
  if (list.offsetTable < kHeader || list.offsetTable > tableEnd) return false;
  if (list.objectCount > (tableEnd - list.offsetTable) / list.offsetSize) return false;

  // Depth-first over the tree the references describe, one frame per open container, so that the
  // depth is counted as in XML. A cycle repeats itself down the path until it passes the depth
  // bound, so the bound rejects cycles too.
  struct Frame {
    References references;
    uint64_t next = 0;
  };
  std::vector<Frame> path;
  size_t values = 0;
  ZeroUnits zeroUnits(data);
  auto enter = [&](uint64_t index, bool key) {
    if (++values > maxValues) return false;
    auto offset = list.objectOffset(index);
    if (!offset) return false;
    if (key && !keyIsReadable(list, *offset, zeroUnits)) return false;
    auto references = containerReferences(list, *offset);
    if (!references) return false;
    if (*references) {
      if (path.size() == maxDepth) return false;
      path.push_back(Frame{**references});
    }
    return true;
  };
  if (!enter(top, false)) return false;
  while (!path.empty()) {
    Frame& frame = path.back();
    if (frame.next == frame.references.count) {
      path.pop_back();
      continue;
    }
    uint64_t index = readBigEndian(bytes + frame.references.start + frame.next * list.referenceSize,
                                   list.referenceSize);
    bool key = frame.next < frame.references.keys;
    ++frame.next;
    if (!enter(index, key)) return false;
  }
  return true;
}

}  // namespace foundation_detail
