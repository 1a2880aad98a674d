// The host app starts and the library loads into it before any test runs, as on the device.
#include <gtest/gtest.h>

#include "UIKit/UIScreen.h"
#include "host/Host.h"
#include "setup/Initializer.h"

int main(int argc, char** argv) {
  UIScreen::mainScreen()->setBounds_(CGRectMake(0, 0, 375, 667));
  host::registerHostClasses();
  glidepad::initialize();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
