#include <gtest/gtest.h>

#include <limits>

#include "MediaPlayer/MPVolumeView.h"
#include "UIKit/UIScreen.h"
#include "UIKit/UISlider.h"

TEST(Screen, OneMainScreenWhoseBrightnessStaysWithinRange) {
  const auto& screen = UIScreen::mainScreen();
  EXPECT_EQ(screen, UIScreen::mainScreen());
  EXPECT_EQ(screen->bounds(), CGRectMake(0, 0, 375, 667));
  screen->setBounds_(CGRectMake(0, 0, 414, 896));
  EXPECT_EQ(screen->bounds().size.width, 414);
  screen->setBounds_(CGRectMake(0, 0, 375, 667));

  screen->setBrightness(0.25);
  EXPECT_EQ(screen->brightness(), 0.25);
  screen->setBrightness(-0.01);
  EXPECT_EQ(screen->brightness(), 0.0);
  screen->setBrightness(1.5);
  EXPECT_EQ(screen->brightness(), 1.0);
  screen->setBrightness(std::numeric_limits<double>::quiet_NaN());
  EXPECT_EQ(screen->brightness(), 1.0);  // kept
  objc_msgSend(id(screen), selector<"setBrightness:">(), 0.5);
  EXPECT_EQ(objc_msgSend<double>(screen, selector<"brightness">()), 0.5);
}

TEST(Slider, KeepsItsValueWithinItsRange) {
  auto slider = alloc_init<UISlider>();
  EXPECT_EQ(slider->value(), 0.0f);
  EXPECT_EQ(slider->minimumValue(), 0.0f);
  EXPECT_EQ(slider->maximumValue(), 1.0f);
  slider->setValue(0.52f);
  EXPECT_EQ(slider->value(), 0.52f);
  slider->setValue(-0.01f);
  EXPECT_EQ(slider->value(), 0.0f);
  slider->setValue(1.01f);
  EXPECT_EQ(slider->value(), 1.0f);
  slider->setValue(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(slider->value(), 1.0f);
  slider->setMaximumValue(0.5f);
  EXPECT_EQ(slider->value(), 0.5f);
  slider->setMinimumValue(2.0f);
  EXPECT_EQ(slider->maximumValue(), 2.0f);
  EXPECT_EQ(slider->value(), 2.0f);
  EXPECT_TRUE(slider->isKindOfClass(UIControl::objcClass()));
}

TEST(VolumeView, EveryVolumeViewsSliderIsTheOneSystemVolume) {
  auto first = alloc_init<MPVolumeView>();
  auto second = alloc_init<MPVolumeView>();
  ASSERT_EQ(first->subviews().size(), 2u);
  EXPECT_FALSE(first->subviews()[0]->isKindOfClass(UISlider::objcClass()));
  auto slider = objc_cast<UISlider>(first->subviews()[1]);
  ASSERT_TRUE(slider);
  EXPECT_STREQ(class_getName(object_getClass(slider)), "MPVolumeSlider");
  auto other = objc_cast<UISlider>(second->subviews()[1]);
  ASSERT_TRUE(other);

  MPVolumeSetSystemVolume_(0.5f);
  EXPECT_EQ(slider->value(), 0.5f);
  objc_msgSend(id(slider), selector<"setValue:">(), 0.52f);
  EXPECT_EQ(MPVolumeSystemVolume_(), 0.52f);
  EXPECT_EQ(other->value(), 0.52f);
  other->setValue(-0.01f);
  EXPECT_EQ(slider->value(), 0.0f);
  MPVolumeSetSystemVolume_(7.0f);
  EXPECT_EQ(MPVolumeSystemVolume_(), 1.0f);
  MPVolumeSetSystemVolume_(std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(MPVolumeSystemVolume_(), 1.0f);
  MPVolumeSetSystemVolume_(0.5f);
}
