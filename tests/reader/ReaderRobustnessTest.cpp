// Damaged and hostile files: the reader ends, never crashes, never reads or
// allocates past what the file holds, and keeps what it collects correct.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/reader/RiffBuilder.h"

namespace lumora::test {
namespace {

// Even sizes, so the sequential scan (which keeps the pad byte) and the index
// give the same bytes.
std::vector<std::uint8_t> Payload(int i) {
  return Bytes("M" + std::to_string(1000 + i) + "-payload-" +
               std::string(2, static_cast<char>('a' + i % 26)));
}

// Front, rear, sound and "03tx" user data, which both the index and the
// sequential scan collect: record k is chunk 4 k + 3.
TestAvi CameraLikeAvi(int records, IndexOffsets index = IndexOffsets::kAbsolute) {
  TestAvi avi;
  avi.streams = {{"vids", "H264"}, {"vids", "H264"}, {"auds", "    "}, {"txts", "ADAS"}};
  avi.index = index;
  for (int i = 0; i < records; ++i) {
    avi.chunks.push_back({"00dc", std::vector<std::uint8_t>(61 + i % 3, 0x11)});
    avi.chunks.push_back({"01dc", std::vector<std::uint8_t>(24, 0x22)});
    avi.chunks.push_back({"02wb", std::vector<std::uint8_t>(16, 0x33)});
    avi.chunks.push_back({"03tx", Payload(i)});
  }
  return avi;
}

std::vector<Record> Payloads(const std::vector<int>& indexes) {
  std::vector<Record> out;
  for (int i : indexes) out.push_back({Payload(i), static_cast<std::uint32_t>(100 * i)});
  return out;
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  std::memcpy(&bytes[at], &value, 4);
}

// What a card throws at the reader: recordings cut by a power loss (no idx1,
// the RIFF and movi sizes never written or past the end, the file cut
// inside a chunk) and sizes past the end of the file.
TEST(ReaderRobustness, DamagedRecordingsKeepEveryWholeRecord) {
  using Damage = std::function<void(std::vector<std::uint8_t>&, const AviLayout&)>;
  const auto sizes = [](std::uint32_t size) {
    return [size](std::vector<std::uint8_t>& b, const AviLayout& l) {
      Put32(b, 4, size);
      Put32(b, l.moviListPos + 4, size);
    };
  };
  const auto cutAt = [](std::function<std::size_t(const AviLayout&)> where) {
    return [where](std::vector<std::uint8_t>& b, const AviLayout& l) { b.resize(where(l)); };
  };
  const auto record = [](const AviLayout& l, int k) { return l.chunkPos[4 * k + 3]; };
  struct Row {
    const char* name;
    bool indexed;
    std::vector<Damage> damage;
    int result;
    std::vector<int> records;
  };
  const Row rows[] = {
      {"intact", true, {}, 1, {0, 1, 2, 3, 4, 5}},
      {"no index", false, {}, 0, {0, 1, 2, 3, 4, 5}},
      {"sizes 0", false, {sizes(0)}, 0, {0, 1, 2, 3, 4, 5}},
      {"sizes past the end", false, {sizes(0xFFFFFFF0u)}, 0, {0, 1, 2, 3, 4, 5}},
      {"sizes 0, cut inside a payload",
       false,
       {sizes(0), cutAt([&](const AviLayout& l) { return record(l, 4) + 8 + 5; })},
       0,
       {0, 1, 2, 3}},
      {"sizes 0, cut inside a chunk header",
       false,
       {sizes(0), cutAt([&](const AviLayout& l) { return record(l, 2) + 4; })},
       0,
       {0, 1}},
      {"sizes past the end, cut in the chunk before record 1",
       false,
       {sizes(0xFFFFFFF0u), cutAt([&](const AviLayout& l) { return record(l, 1) - 20; })},
       0,
       {0}},
      {"a video chunk of size 0xFFFFFFFF",
       false,
       {[](std::vector<std::uint8_t>& b, const AviLayout& l) {
         Put32(b, l.chunkPos[4] + 4, 0xFFFFFFFFu);
       }},
       0,
       {0}},
      {"idx1 size past the end",
       true,
       {[](std::vector<std::uint8_t>& b, const AviLayout& l) {
         Put32(b, l.idx1Pos + 4, 0xFFFFFFF0u);
       }},
       1,
       {0, 1, 2, 3, 4, 5}},
      // Index entries of records 1 (size) and 2 (offset) point past the end:
      // dropped, and the following records keep their times.
      {"index entries past the end",
       true,
       {[](std::vector<std::uint8_t>& b, const AviLayout& l) {
         Put32(b, l.idx1Pos + 8 + 16 * 7 + 12, 0xFFFFFFFFu);
         Put32(b, l.idx1Pos + 8 + 16 * 11 + 8, 0xF0000000u);
       }},
       1,
       {0, 3, 4, 5}},
  };
  TempFolder dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    AviLayout layout;
    auto bytes = BuildAvi(
        CameraLikeAvi(6, row.indexed ? IndexOffsets::kAbsolute : IndexOffsets::kNone), &layout);
    for (const Damage& damage : row.damage) damage(bytes, layout);
    const auto r = ScanBytes(dir, bytes);
    EXPECT_EQ(r.result, row.result);
    EXPECT_EQ(r.records, Payloads(row.records));
  }
}

// Cut anywhere, a file yields leading records of the intact one; cut inside
// the movi list, the sequential scan finds every record whose chunk is whole.
TEST(ReaderRobustness, TruncatedAtManyOffsetsKeepsTheLeadingRecords) {
  TempFolder dir;
  AviLayout layout;
  const int kRecords = 12;
  const auto full = BuildAvi(CameraLikeAvi(kRecords), &layout);
  std::size_t withRecordsInMovi = 0;
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    const bool nearEdge = (cut >= layout.moviListPos && cut <= layout.moviListPos + 24) ||
                          (cut + 24 >= layout.idx1Pos && cut <= layout.idx1Pos + 40);
    if (cut % 5 != 0 && !nearEdge) continue;
    SCOPED_TRACE(::testing::Message() << "cut at " << cut);
    const auto r = ScanBytes(dir, {full.begin(), full.begin() + static_cast<long>(cut)});
    ASSERT_LE(r.records.size(), static_cast<std::size_t>(kRecords));
    std::vector<int> leading(r.records.size());
    for (std::size_t i = 0; i < leading.size(); ++i) leading[i] = static_cast<int>(i);
    EXPECT_EQ(r.records, Payloads(leading));
    if (cut < layout.idx1Pos + 8) {
      EXPECT_EQ(r.result, 0);
    }
    if (cut <= layout.moviListPos + 12 || cut > layout.idx1Pos) continue;
    std::size_t whole = 0;
    for (int i = 0; i < kRecords; ++i) {
      if (layout.chunkPos[4 * i + 3] + 8 + Payload(i).size() <= cut) whole = i + 1;
    }
    EXPECT_EQ(r.records.size(), whole);
    if (whole > 0) ++withRecordsInMovi;
  }
  EXPECT_GT(withRecordsInMovi, 0u);
}

// Files made to hurt: zero sizes, sizes that loop back onto their own header,
// a 4 GB stream header, many empty chunks, more streams than the id table
// holds, and index entries that all point at one large payload.
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
  RiffBuilder many;
  many.BeginRiff().BeginList("hdrl").BeginChunk("avih").Zeros(56).End();
  many.BeginList("strl").BeginChunk("strh").Fcc("txts").Fcc("ADAS").Zeros(40).End().End().End();
  for (int i = 0; i < 100000; ++i) many.Fcc("JUNK").U32(0);
  files.push_back(many.End().Data());
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
  wide.chunks = {{"00dc", Bytes("vv")}, {"09tx", Payload(0)}, {"09tx", Payload(1)}};
  EXPECT_EQ(ScanBytes(dir, BuildAvi(wide)).records, Payloads({0, 1}));
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
