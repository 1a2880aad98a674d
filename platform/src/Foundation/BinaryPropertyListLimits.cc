#include "PropertyListLimits.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace foundation_detail {

namespace {

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

// The bytes libplist copies out of a string or data object each time it is referenced; past any
// bound for a length field out of bounds, which libplist refuses too.
uint64_t copiedBytes(const BinaryList& list, uint64_t offset) {
  unsigned type = list.bytes[offset] >> 4;
  if (type != 0x4 && type != 0x5 && type != 0x6) return 0;
  auto contents = objectContents(list, offset);
  if (!contents || contents->count > list.offsetTable) return UINT64_MAX;
  return type == 0x6 ? 2 * contents->count : contents->count;
}

}  // namespace

bool binaryPropertyListWithinLimits(std::string_view data) {
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
  size_t depthSum = 0;
  uint64_t copied = 0;
  ZeroUnits zeroUnits(data);
  auto enter = [&](uint64_t index, bool key) {
    if (++values > kMaxPropertyListValues) return false;
    depthSum += path.size();
    if (depthSum > kMaxPropertyListDepthSum) return false;
    auto offset = list.objectOffset(index);
    if (!offset) return false;
    if (key && !keyIsReadable(list, *offset, zeroUnits)) return false;
    uint64_t bytesOfObject = copiedBytes(list, *offset);
    if (bytesOfObject > kMaxPropertyListCopiedBytes - copied) return false;
    copied += bytesOfObject;
    auto references = containerReferences(list, *offset);
    if (!references) return false;
    if (*references) {
      if (path.size() == kMaxPropertyListDepth) return false;
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
