#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mkcard/TestPicture.h"

namespace lumora {

// Baseline JPEG stills through libavcodec's mjpeg encoder: Huffman coded, no
// restart markers; 4:2:0 (component 0 sampled 2x2), or with full_chroma all
// components sampled 1x2 (the encoder's 4:4:4 layout).
class StillEncoder {
 public:
  // Draws `scene` as the front (or rear) view and encodes it.
  static bool Encode(int width, int height, bool full_chroma, bool rear, const SceneState& scene,
                     std::vector<uint8_t>* jpeg, std::string* error);
};

}  // namespace lumora
