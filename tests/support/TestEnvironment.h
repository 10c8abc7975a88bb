#pragma once
// Defaults every test executable runs with when started on its own (not only
// through ctest): no display server, no sound card, no browser sandbox.
// Values already set by the caller win.

#include <cstdlib>

namespace lumora::test {

inline void SetTestEnvironmentDefaults() {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
}

}  // namespace lumora::test
