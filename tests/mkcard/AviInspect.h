#pragma once

// A small independent RIFF AVI parser for checking the generator's output.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace lumora::test {

std::vector<uint8_t> ReadAll(const std::filesystem::path& file);

struct StreamHeader {
  std::string type, handler;
  uint32_t scale = 0, rate = 0, length = 0, sample_size = 0;
  bool has_format = false;
};

struct Chunk {
  std::string id;
  uint64_t pos = 0;  // position of the chunk id
  uint32_t size = 0;
};

struct IndexEntry {
  std::string id;
  uint32_t flags = 0, offset = 0, size = 0;
};

struct AviLayout {
  bool ok = false;
  uint32_t riff_size = 0;
  uint32_t avih_flags = 0;
  std::vector<StreamHeader> streams;
  uint64_t movi_type_pos = 0;
  std::vector<Chunk> movi;  // chunks of the movi list in order
  bool has_index = false;
  std::vector<IndexEntry> index;
};

AviLayout ParseAvi(const std::vector<uint8_t>& bytes);

uint16_t Le16(const uint8_t* p);
uint32_t Le32(const uint8_t* p);

}  // namespace lumora::test
