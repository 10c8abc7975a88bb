// RIFF walk: the input is written to a file and walked like a recording,
// then every user-data record is drained.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/CFileTypeN.h"
#include "engine/UserData.h"

namespace {

const std::filesystem::path& InputPath() {
  static const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                            ("lumora-fuzz-riff-" + std::to_string(::getpid()) + ".avi");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(InputPath(), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  lumora::CFileTypeN reader;
  reader.SetFileName(InputPath());
  if (reader.ScanUserData() <= 0) return 0;
  const int count = reader.GetUserDataCount();
  // Exactly the largest record's size, so a read or write past it is caught.
  std::vector<std::uint8_t> buffer(reader.GetLargestUserDataLength() + 1);
  for (int i = 0; i <= count; ++i) {
    std::uint32_t length = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t cts = 0;
    if (reader.GetNextUserData(buffer.data(), &length, &cts) != lumora::kS_OK) break;
    if (length > buffer.size()) __builtin_trap();
  }
  return 0;
}
