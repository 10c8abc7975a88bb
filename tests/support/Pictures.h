#pragma once
// Test pictures made by cjpeg: a colourful PPM and its baseline JPEG.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace lumora::test {

// A binary PPM: red grows to the right, green downwards, blue in diagonal bands.
inline void WritePpm(const std::filesystem::path& p, int width, int height) {
  std::ofstream out(p, std::ios::binary);
  out << "P6\n" << width << " " << height << "\n255\n";
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const unsigned char px[3] = {static_cast<unsigned char>(x * 255 / std::max(1, width - 1)),
                                   static_cast<unsigned char>(y * 255 / std::max(1, height - 1)),
                                   static_cast<unsigned char>(((x + y) / 8) % 2 ? 200 : 40)};
      out.write(reinterpret_cast<const char*>(px), 3);
    }
  }
}

// That picture as dir/pic<W>x<H>.jpg made by cjpeg (quality 90 and
// `options`); its bytes, empty when cjpeg failed.
inline std::vector<std::uint8_t> MakeJpeg(const std::filesystem::path& dir, int width, int height,
                                          const std::string& options = "") {
  const std::string stem = "pic" + std::to_string(width) + "x" + std::to_string(height);
  const auto ppm = dir / (stem + ".ppm");
  const auto jpg = dir / (stem + ".jpg");
  WritePpm(ppm, width, height);
  const std::string command =
      "cjpeg -quality 90 " + options + " -outfile '" + jpg.string() + "' '" + ppm.string() + "'";
  if (std::system(command.c_str()) != 0) return {};
  const std::string bytes = ReadFile(jpg);
  return {bytes.begin(), bytes.end()};
}

}  // namespace lumora::test
