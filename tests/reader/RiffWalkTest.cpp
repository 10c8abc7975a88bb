// The RIFF walk of the container reader on files built in the test: index
// base, stream selection, time stamps, the sequential fallback and the
// result codes of handing records out.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/CFileManager.h"
#include "engine/CFileTypeN.h"
#include "engine/UserData.h"
#include "tests/reader/ReaderTestUtil.h"
#include "tests/reader/RiffBuilder.h"

namespace lumora::test {
namespace {

std::vector<std::uint8_t> Sample(int i) {
  return Bytes("M" + std::string(1, static_cast<char>('a' + i % 26)) + "-record-" +
               std::to_string(i) + "!");
}

// Video, sound and user data interleaved as the camera writes them; the
// user-data stream is the third stream ("02tx").
TestAvi ThreeStreamAvi(const std::string& handler, IndexOffsets offsets, int records) {
  TestAvi avi;
  avi.streams = {{"vids", "H264"}, {"auds", ""}, {"txts", handler}};
  avi.streams[1].handler = std::string(4, '\0');
  for (int i = 0; i < records; ++i) {
    avi.chunks.push_back({"00dc", std::vector<std::uint8_t>(33 + i, 0xAB)});
    avi.chunks.push_back({"01wb", std::vector<std::uint8_t>(16, 0xCD)});
    avi.chunks.push_back({"02tx", Sample(i)});
  }
  avi.index = offsets;
  return avi;
}

void ExpectSamples(const std::vector<Record>& records, int count) {
  ASSERT_EQ(records.size(), static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    EXPECT_EQ(records[i].data, Sample(i)) << "record " << i;
    EXPECT_EQ(records[i].cts, static_cast<std::uint32_t>(i * 100)) << "record " << i;
  }
}

// XBLB index offsets count from the movi list type, ADAS and USER ones from
// the file start; read with the other base the records come out wrong.
TEST(RiffWalk, IndexBaseDependsOnTheHandler) {
  TempFolder dir;
  struct Row {
    const char* handler;
    IndexOffsets offsets;
    bool right;
  };
  const Row rows[] = {{"XBLB", IndexOffsets::kRelativeToMovi, true},
                      {"XBLB", IndexOffsets::kAbsolute, false},
                      {"ADAS", IndexOffsets::kAbsolute, true},
                      {"ADAS", IndexOffsets::kRelativeToMovi, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.handler) + (row.right ? " right base" : " wrong base"));
    const auto r = ScanBytes(dir, BuildAvi(ThreeStreamAvi(row.handler, row.offsets, 6)));
    EXPECT_EQ(r.result, 1);
    if (row.right) {
      ExpectSamples(r.records, 6);
      continue;
    }
    ASSERT_FALSE(r.records.empty());
    for (std::size_t i = 0; i < r.records.size(); ++i) {
      EXPECT_NE(r.records[i].data, Sample(static_cast<int>(i)));
    }
  }
  // Two USER streams: the second one is "09tx" and its offsets are absolute.
  TestAvi user;
  user.streams = {{"vids", "H264"}, {"txts", "USER"}, {"txts", "USER"}};
  for (int i = 0; i < 5; ++i) {
    user.chunks.push_back({"00dc", std::vector<std::uint8_t>(40, 1)});
    user.chunks.push_back({"01tx", Bytes("first-stream")});
    user.chunks.push_back({"09tx", Sample(i)});
  }
  const auto users = ScanBytes(dir, BuildAvi(user));
  EXPECT_EQ(users.result, 1);
  ExpectSamples(users.records, 5);
}

TEST(RiffWalk, OneUserStreamAloneYieldsNoRecords) {
  TempFolder dir;
  TestAvi avi;
  avi.streams = {{"vids", "H264"}, {"txts", "USER"}};
  for (int i = 0; i < 4; ++i) {
    avi.chunks.push_back({"00dc", std::vector<std::uint8_t>(20, 1)});
    avi.chunks.push_back({"01tx", Sample(i)});
    avi.chunks.push_back({"09tx", Sample(i)});
  }
  auto r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 0);
  EXPECT_TRUE(r.records.empty());
  // Without an index there is no fallback either: the header list selected nothing.
  avi.index = IndexOffsets::kNone;
  r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 0);
  EXPECT_TRUE(r.records.empty());
}

TEST(RiffWalk, LastQualifyingStreamIsSelected) {
  TempFolder dir;
  TestAvi avi;
  avi.streams = {{"txts", "ADAS"}, {"vids", "H264"}, {"txts", "XBLB"}};
  for (int i = 0; i < 3; ++i) {
    avi.chunks.push_back({"00tx", Bytes("adas-" + std::to_string(i))});
    avi.chunks.push_back({"01dc", std::vector<std::uint8_t>(10, 2)});
    avi.chunks.push_back({"02tx", Sample(i)});
  }
  avi.index = IndexOffsets::kRelativeToMovi;  // the kept header is the XBLB one
  const auto r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 1);
  ExpectSamples(r.records, 3);
}

TEST(RiffWalk, TimeStampsComeFromScaleAndRate) {
  TempFolder dir;
  TestAvi avi = ThreeStreamAvi("ADAS", IndexOffsets::kAbsolute, 5);
  avi.streams[2].scale = 1001;
  avi.streams[2].rate = 30000;
  auto r = ScanBytes(dir, BuildAvi(avi));
  ASSERT_EQ(r.records.size(), 5u);
  for (std::uint64_t k = 0; k < 5; ++k) {
    EXPECT_EQ(r.records[k].cts, static_cast<std::uint32_t>(k * 1001 * 1000 / 30000));
  }

  // Large scale values do not overflow: 64-bit arithmetic, truncated to 32 bits.
  avi.streams[2].scale = 4000000000u;
  avi.streams[2].rate = 1000;
  r = ScanBytes(dir, BuildAvi(avi));
  ASSERT_EQ(r.records.size(), 5u);
  EXPECT_EQ(r.records[1].cts, static_cast<std::uint32_t>(4000000000ull));
  EXPECT_EQ(r.records[3].cts, static_cast<std::uint32_t>(12000000000ull));

  // A zero rate gives no time base; records still arrive, all at 0 ms.
  avi.streams[2].rate = 0;
  r = ScanBytes(dir, BuildAvi(avi));
  ASSERT_EQ(r.records.size(), 5u);
  for (const auto& rec : r.records) EXPECT_EQ(rec.cts, 0u);
}

TEST(RiffWalk, ShortStreamHeaderStillGivesTheTimeBase) {
  TempFolder dir;
  TestAvi avi = ThreeStreamAvi("ADAS", IndexOffsets::kAbsolute, 3);
  avi.streams[2].strhSize = 28;  // up to and including dwRate
  avi.streams[2].rate = 5;
  const auto r = ScanBytes(dir, BuildAvi(avi));
  ASSERT_EQ(r.records.size(), 3u);
  EXPECT_EQ(r.records[2].cts, 400u);
}

// Front video, rear video, sound and two text streams: "03tx" and "04tx".
TestAvi FiveStreamAvi() {
  TestAvi avi;
  avi.streams = {
      {"vids", "H264"}, {"vids", "H264"}, {"auds", "    "}, {"txts", "XBLB"}, {"txts", "ADAS"}};
  avi.index = IndexOffsets::kNone;
  return avi;
}

TEST(RiffWalk, WithoutIndexTheMoviListIsScannedInOrder) {
  TempFolder dir;
  TestAvi avi = FiveStreamAvi();
  avi.chunks = {{"00dc", std::vector<std::uint8_t>(50, 1)},
                {"03tx", Bytes("M-first")},  // odd size: the record keeps the pad byte
                {"02wb", std::vector<std::uint8_t>(8, 2)},
                {"04tx", Bytes("$GPRMC,a")},
                {"01dc", std::vector<std::uint8_t>(31, 3)},
                {"03tx", Bytes("M-third!")},
                {"zzzz", Bytes("unknown")},
                {"03tx", Bytes("never")}};
  const auto r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 0);  // the fallback does not count as a located index
  ASSERT_EQ(r.records.size(), 3u);
  std::vector<std::uint8_t> first = Bytes("M-first");
  first.push_back(0);
  EXPECT_EQ(r.records[0].data, first);
  EXPECT_EQ(r.records[1].data, Bytes("$GPRMC,a"));
  EXPECT_EQ(r.records[2].data, Bytes("M-third!"));
  // One counter runs over every collected id.
  EXPECT_EQ(r.records[0].cts, 0u);
  EXPECT_EQ(r.records[1].cts, 100u);
  EXPECT_EQ(r.records[2].cts, 200u);
}

TEST(RiffWalk, FallbackCollects09txOfTheSecondUserStream) {
  TempFolder dir;
  TestAvi avi;
  avi.streams = {{"vids", "H264"}, {"txts", "USER"}, {"txts", "USER"}};
  avi.index = IndexOffsets::kNone;
  for (int i = 0; i < 4; ++i) {
    avi.chunks.push_back({"00dc", std::vector<std::uint8_t>(12, 1)});
    avi.chunks.push_back({"01tx", Bytes("skip")});
    avi.chunks.push_back({"09tx", Bytes("user-" + std::to_string(i))});
  }
  const auto r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 0);
  ASSERT_EQ(r.records.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(r.records[i].data, Bytes("user-" + std::to_string(i)));
    EXPECT_EQ(r.records[i].cts, static_cast<std::uint32_t>(100 * i));
  }
}

// A recording cut by a power loss: no idx1, and the RIFF and movi sizes
// never written (0), past the end, or the file cut inside a chunk. The
// selected stream is "02tx", outside the camera's usual ids.
TEST(RiffWalk, PowerCutFilesKeepEveryRecordBeforeTheCut) {
  TempFolder dir;
  AviLayout layout;
  const auto intact = BuildAvi(ThreeStreamAvi("XBLB", IndexOffsets::kNone, 6), &layout);
  const std::size_t riffSize = 4, moviSize = layout.moviListPos + 4;
  const auto record = [&](int k) { return layout.chunkPos[3 * k + 2]; };
  struct Case {
    const char* name;
    std::uint32_t sizes;  // written into the RIFF and movi size fields
    std::size_t cut;      // file length
    int records;
  };
  const Case cases[] = {
      {"sizes written", 0, 0, 6},
      {"sizes 0", 0, intact.size(), 6},
      {"sizes past the end", 0xFFFFFFF0u, intact.size(), 6},
      {"cut inside a payload", 0, record(4) + 8 + 5, 4},
      {"cut inside a chunk header", 0, record(2) + 4, 2},
      {"cut inside the video before record 1", 0xFFFFFFF0u, record(1) - 20, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::uint8_t> bytes = intact;
    if (c.cut != 0) {
      std::memcpy(&bytes[riffSize], &c.sizes, 4);
      std::memcpy(&bytes[moviSize], &c.sizes, 4);
      bytes.resize(c.cut);
    }
    const auto r = ScanBytes(dir, bytes);
    EXPECT_EQ(r.result, 0);
    ExpectSamples(r.records, c.records);
  }
}

TEST(RiffWalk, RiffFormAfterAPrefixIsWalkedWithAbsolutePositions) {
  TempFolder dir;
  TestAvi avi = ThreeStreamAvi("ADAS", IndexOffsets::kAbsolute, 1);
  avi.prefix = 100;
  auto r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 1);
  ExpectSamples(r.records, 1);

  avi = ThreeStreamAvi("XBLB", IndexOffsets::kRelativeToMovi, 4);
  avi.prefix = 100;
  r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 1);
  ExpectSamples(r.records, 4);

  // The signature must start within the first 184 bytes.
  avi.prefix = 184;
  r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 0);
  EXPECT_TRUE(r.records.empty());
  avi.prefix = 183;
  r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 1);
  EXPECT_EQ(r.records.size(), 4u);
}

TEST(RiffWalk, FilesShorterThan200BytesOrWithoutSignatureGiveNothing) {
  TempFolder dir;
  RiffBuilder tiny;
  tiny.BeginRiff().BeginList("hdrl").End().End();
  auto r = ScanBytes(dir, tiny.Data());
  EXPECT_EQ(r.result, 0);
  EXPECT_TRUE(r.records.empty());

  // "RIFF" with another form type is not an AVI.
  std::vector<std::uint8_t> wave = BuildAvi(ThreeStreamAvi("ADAS", IndexOffsets::kAbsolute, 3));
  std::memcpy(&wave[8], "WAVE", 4);
  r = ScanBytes(dir, wave);
  EXPECT_EQ(r.result, 0);
  EXPECT_TRUE(r.records.empty());

  CFileTypeN missing;
  missing.SetFileName(dir / "does-not-exist.avi");
  EXPECT_EQ(missing.ScanUserData(), 0);
  EXPECT_EQ(missing.GetUserDataCount(), 0);
  EXPECT_EQ(missing.Open(), -1);
  EXPECT_EQ(missing.GetVideoStreamCount(), -1);
}

TEST(RiffWalk, IndexWithoutMatchingEntriesStillCountsAsLocated) {
  TempFolder dir;
  TestAvi avi = ThreeStreamAvi("ADAS", IndexOffsets::kAbsolute, 0);
  avi.chunks = {{"00dc", std::vector<std::uint8_t>(10, 1)}};
  const auto path = dir / "empty.avi";
  WriteFile(path, BuildAvi(avi));
  CFileTypeN reader;
  reader.SetFileName(path);
  EXPECT_EQ(reader.ScanUserData(), 1);
  EXPECT_EQ(reader.GetUserDataCount(), 0);
  std::uint8_t buffer[16];
  std::uint32_t length = sizeof buffer, cts = 0;
  EXPECT_EQ(reader.GetNextUserData(buffer, &length, &cts), kE_FAIL);  // no records at all
}

TEST(UserDataCursor, TooSmallBufferLosesTheRecordAndEndIs38) {
  TempFolder dir;
  const auto path = dir / "cursor.avi";
  WriteFile(path, BuildAvi(ThreeStreamAvi("ADAS", IndexOffsets::kAbsolute, 3)));
  CFileManager manager;
  ASSERT_EQ(manager.Open(path), 1);
  ASSERT_EQ(manager.GetUserDataCount(), 3);

  std::uint8_t buffer[64];
  std::memset(buffer, 0x5A, sizeof buffer);
  const std::uint32_t length0 = static_cast<std::uint32_t>(Sample(0).size());
  std::uint32_t length = 4, cts = 777;
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), kE_FAIL);
  EXPECT_EQ(length, length0 - 4);
  EXPECT_EQ(cts, 777u);        // untouched
  EXPECT_EQ(buffer[0], 0x5A);  // nothing copied

  // The cursor moved on: the next call hands out record 1.
  length = sizeof buffer;
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), 0);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + length), Sample(1));
  EXPECT_EQ(cts, 100u);

  // An exactly fitting buffer is enough.
  length = static_cast<std::uint32_t>(Sample(2).size());
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), 0);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + length), Sample(2));
  EXPECT_EQ(cts, 200u);

  length = sizeof buffer;
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), kNoMoreRecords);
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), kNoMoreRecords);
  // The count does not change as records are handed out.
  EXPECT_EQ(manager.GetUserDataCount(), 3);
}

TEST(FileManager, AnswersWithNothingOpen) {
  CFileManager manager;
  EXPECT_EQ(manager.GetDuration(), -1);
  EXPECT_EQ(manager.GetVideoStreamCount(), -1);
  EXPECT_EQ(manager.GetUserDataCount(), 0);
  std::uint8_t buffer[8];
  std::uint32_t length = sizeof buffer, cts = 0;
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), kE_FAIL);
  EXPECT_EQ(manager.Close(), 0);
  EXPECT_EQ(kE_FAIL, static_cast<std::int32_t>(0x80004005));
}

// A missing file and a file that is no media both open, without video,
// duration or records; a later Close still reports the open file.
TEST(FileManager, UnreadableFilesOpenWithoutStreamsOrRecords) {
  TempFolder dir;
  WriteFile(dir / "text.avi", Bytes(std::string(5000, 'z')));
  for (const char* name : {"missing.avi", "text.avi"}) {
    SCOPED_TRACE(name);
    CFileManager manager;
    EXPECT_EQ(manager.Open(dir / name), 1);
    EXPECT_EQ(manager.GetVideoStreamCount(), -1);
    EXPECT_EQ(manager.GetDuration(), 0);
    EXPECT_EQ(manager.GetUserDataCount(), 0);
    EXPECT_EQ(manager.Close(), 1);
    EXPECT_EQ(manager.GetDuration(), -1);
  }
}

TEST(FileManager, ReopenReplacesTheRecordsAndCloseFreesThem) {
  TempFolder dir;
  WriteFile(dir / "a.avi", BuildAvi(ThreeStreamAvi("ADAS", IndexOffsets::kAbsolute, 3)));
  WriteFile(dir / "b.avi", BuildAvi(ThreeStreamAvi("XBLB", IndexOffsets::kRelativeToMovi, 5)));
  CFileManager manager;
  ASSERT_EQ(manager.Open(dir / "a.avi"), 1);
  EXPECT_EQ(manager.GetUserDataCount(), 3);
  std::uint8_t buffer[64];
  std::uint32_t length = sizeof buffer, cts = 0;
  ASSERT_EQ(manager.GetNextUserData(buffer, &length, &cts), 0);
  ASSERT_EQ(manager.Open(dir / "b.avi"), 1);
  EXPECT_EQ(manager.GetUserDataCount(), 5);
  // A fresh reader starts at the first record again.
  length = sizeof buffer;
  ASSERT_EQ(manager.GetNextUserData(buffer, &length, &cts), 0);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + length), Sample(0));
  EXPECT_EQ(manager.Close(), 1);
  EXPECT_EQ(manager.GetUserDataCount(), 0);
}

}  // namespace
}  // namespace lumora::test
