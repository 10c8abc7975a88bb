#pragma once
// Shared helpers of the reader tests: scan a built file and drain its records.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/CFileTypeN.h"
#include "tests/reader/RiffBuilder.h"

namespace lumora::test {

struct Record {
  std::vector<std::uint8_t> data;
  std::uint32_t cts = 0;
};

struct ScanResult {
  int result = -1;
  std::vector<Record> records;
};

// Drains every record through GetNextUserData with a buffer large enough
// for any of them; stops at the first non-zero code.
inline std::vector<Record> Drain(CFileTypeN& reader) {
  std::vector<Record> out;
  std::vector<std::uint8_t> buffer(reader.GetLargestUserDataLength() + 1);
  for (;;) {
    std::uint32_t length = static_cast<std::uint32_t>(buffer.size());
    std::uint32_t cts = 0;
    if (reader.GetNextUserData(buffer.data(), &length, &cts) != 0) break;
    out.push_back({std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + length), cts});
  }
  return out;
}

inline ScanResult ScanBytes(const TempFolder& dir, const std::vector<std::uint8_t>& bytes,
                            const std::string& name = "scan.avi") {
  const auto path = dir / name;
  WriteFile(path, bytes);
  CFileTypeN reader;
  reader.SetFileName(path);
  ScanResult r;
  r.result = reader.ScanUserData();
  r.records = Drain(reader);
  return r;
}

}  // namespace lumora::test
