#include <gtest/gtest.h>

#include <limits>
#include <utility>

#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UISlider.h"

// Brightness, a slider's value and the system volume each stay within their range; NaN is
// ignored. Rows: the value set, the value read back after it.
TEST(ScreenAndVolume, ValuesStayWithinTheirRange) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::pair<double, double> rows[] = {
      {0.25, 0.25}, {-0.01, 0.0}, {1.5, 1.0}, {nan, 1.0}, {0.52, 0.52}};
  const auto& screen = UIScreen::mainScreen();
  EXPECT_EQ(screen, UIScreen::mainScreen());
  auto slider = alloc_init<UISlider>();
  auto first = alloc_init<MPVolumeView>();
  auto second = alloc_init<MPVolumeView>();
  ASSERT_EQ(first->subviews().size(), 2u);
  auto volume = objc_cast<UISlider>(first->subviews()[1]);
  auto other = objc_cast<UISlider>(second->subviews()[1]);
  ASSERT_TRUE(volume && other);
  EXPECT_STREQ(class_getName(object_getClass(volume)), "MPVolumeSlider");
  for (const auto& [set, read] : rows) {
    SCOPED_TRACE(set);
    objc_msgSend(id(screen), selector<"setBrightness:">(), set);
    EXPECT_EQ(screen->brightness(), read);
    slider->setValue(static_cast<float>(set));
    EXPECT_EQ(slider->value(), static_cast<float>(read));
    // Every volume view's slider is the one system volume.
    objc_msgSend(id(volume), selector<"setValue:">(), static_cast<float>(set));
    EXPECT_EQ(MPVolumeSystemVolume_(), static_cast<float>(read));
    EXPECT_EQ(other->value(), static_cast<float>(read));
  }
  // A new range pulls the value into it.
  slider->setMaximumValue(0.5f);
  EXPECT_EQ(slider->value(), 0.5f);
  slider->setMinimumValue(2.0f);
  EXPECT_EQ(slider->maximumValue(), 2.0f);
  EXPECT_EQ(slider->value(), 2.0f);
  MPVolumeSetSystemVolume_(7.0f);
  EXPECT_EQ(volume->value(), 1.0f);
  MPVolumeSetSystemVolume_(0.5f);
}
