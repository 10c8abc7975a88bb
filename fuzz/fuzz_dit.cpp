// Drive-log (DIT) reader: line by line, then the whole input as a file.
#include <unistd.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "library/CDitFile.h"

namespace {

const std::filesystem::path& InputPath() {
  static const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("lumora-fuzz-dit-" + std::to_string(::getpid()) + ".DIT");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  // The first line alone, in a buffer of exactly its size.
  const std::string firstLine(text.substr(0, text.find('\n')));
  lumora::DitPoint point;
  if (lumora::CDitFile::ParseLine(firstLine, &point)) {
    (void)point.SecondsOfDay();
    (void)point.Date();
  }
  {
    std::ofstream out(InputPath(), std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(size));
  }
  std::vector<lumora::DitPoint> points;
  if (!lumora::CDitFile::Read(InputPath(), &points)) __builtin_trap();
  // Every point read back is one the parser accepts.
  for (const lumora::DitPoint& p : points) {
    if (p.m_strDateTime.size() != 14 || p.m_dLatitude == 0.0 || p.m_dLongitude == 0.0 ||
        std::abs(p.m_dLatDeg) > 90.0 || std::abs(p.m_dLonDeg) > 180.0)
      __builtin_trap();
  }
  if (lumora::CDitFile::IsValid(InputPath()) != !points.empty()) __builtin_trap();
  lumora::DitPoint first;
  if (lumora::CDitFile::FirstPoint(InputPath(), &first)) {
    (void)lumora::CDitFile::CaptureSubfolder(InputPath(), first);
  }
  return 0;
}
