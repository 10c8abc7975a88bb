#pragma once
// Writes 8-bit RGB pictures as PNG files with text chunks (tEXt, Latin-1
// keyword and text), compressed with zlib. No window system needed: the
// viewer and lumora-cli write their snapshots through it.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace lumora {

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3 bytes, R G B, top row first
};

class PngWriter {
 public:
  using TextChunks = std::vector<std::pair<std::string, std::string>>;

  // The whole PNG file in memory; empty when the picture is empty.
  static std::vector<std::uint8_t> Encode(const RgbPicture& picture, const TextChunks& texts);
};

}  // namespace lumora
