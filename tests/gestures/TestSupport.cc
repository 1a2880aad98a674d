#include "TestSupport.h"

#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UIScreen.h"
#include "substrate.h"

#include "host/YTMainAppVideoPlayerOverlayViewController.h"
#include "host/YTPlayerView.h"
using host::YTMainAppVideoPlayerOverlayViewController;
using host::YTPlayerView;

namespace testsupport {

namespace {

TypedIMP<void, float> savedSetValue;
TypedIMP<void, double> savedSetBrightness;

void recordSetValue(const id& self, SEL cmd, float value) {
  volumeValuesSet().push_back(value);
  savedSetValue(self, cmd, value);
}

void recordSetBrightness(const id& self, SEL cmd, double brightness) {
  brightnessValuesSet().push_back(brightness);
  savedSetBrightness(self, cmd, brightness);
}

}  // namespace

std::vector<float>& volumeValuesSet() {
  static std::vector<float> values;
  return values;
}

std::vector<double>& brightnessValuesSet() {
  static std::vector<double> values;
  return values;
}

void installRecorders() {
  volumeValuesSet().reserve(4096);
  brightnessValuesSet().reserve(4096);
  MSHookMessageEx(MPVolumeSlider::objcClass(), selector<"setValue:">(), &recordSetValue,
                  &savedSetValue);
  MSHookMessageEx(UIScreen::objcClass(), selector<"setBrightness:">(), &recordSetBrightness,
                  &savedSetBrightness);
}

Class TestControlsOverlay::objcClass() {
  static Class cls = objc_registerClass("TestControlsOverlay", UIView::objcClass(), [](Class c) {
    objc_exposeMethod<&TestControlsOverlay::playPauseButton>(c, "playPauseButton");
  });
  return cls;
}

id TestControlsOverlay::init() {
  UIView::init();
  button_ = alloc_init<UIView>();
  addSubview(button_);
  return self();
}

void TestControlsOverlay::layoutSubviews() {
  UIView::layoutSubviews();
  ++layoutPasses;
}

}  // namespace testsupport
