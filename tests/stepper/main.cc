// The host app's classes exist before the library's entry runs, as in the host process.
#include <gtest/gtest.h>

#include "host/Host.h"
#include "setup/Initializer.h"

int main(int argc, char** argv) {
  host::registerHostClasses();
  glidepad::initialize();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
