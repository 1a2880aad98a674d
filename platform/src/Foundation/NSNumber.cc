#include "Foundation/NSNumber.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "ValueConversions.h"

Class NSNumber::objcClass() {
  static Class cls = objc_registerClass("NSNumber", NSObject::objcClass(), [](Class c) {
    objc_exposeMethod<&NSNumber::intValue>(c, "intValue");
    objc_exposeMethod<&NSNumber::boolValue>(c, "boolValue");
    objc_exposeMethod<&NSNumber::floatValue>(c, "floatValue");
  });
  return cls;
}

Ref<NSNumber> NSNumber::numberWithBool(BOOL value) {
  auto number = alloc_init<NSNumber>();
  number->type_ = Kind::Boolean;
  number->integer_ = value ? 1 : 0;
  return number;
}

Ref<NSNumber> NSNumber::numberWithLongLong(long long value) {
  auto number = alloc_init<NSNumber>();
  number->type_ = Kind::Integer;
  number->integer_ = value;
  return number;
}

Ref<NSNumber> NSNumber::numberWithDouble(double value) {
  auto number = alloc_init<NSNumber>();
  number->type_ = Kind::Real;
  number->real_ = value;
  return number;
}

int NSNumber::intValue() const {
  if (type_ == Kind::Real) return foundation_detail::intValueOfReal(real_);
  return foundation_detail::intValueOfInteger(integer_);
}

BOOL NSNumber::boolValue() const {
  if (type_ == Kind::Real) return foundation_detail::boolValueOfReal(real_);
  return foundation_detail::boolValueOfInteger(integer_);
}

long long NSNumber::longLongValue() const {
  if (type_ != Kind::Real) return integer_;
  using Limits = std::numeric_limits<long long>;
  if (std::isnan(real_)) return 0;
  // 2^63 is exactly representable; anything at or beyond it saturates.
  if (real_ >= 9223372036854775808.0) return Limits::max();
  if (real_ <= static_cast<double>(Limits::min())) return Limits::min();
  return static_cast<long long>(real_);
}

double NSNumber::doubleValue() const {
  return type_ == Kind::Real ? real_ : static_cast<double>(integer_);
}

std::string NSNumber::description() const {
  if (type_ != Kind::Real) return std::to_string(integer_);
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", real_);
  return text;
}

float NSNumber::floatValue() const {
  if (type_ == Kind::Real) return foundation_detail::floatValueOfReal(real_);
  return static_cast<float>(integer_);
}
