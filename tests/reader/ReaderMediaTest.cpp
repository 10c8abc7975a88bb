// The reader on real media made by the ffmpeg CLI (of known stream counts and
// lengths), and the lumora-cli probe and records commands.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CFileManager.h"
#include "engine/UserData.h"
#include "tests/reader/RiffBuilder.h"
#include "tests/support/Cli.h"

namespace lumora::test {
namespace {

// A two-second MP4 of one video and a three-second AVI of two videos and
// sound without user data; the MP4 also under a path well past 260 bytes and
// not ASCII (never cut into another name) and under a name that would mean a
// protocol to the media library. Each opens, even when it is no media.
TEST(MediaFiles, StreamsDurationAndRecordsOfEachFile) {
  TempFolder dir;
  const std::string ff = "ffmpeg -nostdin -y -v error -f lavfi -i testsrc=size=320x240:rate=10 ";
  const std::string x264 = "-c:v libx264 -preset ultrafast ";
  const auto mp4 = dir / "clip.mp4", avi = dir / "two.avi";
  ASSERT_EQ(RunCommand(ff + "-t 2 " + x264 + Quote(mp4.string())).exitCode, 0);
  ASSERT_EQ(RunCommand(ff +
                       "-f lavfi -i testsrc2=size=160x120:rate=10 -f lavfi -i "
                       "sine=frequency=440:sample_rate=8000 -map 0 -map 1 -map 2 -t 3 " +
                       x264 + "-c:a pcm_s16le " + Quote(avi.string()))
                .exitCode,
            0);
  std::filesystem::path deep = dir.path();
  for (int i = 0; i < 8; ++i) deep /= std::string(40, static_cast<char>('a' + i));
  std::filesystem::create_directories(deep);
  std::filesystem::copy_file(mp4, deep / "録画 ファイル.mp4");
  std::filesystem::copy_file(mp4, dir / "http:clip.mp4");
  WriteFile(dir / "text.avi", Bytes(std::string(5000, 'z')));
  struct Row {
    std::filesystem::path file;
    int videos;
    std::int64_t duration;
  };
  for (const Row& row :
       {Row{mp4, 1, 2000}, Row{avi, 2, 3000}, Row{deep / "録画 ファイル.mp4", 1, 2000},
        Row{dir / "http:clip.mp4", 1, 2000},
        // A missing file or one that is no media opens without video.
        Row{dir / "missing.avi", -1, 0}, Row{dir / "text.avi", -1, 0}}) {
    SCOPED_TRACE(row.file.string());
    CFileManager manager;
    ASSERT_EQ(manager.Open(row.file), 1);
    EXPECT_EQ(manager.GetVideoStreamCount(), row.videos);
    EXPECT_NEAR(static_cast<double>(manager.GetDuration()), row.duration, 1.0);
    EXPECT_EQ(manager.GetUserDataCount(), 0);
    std::uint8_t buffer[8];
    std::uint32_t length = sizeof buffer, cts = 0;
    EXPECT_EQ(manager.GetNextUserData(buffer, &length, &cts), kE_FAIL);  // no records at all
  }
  const auto r = RunCli("probe " + Quote(avi.string()));
  ASSERT_EQ(r.exitCode, 0);
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j.at("video_streams").get<int>(), 2);
  EXPECT_NEAR(j.at("duration_ms").get<double>(), 3000.0, 1.0);
  EXPECT_EQ(j.at("user_data_records").get<int>(), 0);
  EXPECT_EQ(j.size(), 3u);
  EXPECT_EQ(RunCli("probe /nonexistent/file.avi").exitCode, 2);
  EXPECT_EQ(RunCli("probe").exitCode, 2);
  EXPECT_EQ(RunCli("records " + Quote(dir.path().string())).exitCode, 2);
}

TEST(CliRecords, PrintsEveryRecordInOrderAsJsonLines) {
  TempFolder dir;
  TestAvi avi;
  avi.streams = {{"vids", "H264"}, {"txts", "ADAS"}};
  const auto sentence =
      Bytes(std::string("$GPRMC,123519,A,4807.038,N,01131.000,E*6A\r\n\0\0\0", 46));
  avi.chunks = {{"00dc", Bytes("frame")},
                {"01tx", {'M', 0x01, 0xFF, 0x10, 0x00, 0x7F}},
                {"01tx", sentence},
                {"01tx", std::vector<std::uint8_t>(3000, 'A')},  // past a 1024-byte buffer
                {"01tx", {0xC3, 0x28, 0x00, 0x99}},
                {"01tx", {}}};
  WriteFile(dir / "rec.avi", BuildAvi(avi));
  const auto r = RunCli("records " + Quote((dir / "rec.avi").string()));
  ASSERT_EQ(r.exitCode, 0);
  std::vector<nlohmann::json> lines;
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(lines.size(), 5u);
  std::string hex41;
  for (int i = 0; i < 3000; ++i) hex41 += "41";
  const nlohmann::json expected[] = {
      {{"kind", "M"}, {"length", 6}, {"hex", "4d01ff10007f"}},
      {{"kind", "$"},
       {"length", sentence.size()},
       {"text", "$GPRMC,123519,A,4807.038,N,01131.000,E*6A"}},
      {{"kind", "A"}, {"length", 3000}, {"hex", hex41}},
      {{"kind", "other"}, {"length", 4}, {"hex", "c3280099"}},
      {{"kind", "other"}, {"length", 0}, {"hex", ""}},
  };
  for (std::size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(lines[i].at("index").get<std::size_t>(), i);
    EXPECT_EQ(lines[i].at("cts").get<std::size_t>(), 100 * i);
    for (const auto& [key, value] : expected[i].items()) EXPECT_EQ(lines[i].at(key), value) << key;
  }
  EXPECT_FALSE(lines[0].contains("text"));
  // A recording without user data prints nothing and succeeds.
  WriteFile(dir / "none.avi", BuildAvi({0, {{"vids", "H264"}}, {{"00dc", Bytes("frame")}}}));
  const auto none = RunCli("records " + Quote((dir / "none.avi").string()));
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.out, "");
}

}  // namespace
}  // namespace lumora::test
