// Reads a fuzzer's bytes as a program's operands. Once the bytes run out every read gives 0, so
// any input is a whole program.
#pragma once

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string_view>

namespace fuzz {

class FuzzInput {
 public:
  FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool empty() const { return at_ >= size_; }

  uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

  // Up to eight bytes, big-endian.
  uint64_t bits(unsigned bytes) {
    uint64_t value = 0;
    for (unsigned i = 0; i < bytes; ++i) value = (value << 8) | byte();
    return value;
  }

  // Up to `limit` bytes of the input, as they are.
  std::string_view bytes(size_t limit) {
    size_t length = limit < size_ - at_ ? limit : size_ - at_;
    if (at_ >= size_) length = 0;
    std::string_view taken(reinterpret_cast<const char*>(data_ + at_), length);
    at_ += length;
    return taken;
  }

  // Values that break arithmetic: signed zeros, extremes, infinities, NaN, exact halves.
  double specialDouble() {
    static constexpr double kSpecials[] = {
        0.0,
        -0.0,
        1.0,
        -1.0,
        0.5,
        187.5,
        1e-310,  // subnormal
        1e9,
        -1e9,
        0x1p64,
        1e300,
        -1e300,
        DBL_MAX,
        -DBL_MAX,
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
        static_cast<double>(FLT_MAX) * 2,
    };
    return kSpecials[byte() % (sizeof kSpecials / sizeof kSpecials[0])];
  }

  // Any double: a special one or any bit pattern.
  double anyDouble() {
    if (byte() % 2 == 0) return specialDouble();
    uint64_t raw = bits(8);
    double value;
    std::memcpy(&value, &raw, sizeof value);
    return value;
  }

  float anyFloat() {
    switch (byte() % 4) {
      case 0:
        return static_cast<float>(specialDouble());
      case 1: {
        uint32_t raw = static_cast<uint32_t>(bits(4));
        float value;
        std::memcpy(&value, &raw, sizeof value);
        return value;
      }
      default:  // near the rates a player offers
        return static_cast<float>(byte()) / 64.0f;
    }
  }

  // A point coordinate: mostly on or near a phone screen, in fine steps, sometimes anything.
  double coordinate() {
    uint8_t selector = byte();
    if (selector < 224) return selector * 4.0 - 100.0 + byte() / 64.0;
    return anyDouble();
  }

  // A length: mostly a plausible size, sometimes zero, negative, huge or NaN.
  double length() {
    uint8_t selector = byte();
    if (selector < 192) return 50.0 + selector * 4.0;
    return anyDouble();
  }

  int64_t anyInteger() {
    static constexpr int64_t kSpecials[] = {0,           1,
                                            2,           3,
                                            4,           -1,
                                            -2,          10,
                                            70,          100,
                                            250,         INT_MAX,
                                            INT_MIN,     INT64_MAX,
                                            INT64_MIN,   static_cast<int64_t>(INT_MAX) + 1,
                                            UINT32_MAX,  INT_MAX / 10,
                                            INT_MIN / 10};
    uint8_t selector = byte();
    if (selector < 128) return kSpecials[selector % (sizeof kSpecials / sizeof kSpecials[0])];
    if (selector < 192) return static_cast<int8_t>(byte());
    return static_cast<int64_t>(bits(8));
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

}  // namespace fuzz
