// Damaged and hostile files: the reader ends, never crashes, never reads or
// allocates past what the file holds, and keeps what it collects correct.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "tests/reader/RiffBuilder.h"

namespace lumora::test {
namespace {

// Front, rear, sound and "03tx" user data, which both the index and the
// sequential scan collect: record k is chunk 4 k + 3.
TestAvi CameraLikeAvi(int records, IndexOffsets index = IndexOffsets::kAbsolute) {
  return Interleaved({{"vids", "H264"}, {"vids", "H264"}, {"auds", "    "}, {"txts", "ADAS"}},
                     {"00dc", "01dc", "02wb", "03tx"}, "03tx", index, records);
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  std::memcpy(&bytes[at], &value, 4);
}

// What a card throws at the reader: recordings cut by a power loss (no idx1,
// the RIFF and movi sizes never written or past the end, the file cut
// anywhere) and sizes past the end of the file. Whatever is left gives the
// records whose chunks are whole, each at its own time.
TEST(ReaderRobustness, DamagedRecordingsKeepEveryWholeRecord) {
  AviLayout plain, indexed;
  const auto noIndex = BuildAvi(CameraLikeAvi(6, IndexOffsets::kNone), &plain);
  const auto withIndex = BuildAvi(CameraLikeAvi(6), &indexed);
  const auto record = [&](int k) { return plain.chunkPos[4 * k + 3]; };
  const std::size_t riff = 4, movi = plain.moviListPos + 4, idx1 = indexed.idx1Pos;
  const std::uint32_t far = 0xFFFFFFF0u;
  struct Patch {
    std::size_t at;
    std::uint32_t value;
  };
  struct Row {
    const char* name;
    bool indexed;
    std::vector<Patch> patches;
    std::size_t cut;  // file length, 0 for whole
    int result;
    std::vector<int> records;
  };
  const std::vector<int> all = {0, 1, 2, 3, 4, 5};
  const std::vector<Patch> sizes0 = {{riff, 0}, {movi, 0}}, sizesFar = {{riff, far}, {movi, far}};
  const auto entry = [&](int k) { return idx1 + 8 + 16 * (4 * k + 3); };  // of record k
  const Row rows[] = {
      {"intact", true, {}, 0, 1, all},
      {"no index", false, {}, 0, 0, all},
      {"sizes 0", false, sizes0, 0, 0, all},
      {"sizes past the end", false, sizesFar, 0, 0, all},
      {"cut inside a payload", false, sizes0, record(4) + 8 + 5, 0, {0, 1, 2, 3}},
      {"cut inside a chunk header", false, sizes0, record(2) + 4, 0, {0, 1}},
      {"cut in the chunk before record 1", false, sizesFar, record(1) - 20, 0, {0}},
      {"cut in the header list", false, {}, 100, 0, {}},
      {"cut after the movi list type", false, {}, plain.moviListPos + 12, 0, {}},
      {"cut inside the last payload", true, {}, idx1 - 3, 0, {0, 1, 2, 3, 4}},
      // A cut index is still read: only the records of its whole entries.
      {"cut inside idx1", true, {}, entry(2) + 7, 1, {0, 1}},
      {"video chunk of 4 GB", false, {{plain.chunkPos[4] + 4, 0xFFFFFFFFu}}, 0, 0, {0}},
      {"idx1 size past the end", true, {{idx1 + 4, far}}, 0, 1, all},
      // Entries of records 1 (size) and 2 (offset) past the end are dropped;
      // the following records keep their times.
      {"bad entries", true, {{entry(1) + 12, far}, {entry(2) + 8, far}}, 0, 1, {0, 3, 4, 5}},
  };
  TempFolder dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    auto bytes = row.indexed ? withIndex : noIndex;
    for (const Patch& p : row.patches) Put32(bytes, p.at, p.value);
    if (row.cut != 0) bytes.resize(row.cut);
    const auto r = ScanBytes(dir, bytes);
    EXPECT_EQ(r.result, row.result);
    EXPECT_EQ(r.records, Samples(row.records));
  }
}

// Files made to hurt: zero sizes, sizes that loop back onto their own header,
// a 4 GB stream header, more streams than the id table holds, and index
// entries that all point at one large payload.
TEST(ReaderRobustness, HostileFilesEndWithoutHarm) {
  TempFolder dir;
  RiffBuilder zeros;
  zeros.BeginRiff().Fcc("JUNK").U32(0).Fcc("JUNK").U32(0).BeginList("hdrl").Fcc("avih").U32(0);
  zeros.BeginList("strl").BeginChunk("strh").Fcc("txts").Fcc("ADAS").Zeros(12).U32(1).U32(10);
  zeros.Zeros(28).End().End().End().Fcc("LIST").U32(0).Fcc("movi").Zeros(200).End();
  std::vector<std::vector<std::uint8_t>> files = {zeros.Data()};
  for (const std::uint32_t size : {0xFFFFFFF8u, 0xFFFFFFF4u, 0xFFFFFFFFu}) {
    RiffBuilder loop;
    loop.BeginRiff().Fcc("JUNK").U32(size).Zeros(200).End();
    files.push_back(loop.Data());
    files.push_back(loop.Data());
    Put32(files.back(), 4, 0xFFFFFFFFu);  // no end from the RIFF size either
    RiffBuilder header;
    header.BeginRiff().BeginList("hdrl").Fcc("avih").U32(size).Zeros(64).End().Zeros(200).End();
    files.push_back(header.Data());
  }
  RiffBuilder huge;
  huge.BeginRiff().BeginList("hdrl").BeginChunk("avih").Zeros(56).End();
  huge.BeginList("strl").Fcc("strh").U32(0xFFFFFFF0).Fcc("txts").Fcc("ADAS").Zeros(40).End();
  huge.End().Zeros(300).End();
  files.push_back(huge.Data());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto r = ScanBytes(dir, files[i]);
    EXPECT_EQ(r.result, 0) << "file " << i;
    EXPECT_TRUE(r.records.empty()) << "file " << i;
  }

  // Twenty video streams: the second USER stream's "09tx" is read through
  // the index; without one it lies past the id table and is unknown.
  TestAvi wide;
  wide.streams.assign(20, {"vids", "H264"});
  wide.streams.push_back({"txts", "USER"});
  wide.streams.push_back({"txts", "USER"});
  wide.chunks = {{"00dc", Bytes("vv")}, {"09tx", Sample(0)}, {"09tx", Sample(1)}};
  EXPECT_EQ(ScanBytes(dir, BuildAvi(wide)).records, Samples({0, 1}));
  wide.index = IndexOffsets::kNone;
  EXPECT_TRUE(ScanBytes(dir, BuildAvi(wide)).records.empty());

  // 2000 more index entries for one 40 000-byte payload: no more copies than
  // the file could honestly hold.
  AviLayout layout;
  TestAvi avi = CameraLikeAvi(1);
  avi.chunks[3].payload.assign(40000, 'M');
  auto bytes = BuildAvi(avi, &layout);
  const std::size_t last = layout.idx1Pos + 8 + 16 * 3;
  const std::vector<std::uint8_t> entry(bytes.begin() + last, bytes.begin() + last + 16);
  for (int i = 0; i < 2000; ++i) bytes.insert(bytes.end(), entry.begin(), entry.end());
  Put32(bytes, layout.idx1Pos + 4, 16 * 2004);
  Put32(bytes, 4, static_cast<std::uint32_t>(bytes.size() - 8));
  EXPECT_EQ(ScanBytes(dir, bytes).records.size(), bytes.size() / 40000);
}

}  // namespace
}  // namespace lumora::test
