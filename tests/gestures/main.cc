// The host app starts and the library loads into it before any test runs, as on the device; then
// the recorders of TestSupport.h are hooked in, passing each argument on.
#include <gtest/gtest.h>

#include "MediaPlayer/MPVolumeView.h"
#include "TestSupport.h"
#include "UIKit/UIScreen.h"
#include "host/Host.h"
#include "setup/Initializer.h"
#include "substrate.h"

namespace {

TypedIMP<void, float> savedSetValue;
TypedIMP<void, double> savedSetBrightness;

void recordSetValue(const id& self, SEL cmd, float value) {
  testsupport::volumeValuesSet.push_back(value);
  savedSetValue(self, cmd, value);
}

void recordSetBrightness(const id& self, SEL cmd, double brightness) {
  testsupport::brightnessValuesSet.push_back(brightness);
  savedSetBrightness(self, cmd, brightness);
}

}  // namespace

int main(int argc, char** argv) {
  host::registerHostClasses();
  glidepad::initialize();
  testsupport::volumeValuesSet.reserve(4096);
  testsupport::brightnessValuesSet.reserve(4096);
  MSHookMessageEx(MPVolumeSlider::objcClass(), selector<"setValue:">(), &recordSetValue,
                  &savedSetValue);
  MSHookMessageEx(UIScreen::objcClass(), selector<"setBrightness:">(), &recordSetBrightness,
                  &savedSetBrightness);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
