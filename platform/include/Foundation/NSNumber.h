// Numbers as property lists hold them: a boolean, a signed 64-bit integer or a double. Each
// answers `intValue` ("i@:"), `boolValue` ("B@:") and `floatValue` ("f@:") through the runtime with
// Foundation's conversions.
#pragma once

#include <cstdint>
#include <string>

#include "objc/NSObject.h"

class NSNumber : public NSObject {
 public:
  enum class Kind { Boolean, Integer, Real };

  static Class objcClass();
  static Ref<NSNumber> numberWithBool(BOOL value);
  static Ref<NSNumber> numberWithLongLong(long long value);
  static Ref<NSNumber> numberWithDouble(double value);

  int intValue() const;
  BOOL boolValue() const;
  float floatValue() const;         // the nearest float; an integer rounds too
  long long longLongValue() const;  // a real truncated toward zero, saturating
  double doubleValue() const;
  Kind kind_() const { return type_; }

  std::string description() const override;

 private:
  Kind type_ = Kind::Integer;
  int64_t integer_ = 0;  // Boolean (0 or 1) and Integer
  double real_ = 0;      // Real
};
