// Damaged and hostile files: the reader must end, never crash, never read or
// allocate past what the file holds, and keep what it does collect correct.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/CFileManager.h"
#include "engine/CFileTypeN.h"
#include "tests/reader/ReaderTestUtil.h"
#include "tests/reader/RiffBuilder.h"

namespace lumora::test {
namespace {

std::vector<std::uint8_t> Payload(int i) {
  // Even sizes, so the sequential scan (which keeps the pad byte) and the
  // index give the same bytes.
  return Bytes("M" + std::to_string(1000 + i) + "-payload-" +
               std::string(2, static_cast<char>('a' + i % 26)));
}

// The user data is "03tx", which both the index and the sequential scan
// collect, so every truncation point has a defined answer.
TestAvi CameraLikeAvi(int records) {
  TestAvi avi;
  avi.streams = {{"vids", "H264"}, {"vids", "H264"}, {"auds", "    "}, {"txts", "ADAS"}};
  for (int i = 0; i < records; ++i) {
    avi.chunks.push_back({"00dc", std::vector<std::uint8_t>(61 + i % 3, 0x11)});
    avi.chunks.push_back({"01dc", std::vector<std::uint8_t>(24, 0x22)});
    avi.chunks.push_back({"02wb", std::vector<std::uint8_t>(16, 0x33)});
    avi.chunks.push_back({"03tx", Payload(i)});
  }
  return avi;
}

// Whatever a damaged file yields must be the leading records of the intact
// file, each at its own time.
void ExpectLeadingRecords(const std::vector<Record>& records, int maximum, std::size_t cut) {
  ASSERT_LE(records.size(), static_cast<std::size_t>(maximum)) << "cut at " << cut;
  for (std::size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(records[i].data, Payload(static_cast<int>(i))) << "cut at " << cut;
    EXPECT_EQ(records[i].cts, 100 * i) << "cut at " << cut;
  }
}

TEST(ReaderRobustness, TruncatedAtManyOffsetsKeepsTheLeadingRecords) {
  TempFolder dir;
  AviLayout layout;
  const int kRecords = 12;
  const auto full = BuildAvi(CameraLikeAvi(kRecords), &layout);
  const auto whole = ScanBytes(dir, full);
  ASSERT_EQ(whole.result, 1);
  ASSERT_EQ(whole.records.size(), static_cast<std::size_t>(kRecords));

  std::size_t withRecordsInMovi = 0;
  const auto nearEdge = [&](std::size_t cut) {
    return (cut >= layout.moviListPos && cut <= layout.moviListPos + 24) ||
           (cut + 24 >= layout.idx1Pos && cut <= layout.idx1Pos + 40);
  };
  for (std::size_t cut = 0; cut < full.size(); ++cut) {
    if (cut % 5 != 0 && !nearEdge(cut)) continue;
    const std::vector<std::uint8_t> part(full.begin(), full.begin() + cut);
    const auto r = ScanBytes(dir, part);
    ExpectLeadingRecords(r.records, kRecords, cut);
    if (cut < layout.idx1Pos + 8) {
      EXPECT_EQ(r.result, 0) << "cut at " << cut;
    }
    // Cut inside the movi list: the sequential scan recovers every record
    // whose chunk is complete.
    if (cut > layout.moviListPos + 12 && cut <= layout.idx1Pos) {
      std::size_t complete = 0;
      for (int i = 0; i < kRecords; ++i) {
        const std::size_t end = layout.chunkPos[4 * i + 3] + 8 + Payload(i).size();
        if (end <= cut) complete = i + 1;
      }
      EXPECT_EQ(r.records.size(), complete) << "cut at " << cut;
      if (complete > 0) ++withRecordsInMovi;
    }
  }
  EXPECT_GT(withRecordsInMovi, 0u);
}

TEST(ReaderRobustness, HugeSizesAreBoundedByTheFile) {
  TempFolder dir;
  AviLayout layout;
  const int kRecords = 5;
  auto bytes = BuildAvi(CameraLikeAvi(kRecords), &layout);

  // An idx1 size far past the end: only the entries present are used.
  auto hugeIndex = bytes;
  std::memcpy(&hugeIndex[layout.idx1Pos + 4], "\xf0\xff\xff\xff", 4);
  auto r = ScanBytes(dir, hugeIndex);
  EXPECT_EQ(r.result, 1);
  ExpectLeadingRecords(r.records, kRecords, 0);
  EXPECT_EQ(r.records.size(), static_cast<std::size_t>(kRecords));

  // An index entry whose size or offset points past the end is dropped; the
  // following records keep their times.
  auto hugeEntry = bytes;
  const std::size_t entry1 = layout.idx1Pos + 8 + 16 * (4 * 1 + 3);
  std::memcpy(&hugeEntry[entry1 + 12], "\xff\xff\xff\xff", 4);
  const std::size_t entry2 = layout.idx1Pos + 8 + 16 * (4 * 2 + 3);
  std::memcpy(&hugeEntry[entry2 + 8], "\x00\x00\x00\xf0", 4);
  r = ScanBytes(dir, hugeEntry);
  ASSERT_EQ(r.records.size(), static_cast<std::size_t>(kRecords - 2));
  EXPECT_EQ(r.records[0].data, Payload(0));
  EXPECT_EQ(r.records[1].data, Payload(3));
  EXPECT_EQ(r.records[1].cts, 300u);

  // A movi list size far past the end and no index: the sequential scan
  // stops at the end of the file.
  TestAvi noIndex = CameraLikeAvi(kRecords);
  noIndex.index = IndexOffsets::kNone;
  auto open = BuildAvi(noIndex, &layout);
  std::memcpy(&open[layout.moviListPos + 4], "\xff\xff\xff\xff", 4);
  std::memcpy(&open[4], "\xff\xff\xff\xff", 4);  // and the RIFF size
  r = ScanBytes(dir, open);
  EXPECT_EQ(r.result, 0);
  ExpectLeadingRecords(r.records, kRecords, 0);
  EXPECT_EQ(r.records.size(), static_cast<std::size_t>(kRecords));

  // A strh chunk claiming 4 GB is read only as far as its fixed header.
  RiffBuilder b;
  b.BeginRiff().BeginList("hdrl").BeginChunk("avih").Zeros(56).End();
  b.BeginList("strl").Fcc("strh").U32(0xFFFFFFF0).Fcc("txts").Fcc("ADAS").Zeros(40).End();
  b.End().Zeros(300).End();
  r = ScanBytes(dir, b.Data());
  EXPECT_TRUE(r.records.empty());
}

TEST(ReaderRobustness, IndexEntriesSharingOnePayloadCannotExhaustMemory) {
  TempFolder dir;
  AviLayout layout;
  TestAvi avi = CameraLikeAvi(1);
  avi.chunks[3].payload = std::vector<std::uint8_t>(40000, 'M');
  avi.index = IndexOffsets::kAbsolute;
  auto bytes = BuildAvi(avi, &layout);
  // Append 2000 index entries that all point at the large chunk.
  const std::size_t idxSizePos = layout.idx1Pos + 4;
  std::uint32_t idxSize = 0;
  std::memcpy(&idxSize, &bytes[idxSizePos], 4);
  const std::size_t lastEntry = layout.idx1Pos + 8 + 16 * 3;
  const std::vector<std::uint8_t> entry(bytes.begin() + lastEntry, bytes.begin() + lastEntry + 16);
  for (int i = 0; i < 2000; ++i) bytes.insert(bytes.end(), entry.begin(), entry.end());
  idxSize += 2000 * 16;
  std::memcpy(&bytes[idxSizePos], &idxSize, 4);
  const std::uint32_t riffSize = static_cast<std::uint32_t>(bytes.size() - 8);
  std::memcpy(&bytes[4], &riffSize, 4);

  const auto r = ScanBytes(dir, bytes);
  std::size_t total = 0;
  for (const auto& rec : r.records) total += rec.data.size();
  EXPECT_LE(total, bytes.size());
  // As many copies as the file could honestly hold, not 2001.
  EXPECT_EQ(r.records.size(), bytes.size() / 40000);
}

TEST(ReaderRobustness, ZeroSizesAndSelfLoopsEndTheWalk) {
  TempFolder dir;
  // Zero-sized chunks at the top level and in the header list.
  RiffBuilder zeros;
  zeros.BeginRiff().Fcc("JUNK").U32(0).Fcc("JUNK").U32(0);
  zeros.BeginList("hdrl").Fcc("avih").U32(0);
  zeros.BeginList("strl").BeginChunk("strh").Fcc("txts").Fcc("ADAS").U32(0).U32(0).U32(0);
  zeros.U32(1).U32(10).Zeros(28).End().End();
  zeros.End();
  zeros.Fcc("LIST").U32(0).Fcc("movi");  // a movi list of size 0
  zeros.Zeros(200).End();
  auto r = ScanBytes(dir, zeros.Data());
  EXPECT_EQ(r.result, 0);
  EXPECT_TRUE(r.records.empty());

  // A size that would bring a 32-bit position back onto its own header.
  for (const std::uint32_t size : {0xFFFFFFF8u, 0xFFFFFFF4u, 0xFFFFFFFFu}) {
    RiffBuilder loop;
    loop.BeginRiff().Fcc("JUNK").U32(size).Zeros(200).End();
    r = ScanBytes(dir, loop.Data());
    EXPECT_TRUE(r.records.empty());
    auto endless = loop.Data();
    std::memcpy(&endless[4], "\xff\xff\xff\xff", 4);  // RIFF size gives no end either
    r = ScanBytes(dir, endless);
    EXPECT_TRUE(r.records.empty());
    RiffBuilder header;
    header.BeginRiff().BeginList("hdrl").Fcc("avih").U32(size).Zeros(64).End().Zeros(200).End();
    r = ScanBytes(dir, header.Data());
    EXPECT_TRUE(r.records.empty());
  }

  // A movi chunk with size 0xFFFFFFFF in the sequential scan.
  TestAvi avi = CameraLikeAvi(3);
  avi.index = IndexOffsets::kNone;
  AviLayout layout;
  auto bytes = BuildAvi(avi, &layout);
  std::memcpy(&bytes[layout.chunkPos[4] + 4], "\xff\xff\xff\xff", 4);
  r = ScanBytes(dir, bytes);
  ExpectLeadingRecords(r.records, 1, 0);
  EXPECT_EQ(r.records.size(), 1u);

  // A hundred thousand empty chunks: the walk still ends (a stuck one times out).
  RiffBuilder many;
  many.BeginRiff().BeginList("hdrl").BeginChunk("avih").Zeros(56).End();
  many.BeginList("strl").BeginChunk("strh").Fcc("txts").Fcc("ADAS").Zeros(40).End().End();
  many.End();
  for (int i = 0; i < 100000; ++i) many.Fcc("JUNK").U32(0);
  many.End();
  r = ScanBytes(dir, many.Data());
  EXPECT_TRUE(r.records.empty());
}

TEST(ReaderRobustness, MoreThanSixteenStreamsDoNotOverrunTheIdTable) {
  TempFolder dir;
  TestAvi avi;
  for (int i = 0; i < 20; ++i) avi.streams.push_back({"vids", "H264"});
  avi.streams.push_back({"txts", "USER"});
  avi.streams.push_back({"txts", "USER"});
  avi.chunks = {{"00dc", Bytes("vv")}, {"09tx", Payload(0)}, {"09tx", Payload(1)}};
  auto r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 1);
  ExpectLeadingRecords(r.records, 2, 0);
  EXPECT_EQ(r.records.size(), 2u);

  // Without an index, "09tx" lies past the table's 16 entries and is unknown.
  avi.index = IndexOffsets::kNone;
  r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 0);
  EXPECT_TRUE(r.records.empty());
}

TEST(ReaderRobustness, NullArgumentsAreRefused) {
  TempFolder dir;
  const auto path = dir / "null.avi";
  WriteFile(path, BuildAvi(CameraLikeAvi(2)));
  CFileTypeN reader;
  reader.SetFileName(path);
  ASSERT_EQ(reader.ScanUserData(), 1);
  std::uint8_t buffer[64];
  std::uint32_t length = sizeof buffer, cts = 0;
  EXPECT_EQ(reader.GetNextUserData(buffer, nullptr, &cts), kE_FAIL);
  EXPECT_EQ(reader.GetNextUserData(buffer, &length, nullptr), kE_FAIL);
  // Neither call consumed a record.
  ASSERT_EQ(reader.GetNextUserData(buffer, &length, &cts), 0);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + length), Payload(0));
  // No buffer offers nothing: the record is lost and its length reported.
  length = sizeof buffer;
  EXPECT_EQ(reader.GetNextUserData(nullptr, &length, &cts), kE_FAIL);
  EXPECT_EQ(length, Payload(1).size());
  EXPECT_EQ(reader.GetNextUserData(buffer, &length, &cts), kNoMoreRecords);
}

}  // namespace
}  // namespace lumora::test
