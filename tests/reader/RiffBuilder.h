#pragma once
// Writes small RIFF/AVI files for the reader tests: a low-level chunk writer
// with size patching, and BuildAvi() for the usual hdrl / movi / idx1 shape.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace lumora::test {

class RiffBuilder {
 public:
  // prefix: bytes written before anything else (a file whose RIFF form does
  // not start at offset 0).
  explicit RiffBuilder(std::size_t prefix = 0);

  // "RIFF" size form; closed by End().
  RiffBuilder& BeginRiff(const std::string& form = "AVI ");
  // "LIST" size type; closed by End().
  RiffBuilder& BeginList(const std::string& type);
  // id size; closed by End().
  RiffBuilder& BeginChunk(const std::string& id);
  // Patches the size of the innermost open chunk; pads the body to even.
  RiffBuilder& End();
  // A whole chunk: id, size, payload, pad byte when odd.
  RiffBuilder& Chunk(const std::string& id, const std::vector<std::uint8_t>& payload);

  RiffBuilder& Fcc(const std::string& fcc);
  RiffBuilder& U32(std::uint32_t value);
  RiffBuilder& U16(std::uint16_t value);
  RiffBuilder& Bytes(const std::vector<std::uint8_t>& bytes);
  RiffBuilder& Zeros(std::size_t count);

  std::size_t Pos() const { return m_data.size(); }
  void PatchU32(std::size_t at, std::uint32_t value);
  const std::vector<std::uint8_t>& Data() const { return m_data; }

 private:
  std::vector<std::uint8_t> m_data;
  std::vector<std::size_t> m_open;  // positions of the size fields of open chunks
};

struct TestStream {
  std::string type;     // "vids", "auds", "txts", ...
  std::string handler;  // "XBLB", "ADAS", "USER", "H264", ...
  std::uint32_t scale = 1;
  std::uint32_t rate = 10;
  std::uint32_t strhSize = 56;  // bytes of the strh body written
};

struct TestChunk {
  std::string id;
  std::vector<std::uint8_t> payload;
};

enum class IndexOffsets { kNone, kRelativeToMovi, kAbsolute };

struct TestAvi {
  std::size_t prefix = 0;
  std::vector<TestStream> streams;
  std::vector<TestChunk> chunks;
  IndexOffsets index = IndexOffsets::kAbsolute;
  bool junkBeforeMovi = true;
};

// Positions inside a built file, for tests that damage it on purpose.
struct AviLayout {
  std::size_t moviListPos = 0;        // "LIST" of the movi list
  std::size_t idx1Pos = 0;            // "idx1" header, 0 when there is none
  std::vector<std::size_t> chunkPos;  // header of each movi chunk
};

std::vector<std::uint8_t> BuildAvi(const TestAvi& avi, AviLayout* layout = nullptr);

std::vector<std::uint8_t> Bytes(const std::string& text);
// Writes `data` to `path` with the shared file helper.
inline void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data) {
  WriteFile(path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

}  // namespace lumora::test
