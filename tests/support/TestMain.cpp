// Test entry for executables without Qt widgets.
#include <gtest/gtest.h>

#include "tests/support/TestEnvironment.h"

int main(int argc, char** argv) {
  lumora::test::SetTestEnvironmentDefaults();
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
