// The device's screen: its size in points and its backlight brightness.
#pragma once

#include "CoreGraphics/CGGeometry.h"
#include "objc/NSObject.h"

class UIScreen : public NSObject {
 public:
  static Class objcClass();

  // The one screen of the process.
  static const Ref<UIScreen>& mainScreen();

  CGRect bounds() const { return bounds_; }

  // A fraction from 0 to 1. The setter keeps the value within that range, as the device does; a
  // NaN names no brightness at all, so the screen keeps the one it has.
  double brightness() const { return brightness_; }
  virtual void setBrightness(double brightness);

  // For the host process, which decides the size of the screen it stands in for.
  void setBounds_(CGRect bounds) { bounds_ = bounds; }

 private:
  CGRect bounds_ = CGRectMake(0, 0, 375, 667);
  double brightness_ = 0.5;
};
