// The system volume control. Among its subviews, not first, is the volume slider, whose value is
// the process-wide system output volume: every volume view's slider reads and sets that one
// volume.
#pragma once

#include "UIKit/UISlider.h"
#include "UIKit/UIView.h"

class MPVolumeView : public UIView {
 public:
  static Class objcClass();

  id initWithFrame(CGRect frame) override;  // places the route button and the volume slider
};

// The slider inside a volume view (a private class on the device).
class MPVolumeSlider : public UISlider {
 public:
  static Class objcClass();

  float value() const override;
  void setValue(float value) override;  // within the slider's range, as any slider
};

// For the host process only: the system output volume, a fraction from 0 to 1, as the hardware
// buttons or another app would set it; the setter keeps it within that range and ignores a NaN.
float MPVolumeSystemVolume_();
void MPVolumeSetSystemVolume_(float volume);
