#pragma once
// Temporary folders, files and pictures for the card and still tests.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace lumora::test {

using ScratchDir = TempFolder;

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteText(const std::filesystem::path& p, const std::string& text) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary) << text;
}

inline int Run(const std::string& command) {
  const int rc = std::system(command.c_str());
  return rc == -1 ? -1 : WEXITSTATUS(rc);
}

// A colourful test picture as a binary PPM: red grows to the right, green
// downwards, blue in a diagonal band.
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

// A baseline JPEG made by cjpeg; empty when cjpeg failed.
inline std::vector<std::uint8_t> MakeJpeg(const std::filesystem::path& dir, int width, int height,
                                          const std::string& options = "") {
  const auto ppm = dir / ("pic" + std::to_string(width) + "x" + std::to_string(height) + ".ppm");
  const auto jpg = dir / ("pic" + std::to_string(width) + "x" + std::to_string(height) + ".jpg");
  WritePpm(ppm, width, height);
  if (Run("cjpeg -quality 90 " + options + " -outfile '" + jpg.string() + "' '" + ppm.string() +
          "'") != 0) {
    return {};
  }
  return ReadBytes(jpg);
}

}  // namespace lumora::test
