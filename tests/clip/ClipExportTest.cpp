// lumora-cli export on recordings from the card generator: the clip's
// pictures are a run of the original's (ffmpeg framemd5), its driving data
// reads back through lumora-cli track, consecutive recordings join, and
// every failure leaves nothing behind.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "engine/CClipExport.h"
#include "tests/support/Cli.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::RunCli;

// Standard output of a shell command.
std::string Shell(const std::string& command) { return test::RunCommand(command).out; }

// The MD5 of every picture of a file's first video channel, by ffmpeg.
std::vector<std::string> FrameMd5(const fs::path& file) {
  std::istringstream in(Shell("ffmpeg -nostdin -loglevel error -i " + Quote(file.string()) +
                              " -map 0:v:0 -f framemd5 - 2>/dev/null"));
  std::vector<std::string> sums;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') sums.push_back(line.substr(line.rfind(',') + 2));
  }
  return sums;
}

double Duration(const fs::path& file, const char* stream) {
  const std::string out = Shell(
      std::string("ffprobe -v error -select_streams ") + stream +
      " -count_packets -show_entries stream=nb_read_packets -of csv=p=0 " + Quote(file.string()));
  return out.empty() ? -1.0 : std::stod(out);
}

class ClipExport : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new fs::path(fs::temp_directory_path() /
                         ("lumora-clip-" + std::to_string(std::random_device{}())));
    fs::create_directories(*s_dir);
    s_truth = new std::vector<RecordingTruth>(4);
    // An 8 s recording, two consecutive 4 s ones of another drive, and an
    // index-less one; 10 pictures a second, a key frame each second.
    const struct {
      const char* name;
      int seconds;
      double offset;
      bool index;
    } files[] = {{"a.avi", 8, 0, true},
                 {"b1.avi", 4, 0, true},
                 {"b2.avi", 4, 4, true},
                 {"cut.avi", 4, 0, false}};
    for (std::size_t i = 0; i < 4; ++i) {
      RecordingOptions o;
      o.seed = i == 0 ? 3 : 5;
      o.seconds = files[i].seconds;
      o.fps = 10;
      o.front_width = 160;
      o.front_height = 90;
      o.rear_width = 96;
      o.rear_height = 54;
      o.drive_offset_s = files[i].offset;
      o.start = AddSeconds(o.start, static_cast<std::int64_t>(files[i].offset));
      o.with_index = files[i].index;
      std::string error;
      if (!WriteRecording(*s_dir / files[i].name, o, &error, &(*s_truth)[i])) {
        ADD_FAILURE() << error;
      }
    }
  }
  static void TearDownTestSuite() {
    fs::remove_all(*s_dir);
    delete s_dir;
    delete s_truth;
  }
  static std::string In(const char* name) { return Quote((*s_dir / name).string()); }
  static fs::path Out(const std::string& name) { return Folder("out") / name; }
  // A folder of its own for the outputs of one test.
  static fs::path Folder(const char* name) {
    fs::create_directories(*s_dir / name);
    return *s_dir / name;
  }
  static inline fs::path* s_dir = nullptr;
  static inline std::vector<RecordingTruth>* s_truth = nullptr;
};

TEST_F(ClipExport, LosslessClipIsARunOfTheOriginalWithItsFixes) {
  const fs::path clip = Out("mid.avi");
  const auto r =
      RunCli("export " + In("a.avi") + " --from 2.5 --to 5.5 -o " + Quote(clip.string()));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  const auto summary = nlohmann::json::parse(r.out);
  EXPECT_DOUBLE_EQ(summary["start"].get<double>(), 2.0);  // the key frame before 2.5 s
  EXPECT_DOUBLE_EQ(summary["end"].get<double>(), 5.5);
  ASSERT_EQ(summary["streams"].size(), 4u);
  EXPECT_EQ(summary["streams"][0]["packets"], 35);
  // Front pictures: frames 20..54 of the original, bit for bit.
  const auto original = FrameMd5(*s_dir / "a.avi");
  const auto cut = FrameMd5(clip);
  ASSERT_EQ(cut.size(), 35u);
  EXPECT_EQ(cut, std::vector<std::string>(original.begin() + 20, original.begin() + 55));
  // Sound from 2.0 to 5.5 s at 8000 samples a second, cut to the sample.
  EXPECT_EQ(Shell("ffprobe -v error -select_streams a -show_entries stream=nb_frames -of csv=p=0 " +
                  Quote(clip.string())),
            "28000\n");
  // The driving data reads back with the original's fixes from 2.0 s on,
  // re-stamped from the clip's start.
  const auto track = RunCli("track " + Quote(clip.string()));
  ASSERT_EQ(track.exitCode, 0);
  const auto gps = nlohmann::json::parse(track.out)["gps"];
  const auto& fixes = (*s_truth)[0].fixes;
  ASSERT_EQ(gps.size(), 4u);  // fixes at 2, 3, 4, 5 s
  for (std::size_t i = 0; i < gps.size(); ++i) {
    const GpsFixTruth& f = fixes[i + 2];
    EXPECT_EQ(gps[i]["cts"].get<std::uint32_t>(), f.cts_ms - 2000);
    EXPECT_DOUBLE_EQ(gps[i]["lat"].get<double>(), f.lat_nmea);
    EXPECT_DOUBLE_EQ(gps[i]["lon"].get<double>(), f.lon_nmea);
  }
  std::size_t records = 0;
  for (const UserRecordTruth& rec : (*s_truth)[0].records) {
    records += rec.cts_ms >= 2000 && rec.cts_ms < 5500 ? 1 : 0;
  }
  EXPECT_EQ(summary["records"], records);
}

TEST_F(ClipExport, ConsecutiveRecordingsJoinWithBothFixes) {
  const fs::path clip = Out("joined.avi");
  const auto r = RunCli("export " + In("b1.avi") + " " + In("b2.avi") + " --from 0 --to 8 -o " +
                        Quote(clip.string()));
  ASSERT_EQ(r.exitCode, 0) << r.out;
  EXPECT_EQ(Duration(clip, "v:0"), 80);
  EXPECT_EQ(Duration(clip, "v:1"), 80);
  EXPECT_EQ(FrameMd5(clip).size(), 80u);
  const auto gps = nlohmann::json::parse(RunCli("track " + Quote(clip.string())).out)["gps"];
  ASSERT_EQ(gps.size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    const GpsFixTruth& f = (*s_truth)[1 + i / 4].fixes[i % 4];
    EXPECT_EQ(gps[i]["cts"].get<std::uint32_t>(), i * 1000);
    EXPECT_DOUBLE_EQ(gps[i]["lat"].get<double>(), f.lat_nmea);
  }
  // A clip across the join starts in the first and ends in the second.
  const auto across = RunCli("export " + In("b1.avi") + " " + In("b2.avi") +
                             " --from 3.2 --to 5.5 -o " + Quote(Out("across.avi").string()));
  ASSERT_EQ(across.exitCode, 0);
  EXPECT_EQ(Duration(Out("across.avi"), "v:0"), 25);
}

TEST_F(ClipExport, IndexLessRecordingExportsWhatItHas) {
  const fs::path clip = Out("cut.avi");
  const auto r = RunCli("export " + In("cut.avi") + " --from 1 --to 3 -o " + Quote(clip.string()));
  ASSERT_EQ(r.exitCode, 0);
  EXPECT_EQ(FrameMd5(clip).size(), 20u);
  EXPECT_EQ(nlohmann::json::parse(RunCli("track " + Quote(clip.string())).out)["gps"].size(), 2u);
}

TEST_F(ClipExport, BadInputIsRefusedAndLeavesNothingBehind) {
  const fs::path folder = Folder("bad");
  const std::string out = Quote((folder / "bad.avi").string());
  const struct {
    std::string args;
    int exitCode;
    bool sizeLimit;  // a file-size limit makes writing fail as a full disk does
  } rows[] = {
      {In("a.avi") + " --from 9 --to 12 -o " + out, 2, false},                // after the end
      {In("a.avi") + " --from 3 --to 2 -o " + out, 2, false},                 // reversed
      {In("a.avi") + " /no/such.avi --from 0 --to 1 -o " + out, 2, false},    // missing
      {In("a.avi") + " --from 0 --to 1 -o " + In("a.avi"), 2, false},         // an input
      {In("a.avi") + " --from 0 --to 1 -o /no/such/folder/x.avi", 1, false},  // no folder
      {In("a.avi") + " --from 0 --to 8 -o " + out, 1, true},                  // disk full
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args);
    const std::string command = std::string(row.sizeLimit ? "ulimit -f 20; " : "") + "'" +
                                test::CliPath() + "' export " + row.args + " >/dev/null 2>&1";
    const int status = std::system(("sh -c " + Quote(command)).c_str());
    EXPECT_EQ(WEXITSTATUS(status), row.exitCode);
    EXPECT_TRUE(fs::is_empty(folder));
  }
  EXPECT_EQ(FrameMd5(*s_dir / "a.avi").size(), 80u);  // the input is untouched
}

TEST_F(ClipExport, MismatchingRecordingIsNamed) {
  RecordingOptions o;
  o.fps = 10;
  o.front_width = 320;
  o.front_height = 180;
  o.seconds = 2;
  std::string error;
  ASSERT_TRUE(WriteRecording(*s_dir / "other.avi", o, &error));
  ClipExportRequest request;
  request.inputs = {*s_dir / "a.avi", *s_dir / "other.avi"};
  request.toUs = 9000000;
  request.output = Folder("mismatch") / "x.avi";
  std::atomic<bool> cancel{false};
  const ClipExportResult r = CClipExport::Run(request, {}, cancel);
  EXPECT_EQ(r.status, ClipExportResult::Status::kBadInput);
  EXPECT_NE(r.message.find("other.avi"), std::string::npos) << r.message;
  EXPECT_TRUE(fs::is_empty(Folder("mismatch")));
}

TEST_F(ClipExport, CancellingRemovesThePartialClip) {
  ClipExportRequest request;
  request.inputs = {*s_dir / "a.avi"};
  request.toUs = 8000000;
  request.output = Folder("cancel") / "cancelled.avi";
  std::atomic<bool> cancel{false};
  double last = 0;
  const ClipExportResult r = CClipExport::Run(
      request,
      [&](double fraction) {
        last = fraction;
        if (fraction >= 0.5) cancel = true;
      },
      cancel);
  EXPECT_EQ(r.status, ClipExportResult::Status::kCancelled);
  EXPECT_GE(last, 0.5);
  EXPECT_LT(last, 1.0);
  EXPECT_TRUE(fs::is_empty(Folder("cancel")));
}

}  // namespace
}  // namespace lumora
