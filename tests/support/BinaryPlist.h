// Binary property lists made byte by byte, with 4-byte offsets and references, for probing the
// loader's bounds with shapes no writer would make.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace support {

inline std::string bigEndian(uint64_t value, unsigned size) {
  std::string out(size, '\0');
  for (unsigned i = 0; i < size; ++i) out[size - 1 - i] = static_cast<char>(value >> (8 * i));
  return out;
}

class BinaryList {
 public:
  // Adds an object's bytes; answers its index.
  uint64_t add(std::string_view object) {
    offsets_.push_back(body_.size());
    body_ += object;
    return offsets_.size() - 1;
  }
  // A marker with its count: in the low half, or as an integer after it.
  static std::string counted(char marker, size_t count) {
    if (count < 15) return std::string(1, static_cast<char>(marker | count));
    return std::string(1, static_cast<char>(marker | 0x0F)) + "\x12" + bigEndian(count, 4);
  }
  static std::string arrayOf(const std::vector<uint64_t>& references) {
    return withReferences(counted('\xA0', references.size()), references);
  }
  // `references`: the keys, then the values.
  static std::string dictionaryOf(const std::vector<uint64_t>& references) {
    return withReferences(counted('\xD0', references.size() / 2), references);
  }
  std::string finish(uint64_t top) const {
    std::string out = body_;
    uint64_t table = out.size();
    for (uint64_t offset : offsets_) out += bigEndian(offset, 4);
    out += std::string(6, '\0') + '\x04' + '\x04';
    out += bigEndian(offsets_.size(), 8) + bigEndian(top, 8) + bigEndian(table, 8);
    return out;
  }

 private:
  static std::string withReferences(std::string object, const std::vector<uint64_t>& references) {
    for (uint64_t reference : references) object += bigEndian(reference, 4);
    return object;
  }

  std::string body_ = "bplist00";
  std::vector<uint64_t> offsets_;
};

}  // namespace support
