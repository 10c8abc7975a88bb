// Test entry of every test executable (with LUMORA_TEST_QT: one QApplication);
// without display server, sound card or browser sandbox unless the caller set them.
#include <gtest/gtest.h>

#include <cstdlib>
#ifdef LUMORA_TEST_QT
#include <QApplication>
#endif

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
#ifdef LUMORA_TEST_QT
  QApplication app(argc, argv);
#endif
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
