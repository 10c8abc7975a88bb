#pragma once
// The card the tests generate with lumora-mkcard's library: small pictures
// and short recordings, so that a test program makes it in a second or two.
// Callers change the few options their behaviour needs.

#include "tools/mkcard/SampleCard.h"

namespace lumora::test {

inline CardOptions SmallCard(int recordings = 2, int seconds = 2) {
  CardOptions options;
  options.seconds = seconds;
  options.recordings = recordings;
  options.fps = 10;
  options.front_width = 160;
  options.front_height = 96;
  options.rear_width = 160;
  options.rear_height = 96;
  options.with_mp4 = false;
  return options;
}

}  // namespace lumora::test
