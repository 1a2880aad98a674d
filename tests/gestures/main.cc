// The host app starts and the library loads into it before any test runs, as on the device.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "host/Host.h"
#include "setup/Initializer.h"

int main(int argc, char** argv) {
  host::registerHostClasses();
  glidepad::initialize();
  testsupport::installRecorders();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
