#include "MediaPlayer/MPVolumeView.h"

#include <algorithm>
#include <cmath>

namespace {

float systemVolume = 0.5f;

}  // namespace

float MPVolumeSystemVolume_() { return systemVolume; }

void MPVolumeSetSystemVolume_(float volume) {
  if (std::isnan(volume)) return;
  systemVolume = std::clamp(volume, 0.0f, 1.0f);
}

Class MPVolumeView::objcClass() {
  static Class cls = objc_registerClass("MPVolumeView", UIView::objcClass(), [](Class) {});
  return cls;
}

id MPVolumeView::initWithFrame(CGRect frame) {
  UIView::initWithFrame(frame);
  // The route button comes first, as on the device: the slider is not the first subview.
  addSubview(alloc_init<UIView>());
  addSubview(alloc_init<MPVolumeSlider>());
  return self();
}

Class MPVolumeSlider::objcClass() {
  static Class cls = objc_registerClass("MPVolumeSlider", UISlider::objcClass(), [](Class) {});
  return cls;
}

float MPVolumeSlider::value() const { return MPVolumeSystemVolume_(); }

void MPVolumeSlider::setValue(float value) {
  if (std::isnan(value)) return;
  MPVolumeSetSystemVolume_(clampedToRange(value));
}
