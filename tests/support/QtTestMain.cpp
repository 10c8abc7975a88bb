// Test entry for executables that use Qt widgets: one QApplication for the run.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/TestEnvironment.h"

int main(int argc, char** argv) {
  lumora::test::SetTestEnvironmentDefaults();
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
