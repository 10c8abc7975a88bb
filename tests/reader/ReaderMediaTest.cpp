// The reader on real media made by the ffmpeg CLI (of known stream counts and
// lengths) and the lumora-cli probe / records commands.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CFileManager.h"
#include "engine/CFileTypeN.h"
#include "tests/reader/ReaderTestUtil.h"
#include "tests/reader/RiffBuilder.h"
#include "tests/support/Cli.h"

namespace lumora::test {
namespace {

// Files made once for the whole suite: a short MP4 and a two-channel AVI
// with sound and no user data.
class MediaFiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = std::make_unique<TempFolder>();
    const std::string ff = "ffmpeg -nostdin -y -v error ";
    const std::string mp4 = (s_dir->path() / "clip.mp4").string();
    const std::string avi = (s_dir->path() / "two.avi").string();
    s_ok =
        RunCommand(ff +
                   "-f lavfi -i testsrc=size=320x240:rate=10 -t 2 -c:v libx264 -preset ultrafast " +
                   Quote(mp4))
                .exitCode == 0 &&
        RunCommand(ff +
                   "-f lavfi -i testsrc=size=320x240:rate=10 -f lavfi -i "
                   "testsrc2=size=160x120:rate=10 -f lavfi -i sine=frequency=440:sample_rate=8000 "
                   "-map 0 -map 1 -map 2 -t 3 -c:v libx264 -preset ultrafast -c:a pcm_s16le " +
                   Quote(avi))
                .exitCode == 0;
  }
  static void TearDownTestSuite() { s_dir.reset(); }

  static std::filesystem::path Mp4() { return s_dir->path() / "clip.mp4"; }
  static std::filesystem::path Avi() { return s_dir->path() / "two.avi"; }

  static std::unique_ptr<TempFolder> s_dir;
  static bool s_ok;
};

std::unique_ptr<TempFolder> MediaFiles::s_dir;
bool MediaFiles::s_ok = false;

TEST_F(MediaFiles, Mp4HasOneVideoOfTwoSecondsAndNoRecords) {
  ASSERT_TRUE(s_ok) << "ffmpeg could not make the test media";
  CFileManager manager;
  ASSERT_EQ(manager.Open(Mp4()), 1);
  EXPECT_EQ(manager.GetVideoStreamCount(), 1);
  EXPECT_EQ(manager.GetDuration(), 2000);  // 20 frames at 10 a second
  EXPECT_EQ(manager.GetUserDataCount(), 0);

  CFileTypeN reader;
  reader.SetFileName(Mp4());
  EXPECT_EQ(reader.ScanUserData(), 0);
}

TEST_F(MediaFiles, TwoChannelAviHasTwoVideosOfThreeSeconds) {
  ASSERT_TRUE(s_ok) << "ffmpeg could not make the test media";
  CFileManager manager;
  ASSERT_EQ(manager.Open(Avi()), 1);
  EXPECT_EQ(manager.GetVideoStreamCount(), 2);
  EXPECT_NEAR(static_cast<double>(manager.GetDuration()), 3000.0, 1.0);
  EXPECT_EQ(manager.GetUserDataCount(), 0);

  // An AVI without a private text stream: the walk stops at the header list.
  CFileTypeN reader;
  reader.SetFileName(Avi());
  EXPECT_EQ(reader.ScanUserData(), 0);
  EXPECT_EQ(reader.GetUserDataCount(), 0);
}

TEST_F(MediaFiles, LongAndNonAsciiPathsOpenTheRightFile) {
  ASSERT_TRUE(s_ok) << "ffmpeg could not make the test media";
  // Well past 260 bytes: the path is never cut short into another name.
  std::filesystem::path deep = s_dir->path();
  for (int i = 0; i < 8; ++i) deep /= std::string(40, static_cast<char>('a' + i));
  std::filesystem::create_directories(deep);
  const auto longPath = deep / "録画 ファイル.mp4";
  ASSERT_GT(longPath.string().size(), 300u);
  std::filesystem::copy_file(Mp4(), longPath);
  CFileManager manager;
  ASSERT_EQ(manager.Open(longPath), 1);
  EXPECT_EQ(manager.GetVideoStreamCount(), 1);
  EXPECT_EQ(manager.GetDuration(), 2000);

  // A file whose name would mean a protocol to the media library.
  const auto odd = s_dir->path() / "http:clip.mp4";
  std::filesystem::copy_file(Mp4(), odd);
  ASSERT_EQ(manager.Open(odd), 1);
  EXPECT_EQ(manager.GetVideoStreamCount(), 1);
}

TEST_F(MediaFiles, CliProbePrintsTheReadersValues) {
  ASSERT_TRUE(s_ok) << "ffmpeg could not make the test media";
  const auto r = RunCli("probe " + Quote(Avi().string()));
  ASSERT_EQ(r.exitCode, 0);
  const auto j = nlohmann::json::parse(r.out);
  EXPECT_EQ(j.at("video_streams").get<int>(), 2);
  EXPECT_NEAR(j.at("duration_ms").get<double>(), 3000.0, 1.0);
  EXPECT_EQ(j.at("user_data_records").get<int>(), 0);
  EXPECT_EQ(j.size(), 3u);

  EXPECT_EQ(RunCli("probe /nonexistent/file.avi").exitCode, 2);
  EXPECT_EQ(RunCli("probe").exitCode, 2);
  EXPECT_EQ(RunCli("records " + Quote(s_dir->path().string())).exitCode, 2);
}

// Recordings without idx1 (one and two channels) and the recording a power
// cut leaves (sizes 0, file cut at 70 % inside a chunk) give the intact
// recording's fixes and G samples up to the cut, and a duration up to it.
TEST(CliTrack, IndexlessAndPowerCutRecordingsGiveTheIntactTrack) {
  TempFolder dir;
  const std::string mkcard = std::string(LUMORA_BINARY_DIR) +
                             "/tools/mkcard/lumora-mkcard --recording --seconds 4 --fps 10 "
                             "--front 160x96 --rear 160x96 ";
  const auto run = [&](const std::string& command, const std::string& file) {
    const std::string path = Quote((dir / file).string());
    EXPECT_EQ(RunCommand(mkcard + command + " " + path).exitCode, 0) << file;
    const CliResult track = RunCli("track " + path);
    const CliResult probe = RunCli("probe " + path);
    EXPECT_EQ(track.exitCode, 0) << file;
    nlohmann::json j = nlohmann::json::parse(track.out, nullptr, false);
    j["duration_ms"] = nlohmann::json::parse(probe.out, nullptr, false).value("duration_ms", -1);
    return j;
  };
  const nlohmann::json intact[] = {run("--channels 1", "one.avi"), run("", "two.avi")};
  struct Row {
    const char* options;
    int channels;
    bool cut;
  };
  const Row rows[] = {{"--channels 1 --no-index", 1, false},
                      {"--no-index", 2, false},
                      {"--channels 1 --cut 0.7", 1, true},
                      {"--cut 0.7", 2, true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.options);
    const nlohmann::json& whole = intact[row.channels - 1];
    const nlohmann::json got = run(row.options, "variant.avi");
    ASSERT_EQ(whole.at("gps").size(), 4u);
    ASSERT_EQ(whole.at("gsensor").size(), 40u);
    for (const char* part : {"gps", "gsensor"}) {
      const auto& mine = got.at(part);
      if (row.cut) {
        EXPECT_GT(mine.size(), 0u) << part;
        EXPECT_LT(mine.size(), whole.at(part).size()) << part;
      } else {
        EXPECT_EQ(mine.size(), whole.at(part).size()) << part;
      }
      for (std::size_t i = 0; i < mine.size() && i < whole.at(part).size(); ++i) {
        EXPECT_EQ(mine[i], whole.at(part)[i]) << part << " " << i;
      }
    }
    // 40 frames at 10 frames a second; cut at 70 %, some 25 to 30 frames remain.
    EXPECT_EQ(whole.at("duration_ms"), 4000);
    if (row.cut) {
      EXPECT_GE(got.at("duration_ms").get<int>(), 2500);
      EXPECT_LE(got.at("duration_ms").get<int>(), 3000);
    } else {
      EXPECT_EQ(got.at("duration_ms"), 4000);
    }
  }
}

TEST(CliRecords, PrintsEveryRecordInOrderAsJsonLines) {
  TempFolder dir;
  TestAvi avi;
  avi.streams = {{"vids", "H264"}, {"txts", "ADAS"}};
  const std::vector<std::uint8_t> gsensor = {'M', 0x01, 0xFF, 0x10, 0x00, 0x7F};
  std::vector<std::uint8_t> sentence = Bytes("$GPRMC,123519,A,4807.038,N,01131.000,E*6A\r\n");
  sentence.insert(sentence.end(), {0, 0, 0});
  std::vector<std::uint8_t> large(3000, 'A');  // bigger than a 1024-byte buffer
  avi.chunks = {
      {"00dc", Bytes("frame")},           {"01tx", gsensor}, {"01tx", sentence}, {"01tx", large},
      {"01tx", {0xC3, 0x28, 0x00, 0x99}}, {"01tx", {}}};
  WriteFile(dir / "rec.avi", BuildAvi(avi));

  const auto r = RunCli("records " + Quote((dir / "rec.avi").string()));
  ASSERT_EQ(r.exitCode, 0);
  std::vector<nlohmann::json> lines;
  std::istringstream in(r.out);
  for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
  ASSERT_EQ(lines.size(), 5u);
  for (std::size_t i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].at("index").get<int>(), static_cast<int>(i));
    EXPECT_EQ(lines[i].at("cts").get<std::uint32_t>(), 100 * i);
  }
  EXPECT_EQ(lines[0].at("kind"), "M");
  EXPECT_EQ(lines[0].at("length"), 6);
  EXPECT_EQ(lines[0].at("hex"), "4d01ff10007f");
  EXPECT_FALSE(lines[0].contains("text"));
  EXPECT_EQ(lines[1].at("kind"), "$");
  EXPECT_EQ(lines[1].at("length"), sentence.size());
  EXPECT_EQ(lines[1].at("text"), "$GPRMC,123519,A,4807.038,N,01131.000,E*6A");
  EXPECT_EQ(lines[2].at("kind"), "A");
  EXPECT_EQ(lines[2].at("length"), 3000);
  std::string hex41;
  for (int i = 0; i < 3000; ++i) hex41 += "41";
  EXPECT_EQ(lines[2].at("hex").get<std::string>(), hex41);
  EXPECT_EQ(lines[3].at("kind"), "other");
  EXPECT_EQ(lines[3].at("hex"), "c3280099");
  EXPECT_EQ(lines[4].at("kind"), "other");
  EXPECT_EQ(lines[4].at("length"), 0);
  EXPECT_EQ(lines[4].at("hex"), "");

  // A recording without user data prints nothing and succeeds.
  avi.streams = {{"vids", "H264"}};
  avi.chunks = {{"00dc", Bytes("frame")}};
  WriteFile(dir / "none.avi", BuildAvi(avi));
  const auto none = RunCli("records " + Quote((dir / "none.avi").string()));
  EXPECT_EQ(none.exitCode, 0);
  EXPECT_EQ(none.out, "");
}

}  // namespace
}  // namespace lumora::test
