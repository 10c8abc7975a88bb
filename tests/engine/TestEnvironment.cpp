// The engine tests run with the dummy SDL sound driver unless told otherwise,
// also when started outside CTest.
#include <cstdlib>

namespace {
const bool kDummySoundDriver = [] {
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  return true;
}();
}  // namespace
