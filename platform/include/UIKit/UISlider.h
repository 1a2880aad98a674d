// A slider: a control holding a value within a range.
#pragma once

#include "UIKit/UIControl.h"

class UISlider : public UIControl {
 public:
  static Class objcClass();

  // The setter keeps the value within [minimumValue, maximumValue], as UISlider does; a NaN
  // names no position at all, so the slider keeps the value it has.
  virtual float value() const { return value_; }
  virtual void setValue(float value);

  float minimumValue() const { return minimumValue_; }
  float maximumValue() const { return maximumValue_; }
  // A new limit moves the other one and the value along when they fall outside it.
  void setMinimumValue(float minimum);
  void setMaximumValue(float maximum);

 protected:
  float clampedToRange(float value) const;

 private:
  float value_ = 0;
  float minimumValue_ = 0;
  float maximumValue_ = 1;
};
