#include "TestSupport.h"

#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UIScreen.h"
#include "substrate.h"

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

}  // namespace testsupport
