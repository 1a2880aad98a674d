#include <gtest/gtest.h>

#include "MediaPlayer/MPVolumeView.h"
#include "TestSupport.h"
#include "gestures/VolumeStepper.h"

namespace {

// Each test starts with no volume view made yet, as at the first step of the process.
class VolumeStepper : public ::testing::Test {
 protected:
  void SetUp() override {
    support::runMainQueue();
    glidepad::volumeView = nullptr;
    glidepad::volumeSlider = nullptr;
    MPVolumeSetSystemVolume_(0.5f);
    testsupport::volumeValuesSet().clear();
  }
  void TearDown() override { support::runMainQueue(); }
};

}  // namespace

TEST_F(VolumeStepper, MakesTheViewAndFindsItsSliderOnce) {
  glidepad::changeVolumeUp(true);
  auto view = glidepad::volumeView;
  auto slider = glidepad::volumeSlider;
  ASSERT_TRUE(view);
  ASSERT_TRUE(slider);
  EXPECT_EQ(view->superview(), nullptr);  // never placed anywhere
  EXPECT_EQ(slider->superview(), view);
  EXPECT_NE(view->subviews().front(), slider);

  // Once found, the slider is kept: taken out of its view it still steps the volume.
  slider->removeFromSuperview();
  glidepad::changeVolumeUp(true);
  EXPECT_EQ(glidepad::volumeView, view);
  EXPECT_EQ(glidepad::volumeSlider, slider);
  support::runMainQueue();
  EXPECT_EQ(MPVolumeSystemVolume_(), static_cast<float>(static_cast<double>(0.52f) + 0.02));
}

TEST_F(VolumeStepper, AppliesEachStepTenMillisecondsLaterToTheValueThen) {
  glidepad::changeVolumeUp(true);
  support::runMainQueue(10 * NSEC_PER_MSEC - 1);
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.5f);
  support::runMainQueue(1);
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.52f);
  EXPECT_EQ(MPVolumeSystemVolume_(), static_cast<float>(0.5 + 0.02));
  glidepad::changeVolumeUp(false);
  MPVolumeSetSystemVolume_(0.5f);  // changed elsewhere before the step runs
  support::runMainQueue();
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.48f);
  // Summed in double precision: from 0.03f a float sum would land one float lower.
  MPVolumeSetSystemVolume_(0.03f);
  glidepad::changeVolumeUp(true);
  support::runMainQueue();
  EXPECT_EQ(MPVolumeSystemVolume_(), static_cast<float>(static_cast<double>(0.03f) + 0.02));
  MPVolumeSetSystemVolume_(0.48f);

  // Three quick calls: three steps, each on the value the one before left.
  for (int i = 0; i < 3; ++i) {
    glidepad::changeVolumeUp(false);
    support::runMainQueue(2 * NSEC_PER_MSEC);
  }
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.48f);
  support::runMainQueue(10 * NSEC_PER_MSEC);
  float expected = 0.48f;
  for (int i = 0; i < 3; ++i) expected = static_cast<float>(static_cast<double>(expected) - 0.02);
  EXPECT_EQ(MPVolumeSystemVolume_(), expected);

  // The step takes the slider held when it runs, and passes what it computes, unbounded.
  glidepad::changeVolumeUp(false);
  auto standIn = alloc_init<UISlider>();
  standIn->setValue(0.25f);
  glidepad::volumeSlider = standIn;
  support::runMainQueue();
  EXPECT_EQ(standIn->value(), static_cast<float>(static_cast<double>(0.25f) - 0.02));
  EXPECT_EQ(MPVolumeSystemVolume_(), expected);
  glidepad::volumeSlider = nullptr;
  glidepad::changeVolumeUp(false);
  MPVolumeSetSystemVolume_(0.01f);
  testsupport::volumeValuesSet().clear();
  support::runMainQueue();
  ASSERT_EQ(testsupport::volumeValuesSet().size(), 1u);
  EXPECT_EQ(testsupport::volumeValuesSet()[0],
            static_cast<float>(static_cast<double>(0.01f) - 0.02));
  EXPECT_LT(testsupport::volumeValuesSet()[0], 0.0f);
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.0f);  // the slider's own range
}

TEST_F(VolumeStepper, AViewWithoutASliderStepsNothingAndIsSearchedAgain) {
  auto bare = alloc_init<MPVolumeView>();
  Ref<UIView> slider;
  for (const auto& subview : bare->subviews()) {
    if (subview->isKindOfClass(UISlider::objcClass())) slider = subview;
  }
  ASSERT_TRUE(slider);
  slider->removeFromSuperview();
  glidepad::volumeView = bare;

  glidepad::changeVolumeUp(true);
  glidepad::changeVolumeUp(true);
  EXPECT_EQ(glidepad::volumeSlider, nullptr);
  support::runMainQueue();
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.5f);
  EXPECT_TRUE(testsupport::volumeValuesSet().empty());

  // A view, then slider A, then slider B: A is found, and kept when B comes first later.
  auto second = alloc_init<UISlider>();
  bare->addSubview(slider);
  bare->addSubview(second);
  glidepad::changeVolumeUp(true);
  EXPECT_EQ(glidepad::volumeSlider, slider);
  EXPECT_EQ(glidepad::volumeView, bare);
  slider->removeFromSuperview();
  bare->addSubview(slider);
  glidepad::changeVolumeUp(true);
  EXPECT_EQ(glidepad::volumeSlider, slider);
  support::runMainQueue();
  EXPECT_EQ(MPVolumeSystemVolume_(), static_cast<float>(static_cast<double>(0.52f) + 0.02));
  EXPECT_EQ(second->value(), 0.0f);
}
