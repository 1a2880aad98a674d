#include <gtest/gtest.h>

#include "MediaPlayer/MPVolumeView.h"
#include "TestSupport.h"
#include "gestures/VolumeStepper.h"

namespace {

float plus(float value, double step) {
  return static_cast<float>(static_cast<double>(value) + step);
}

// Each test starts with no volume view made yet, as at the first step of the process.
class VolumeStepper : public ::testing::Test {
 protected:
  void SetUp() override {
    support::runMainQueue();
    glidepad::volumeView = nullptr;
    glidepad::volumeSlider = nullptr;
    MPVolumeSetSystemVolume_(0.5f);
    testsupport::volumeValuesSet.clear();
  }
  void TearDown() override { support::runMainQueue(); }
};

}  // namespace

TEST_F(VolumeStepper, AppliesEachStepLaterToTheValueThenSummedInDouble) {
  // The 10 ms the step waits is seen end to end in tests/scenarios/volume.session.
  glidepad::changeVolumeUp(false);
  ASSERT_TRUE(glidepad::volumeSlider);
  EXPECT_EQ(glidepad::volumeView->superview(), nullptr);  // never placed anywhere
  MPVolumeSetSystemVolume_(0.5f);                         // changed elsewhere before the step runs
  support::runMainQueue();
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.48f);
  // Summed in double precision: from 0.03f a float sum would land one float lower.
  MPVolumeSetSystemVolume_(0.03f);
  glidepad::changeVolumeUp(true);
  support::runMainQueue();
  EXPECT_EQ(MPVolumeSystemVolume_(), plus(0.03f, 0.02));

  // Passed on unbounded; the slider keeps its own range.
  MPVolumeSetSystemVolume_(0.01f);
  testsupport::volumeValuesSet.clear();
  glidepad::changeVolumeUp(false);
  support::runMainQueue();
  ASSERT_EQ(testsupport::volumeValuesSet.size(), 1u);
  EXPECT_EQ(testsupport::volumeValuesSet[0], plus(0.01f, -0.02));
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.0f);
}

TEST_F(VolumeStepper, FindsTheFirstSliderOnceAndSearchesAViewWithoutOneAgain) {
  auto bare = alloc_init<MPVolumeView>();
  Ref<UIView> slider;
  for (const auto& subview : bare->subviews()) {
    if (subview->isKindOfClass(UISlider::objcClass())) slider = subview;
  }
  ASSERT_TRUE(slider);
  slider->removeFromSuperview();
  glidepad::volumeView = bare;
  glidepad::changeVolumeUp(true);
  EXPECT_EQ(glidepad::volumeSlider, nullptr);
  support::runMainQueue();
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.5f);

  // Slider A, then slider B: A is found, and kept when taken out and put back after B.
  auto second = alloc_init<UISlider>();
  bare->addSubview(slider);
  bare->addSubview(second);
  glidepad::changeVolumeUp(true);
  EXPECT_EQ(glidepad::volumeSlider, slider);
  slider->removeFromSuperview();
  bare->addSubview(slider);
  glidepad::changeVolumeUp(true);
  EXPECT_EQ(glidepad::volumeSlider, slider);
  support::runMainQueue();
  EXPECT_EQ(MPVolumeSystemVolume_(), plus(plus(0.5f, 0.02), 0.02));
  EXPECT_EQ(second->value(), 0.0f);
}
