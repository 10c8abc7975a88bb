// The RIFF walk of the container reader on files built in the test: stream
// selection, index base, time stamps, the sequential scan of files without an
// index, and handing records out.

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/CFileManager.h"
#include "engine/UserData.h"
#include "tests/reader/RiffBuilder.h"

namespace lumora::test {
namespace {

// Video, sound and user data as the camera writes them: user data is "02tx".
TestAvi ThreeStreams(const std::string& handler, IndexOffsets index, int records) {
  return Interleaved({{"vids", "H264"}, {"auds", std::string(4, '\0')}, {"txts", handler}},
                     {"00dc", "01wb", "02tx"}, "02tx", index, records);
}

TestAvi After(std::size_t prefix, TestAvi avi) {
  avi.prefix = prefix;
  return avi;
}

TEST(RiffWalk, StreamSelectionAndIndexBase) {
  enum Expect { kRight, kWrong, kNothing };
  using enum IndexOffsets;
  const std::vector<TestStream> oneUser = {{"vids", "H264"}, {"txts", "USER"}};
  std::vector<TestStream> twoUsers = oneUser;
  twoUsers.push_back({"txts", "USER"});
  const std::vector<std::string> userIds = {"00dc", "01tx", "09tx"};
  struct Row {
    const char* name;
    TestAvi avi;
    int result;
    Expect expect;
  };
  const Row rows[] = {
      // XBLB offsets count from the movi list type, ADAS and USER ones from
      // the file start; read with the other base the records come out wrong.
      {"XBLB relative", ThreeStreams("XBLB", kRelativeToMovi, 6), 1, kRight},
      {"XBLB absolute", ThreeStreams("XBLB", kAbsolute, 6), 1, kWrong},
      {"ADAS absolute", ThreeStreams("ADAS", kAbsolute, 6), 1, kRight},
      {"ADAS relative", ThreeStreams("ADAS", kRelativeToMovi, 6), 1, kWrong},
      // Without an index the selected stream is collected whatever its number.
      {"XBLB, no index", ThreeStreams("XBLB", kNone, 6), 0, kRight},
      // The camera's user data is the second USER stream, "09tx".
      {"two USER", Interleaved(twoUsers, userIds, "09tx", kAbsolute, 5), 1, kRight},
      {"two USER, no index", Interleaved(twoUsers, userIds, "09tx", kNone, 5), 0, kRight},
      {"one USER", Interleaved(oneUser, userIds, "09tx", kAbsolute, 4), 0, kNothing},
      {"one USER, no index", Interleaved(oneUser, userIds, "09tx", kNone, 4), 0, kNothing},
      // The form may start after other bytes, its signature within the first
      // 184; the index offsets stay absolute to the file or relative to movi.
      {"XBLB after 183", After(183, ThreeStreams("XBLB", kRelativeToMovi, 4)), 1, kRight},
      {"ADAS after 100", After(100, ThreeStreams("ADAS", kAbsolute, 4)), 1, kRight},
      {"ADAS after 184", After(184, ThreeStreams("ADAS", kAbsolute, 4)), 0, kNothing},
      // An index without entries of the stream still counts as read.
      {"no records", ThreeStreams("ADAS", kAbsolute, 0), 1, kNothing},
      // The last qualifying stream is kept, with its index base.
      {"ADAS then XBLB",
       Interleaved({{"txts", "ADAS"}, {"vids", "H264"}, {"txts", "XBLB"}}, {"00tx", "01dc", "02tx"},
                   "02tx", kRelativeToMovi, 3),
       1, kRight},
  };
  TempFolder dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const auto r = ScanBytes(dir, BuildAvi(row.avi));
    EXPECT_EQ(r.result, row.result);
    const int count = static_cast<int>(row.avi.chunks.size() / 3);
    if (row.expect != kWrong) {
      EXPECT_EQ(r.records, FirstSamples(row.expect == kRight ? count : 0));
    }
    if (row.expect == kWrong) {
      ASSERT_FALSE(r.records.empty());
      for (std::size_t i = 0; i < r.records.size(); ++i) {
        EXPECT_NE(r.records[i].data, Sample(static_cast<int>(i)));
      }
    }
  }
  // "RIFF" of another form than AVI is no recording.
  std::vector<std::uint8_t> wave = BuildAvi(ThreeStreams("ADAS", IndexOffsets::kAbsolute, 3));
  std::memcpy(&wave[8], "WAVE", 4);
  EXPECT_TRUE(ScanBytes(dir, wave).records.empty());
}

TEST(RiffWalk, TimeStampsComeFromScaleAndRate) {
  struct Row {
    std::uint32_t scale, rate, strhSize;
    std::uint32_t cts1, cts3;  // of records 1 and 3
  };
  const Row rows[] = {
      {1001, 30000, 56, 33, 100},
      {4000000000u, 1000, 56, 4000000000u, 3410065408u},  // 64-bit product, cut to 32 bits
      {1, 0, 56, 0, 0},                                   // no time base: all at 0 ms
      {1, 5, 28, 200, 600},  // a header that ends with the rate still gives it
  };
  TempFolder dir;
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.scale << "/" << row.rate);
    TestAvi avi = ThreeStreams("ADAS", IndexOffsets::kAbsolute, 5);
    avi.streams[2].scale = row.scale;
    avi.streams[2].rate = row.rate;
    avi.streams[2].strhSize = row.strhSize;
    const auto r = ScanBytes(dir, BuildAvi(avi));
    ASSERT_EQ(r.records.size(), 5u);
    EXPECT_EQ(r.records[0].cts, 0u);
    EXPECT_EQ(r.records[1].cts, row.cts1);
    EXPECT_EQ(r.records[3].cts, row.cts3);
  }
}

TEST(RiffWalk, WithoutIndexTheMoviListIsScannedInOrder) {
  TempFolder dir;
  TestAvi avi;
  avi.streams = {
      {"vids", "H264"}, {"vids", "H264"}, {"auds", "    "}, {"txts", "XBLB"}, {"txts", "ADAS"}};
  avi.index = IndexOffsets::kNone;
  avi.chunks = {{"00dc", std::vector<std::uint8_t>(50, 1)},
                {"03tx", Bytes("M-first")},  // odd size: the record keeps the pad byte
                {"02wb", std::vector<std::uint8_t>(8, 2)},
                {"04tx", Bytes("$GPRMC,a")},
                {"01dc", std::vector<std::uint8_t>(31, 3)},
                {"03tx", Bytes("M-third!")},
                {"zzzz", Bytes("unknown")},  // an id of no stream ends the scan
                {"03tx", Bytes("never")}};
  const auto r = ScanBytes(dir, BuildAvi(avi));
  EXPECT_EQ(r.result, 0);  // the scan does not count as a located index
  // One counter runs over every collected id.
  EXPECT_EQ(r.records, (std::vector<Record>{{Bytes(std::string("M-first\0", 8)), 0},
                                            {Bytes("$GPRMC,a"), 100},
                                            {Bytes("M-third!"), 200}}));
}

// A record too large for the offered buffer is lost (its missing length is
// reported); the end is 38; no records at all or a null argument is E_FAIL.
TEST(UserDataCursor, HandsOutRecordsInOrder) {
  TempFolder dir;
  WriteFile(dir / "a.avi", BuildAvi(ThreeStreams("ADAS", IndexOffsets::kAbsolute, 4)));
  WriteFile(dir / "b.avi", BuildAvi(ThreeStreams("XBLB", IndexOffsets::kRelativeToMovi, 5)));
  CFileManager manager;
  ASSERT_EQ(manager.Open(dir / "a.avi"), 1);
  ASSERT_EQ(manager.GetUserDataCount(), 4);
  std::uint8_t buffer[64];
  std::memset(buffer, 0x5A, sizeof buffer);
  std::uint32_t length = sizeof buffer, cts = 777;
  EXPECT_EQ(manager.GetNextUserData(buffer, nullptr, &cts), kE_FAIL);
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, nullptr), kE_FAIL);
  length = 4;
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), kE_FAIL);
  EXPECT_EQ(length, Sample(0).size() - 4);
  EXPECT_EQ(cts, 777u);
  EXPECT_EQ(buffer[0], 0x5A);
  length = sizeof buffer;
  EXPECT_EQ(manager.GetNextUserData(nullptr, &length, &cts), kE_FAIL);  // no buffer: 0 bytes
  EXPECT_EQ(length, Sample(1).size());
  length = static_cast<std::uint32_t>(Sample(2).size());  // exactly fitting
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), 0);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + length), Sample(2));
  EXPECT_EQ(cts, 200u);
  length = sizeof buffer;
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), 0);
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), kNoMoreRecords);
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), kNoMoreRecords);
  EXPECT_EQ(manager.GetUserDataCount(), 4);
  // Opening another file starts at its first record; Close frees them.
  length = sizeof buffer;
  ASSERT_EQ(manager.Open(dir / "b.avi"), 1);
  EXPECT_EQ(manager.GetUserDataCount(), 5);
  ASSERT_EQ(manager.GetNextUserData(buffer, &length, &cts), 0);
  EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + length), Sample(0));
  EXPECT_EQ(manager.Close(), 1);
  EXPECT_EQ(manager.GetUserDataCount(), 0);
  EXPECT_EQ(manager.GetDuration(), -1);
  EXPECT_EQ(manager.GetVideoStreamCount(), -1);
  EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), kE_FAIL);
  EXPECT_EQ(manager.Close(), 0);
}

}  // namespace
}  // namespace lumora::test
