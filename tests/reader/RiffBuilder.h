#pragma once
// Small RIFF/AVI files for the reader tests: a chunk writer with size
// patching, BuildAvi() for the usual hdrl / movi / idx1 shape, and a scan
// that drains every record the reader finds in a file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TempFolder.h"

namespace lumora::test {

class RiffBuilder {
 public:
  // prefix: bytes before the RIFF form (a form that does not start at 0).
  explicit RiffBuilder(std::size_t prefix = 0) : m_data(prefix, 'x') {}

  // "RIFF" size form / "LIST" size type / id size; each closed by End(),
  // which patches the size and pads the body to even.
  RiffBuilder& BeginRiff(const std::string& form = "AVI ") { return Open("RIFF").Fcc(form); }
  RiffBuilder& BeginList(const std::string& type) { return Open("LIST").Fcc(type); }
  RiffBuilder& BeginChunk(const std::string& id) { return Open(id); }
  RiffBuilder& End();
  // A whole chunk: id, size, payload, pad byte when odd.
  RiffBuilder& Chunk(const std::string& id, const std::vector<std::uint8_t>& payload);

  RiffBuilder& Fcc(const std::string& fcc);
  RiffBuilder& U32(std::uint32_t value) { return Le(value, 4); }
  RiffBuilder& U16(std::uint16_t value) { return Le(value, 2); }
  RiffBuilder& Zeros(std::size_t count) {
    m_data.insert(m_data.end(), count, 0);
    return *this;
  }

  std::size_t Pos() const { return m_data.size(); }
  const std::vector<std::uint8_t>& Data() const { return m_data; }

 private:
  RiffBuilder& Open(const std::string& id);
  RiffBuilder& Le(std::uint32_t value, int bytes);

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
};

// Positions inside a built file, for tests that damage it on purpose.
struct AviLayout {
  std::size_t moviListPos = 0;        // "LIST" of the movi list
  std::size_t idx1Pos = 0;            // "idx1" header, 0 when there is none
  std::vector<std::size_t> chunkPos;  // header of each movi chunk
};

std::vector<std::uint8_t> BuildAvi(const TestAvi& avi, AviLayout* layout = nullptr);

// `records` rounds of one chunk per id; the chunks with id `user` carry
// Sample(i), the others filler.
TestAvi Interleaved(std::vector<TestStream> streams, const std::vector<std::string>& ids,
                    const std::string& user, IndexOffsets index, int records);

inline std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data) {
  WriteFile(path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
}

struct Record {
  std::vector<std::uint8_t> data;
  std::uint32_t cts = 0;
  bool operator==(const Record&) const = default;
};

// User-data record i of the test files: 16 bytes (even, so the index-less
// scan, which keeps pad bytes, gives the same) at i * 100 ms.
std::vector<std::uint8_t> Sample(int i);
std::vector<Record> Samples(const std::vector<int>& indexes);
std::vector<Record> FirstSamples(int count);

struct ScanResult {
  int result = -1;  // of ScanUserData: 1 when an index was read
  std::vector<Record> records;
};

// Writes `bytes` to a file, scans it and drains every record.
ScanResult ScanBytes(const TempFolder& dir, const std::vector<std::uint8_t>& bytes);

}  // namespace lumora::test
