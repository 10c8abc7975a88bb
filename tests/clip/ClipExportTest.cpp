// lumora-cli export of generated recordings: pictures a run of the original's
// (ffmpeg framemd5), sound cut to the sample (ffprobe), driving data as
// lumora-cli track reads it, overlays drawn in, failures leave nothing behind.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "data/CDrivingTrack.h"
#include "engine/CClipExport.h"
#include "library/CClipOverlay.h"
#include "tests/support/Cli.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
using test::Quote;
using test::RunCli;

// The MD5 of every picture of a file's first video channel, by ffmpeg.
std::vector<std::string> FrameMd5(const fs::path& file) {
  std::istringstream in(test::RunCommand("ffmpeg -nostdin -loglevel error -i " +
                                         Quote(file.string()) + " -map 0:v:0 -f framemd5 -")
                            .out);
  std::vector<std::string> sums;
  for (std::string line; std::getline(in, line);)
    if (!line.empty() && line[0] != '#') sums.push_back(line.substr(line.rfind(',') + 2));
  return sums;
}

std::string Probe(const fs::path& file, const std::string& stream, const std::string& entries) {
  return test::RunCommand("ffprobe -v error -select_streams " + stream +
                          " -count_packets -show_entries stream=" + entries + " -of csv=p=0 " +
                          Quote(file.string()))
      .out;
}

nlohmann::json Fixes(const fs::path& clip) {
  return nlohmann::json::parse(RunCli("track " + Quote(clip.string())).out)["gps"];
}

// An 8 s recording, two consecutive 4 s ones of another drive and an
// index-less one (160x90 front, 10 pictures and a key frame each second),
// and a 4 s one of 320x180 for the overlay; made once for the program.
struct Inputs {
  test::TempFolder dir;
  std::vector<RecordingTruth> truth = std::vector<RecordingTruth>(5);
  Inputs() {
    const struct {
      const char* name;
      int seconds, seed, offset, width;
      bool index;
    } files[] = {{"a.avi", 8, 3, 0, 160, true},
                 {"b1.avi", 4, 5, 0, 160, true},
                 {"b2.avi", 4, 5, 4, 160, true},
                 {"cut.avi", 4, 5, 0, 160, false},
                 {"wide.avi", 4, 1, 0, 320, true}};
    for (std::size_t i = 0; i < std::size(files); ++i) {
      RecordingOptions o;
      o.seed = static_cast<std::uint32_t>(files[i].seed);
      o.seconds = files[i].seconds;
      o.fps = 10;
      o.front_width = files[i].width;
      o.front_height = files[i].width * 9 / 16;
      o.rear_width = files[i].width == 160 ? 96 : 160;
      o.rear_height = o.rear_width * 9 / 16;
      o.drive_offset_s = files[i].offset;
      o.start = AddSeconds(o.start, files[i].offset);
      o.with_index = files[i].index;
      std::string error;
      if (!WriteRecording(dir / files[i].name, o, &error, &truth[i])) ADD_FAILURE() << error;
    }
  }
};

const Inputs& In() {
  static const Inputs inputs;
  return inputs;
}

std::string Path(const char* name) { return Quote((In().dir / name).string()); }

TEST(ClipExport, LosslessClipIsARunOfTheOriginalWithItsFixes) {
  const test::TempFolder out;
  const fs::path clip = out / "mid.avi";
  const auto r = RunCli("export " + Path("a.avi") + " --from 2.5 --to 5.5 -o " + Quote(clip));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  // From the key frame before 2.5 s: front pictures 20..54 of the original,
  // bit for bit, and the sound from 2.0 to 5.5 s at 8000 samples a second.
  const auto original = FrameMd5(In().dir / "a.avi");
  ASSERT_GE(original.size(), 55u);
  EXPECT_EQ(FrameMd5(clip), std::vector<std::string>(original.begin() + 20, original.begin() + 55));
  EXPECT_EQ(Probe(clip, "a", "nb_frames"), "28000\n");
  // The original's fixes of 2, 3, 4 and 5 s, re-stamped from the clip's start.
  const auto gps = Fixes(clip);
  const auto& truth = In().truth[0];
  ASSERT_EQ(gps.size(), 4u);
  for (std::size_t i = 0; i < gps.size(); ++i) {
    EXPECT_EQ(gps[i]["cts"].get<std::uint32_t>(), truth.fixes[i + 2].cts_ms - 2000);
    EXPECT_DOUBLE_EQ(gps[i]["lat"].get<double>(), truth.fixes[i + 2].lat_nmea);
    EXPECT_DOUBLE_EQ(gps[i]["lon"].get<double>(), truth.fixes[i + 2].lon_nmea);
  }
  std::size_t records = 0;
  for (const UserRecordTruth& rec : truth.records)
    records += rec.cts_ms >= 2000 && rec.cts_ms < 5500 ? 1 : 0;
  EXPECT_EQ(nlohmann::json::parse(r.out)["records"], records);
}

TEST(ClipExport, ConsecutiveAndIndexLessRecordings) {
  const test::TempFolder out;
  const fs::path joined = out / "joined.avi";
  ASSERT_EQ(RunCli("export " + Path("b1.avi") + " " + Path("b2.avi") + " --from 0 --to 8 -o " +
                   Quote(joined))
                .exitCode,
            0);
  auto both = FrameMd5(In().dir / "b1.avi");
  const auto second = FrameMd5(In().dir / "b2.avi");
  both.insert(both.end(), second.begin(), second.end());
  ASSERT_EQ(both.size(), 80u);
  EXPECT_EQ(FrameMd5(joined), both);
  EXPECT_EQ(Probe(joined, "v:1", "nb_read_packets"), "80\n");
  const auto gps = Fixes(joined);
  ASSERT_EQ(gps.size(), 8u);
  for (std::size_t i = 0; i < 8; ++i) {
    EXPECT_EQ(gps[i]["cts"].get<std::uint32_t>(), i * 1000);
    EXPECT_DOUBLE_EQ(gps[i]["lat"].get<double>(), In().truth[1 + i / 4].fixes[i % 4].lat_nmea);
  }
  // A recording without an index exports what a scan of it finds.
  const fs::path cut = out / "cut.avi";
  ASSERT_EQ(RunCli("export " + Path("cut.avi") + " --from 1 --to 3 -o " + Quote(cut)).exitCode, 0);
  EXPECT_EQ(FrameMd5(cut).size(), 20u);
  EXPECT_EQ(Fixes(cut).size(), 2u);
}

TEST(ClipExport, BadInputAndFailuresLeaveNothingBehind) {
  const test::TempFolder folder;
  const std::string out = Quote((folder / "bad.avi").string());
  const std::string a = Path("a.avi");
  const auto before = FrameMd5(In().dir / "a.avi");
  const struct {
    std::string args;
    int exitCode;
    bool sizeLimit;  // a file-size limit makes writing fail as a full disk does
    const char* named;
  } rows[] = {
      {a + " --from 9 --to 12 -o " + out, 2, false, "after the end"},
      {a + " --from 3 --to 2 -o " + out, 2, false, "after its start"},
      {a + " /no/such.avi --from 0 --to 1 -o " + out, 2, false, "/no/such.avi"},
      {a + " " + Path("wide.avi") + " --from 0 --to 9 -o " + out, 2, false, "wide.avi"},
      {a + " --from 0 --to 1 -o " + a, 2, false, "a.avi"},  // an input
      {a + " --from 0 --to 1 -o /no/such/folder/x.avi", 1, false, "/no/such/folder"},
      {a + " --from 0 --to 8 -o " + out, 1, true, "writing the clip failed"},  // disk full
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.args);
    const std::string command = std::string(row.sizeLimit ? "ulimit -f 20; " : "") +
                                Quote(test::CliPath()) + " export " + row.args;
    const auto r = test::RunCommand("sh -c " + Quote(command));
    EXPECT_EQ(r.exitCode, row.exitCode);
    EXPECT_NE(r.err.find(row.named), std::string::npos) << r.err;
    EXPECT_TRUE(fs::is_empty(folder.path()));
  }
  EXPECT_EQ(FrameMd5(In().dir / "a.avi"), before);  // the input is untouched

  // Cancelling half-way removes the partial clip.
  ClipExportRequest request;
  request.inputs = {In().dir / "a.avi"};
  request.toUs = 8000000;
  request.output = folder / "x.avi";
  std::atomic<bool> cancel{false};
  double last = 0;
  const auto progress = [&](double fraction) {
    last = fraction;
    if (fraction >= 0.5) cancel = true;
  };
  EXPECT_EQ(CClipExport::Run(request, progress, cancel).status,
            ClipExportResult::Status::kCancelled);
  EXPECT_GE(last, 0.5);
  EXPECT_LT(last, 1.0);
  EXPECT_TRUE(fs::is_empty(folder.path()));
}

TEST(ClipOverlay, InfoLineShowsTimeSpeedPositionAndGForce) {
  CDrivingTrack track;
  const std::string rmc = "$GPRMC,123519,A,4807.038,S,01131.000,E,022.4,084.4,230394,,*6A";
  track.DecodeUserData(reinterpret_cast<const std::uint8_t*>(rmc.data()), rmc.size(), 0);
  // G record: set A Y = 2048 + 768 (0.75 g), X = 2048 (0 g), 07:08:09, 88 km/h.
  std::vector<std::uint8_t> g = {'M', 0, 0x0B, 0, 0, 0, 0x08, 0, 0, 0,
                                 0,   0, 0,    1, 0, 0, 7,    8, 9, 88};
  g.resize(61);
  track.DecodeUserData(g.data(), g.size(), 0);
  track.SetDuration(1000);
  EXPECT_EQ(CClipOverlay::InfoText(track, 0, 0),
            "07:08:09   88 km/h   S 48.11730 E 11.51667   0.75 G");
  EXPECT_EQ(CClipOverlay::InfoText(track, 0, 1),
            "07:08:09   55 mph   S 48.11730 E 11.51667   0.75 G");
  EXPECT_EQ(CClipOverlay::InfoText(CDrivingTrack(), 0, 0), "--:--:--   -- km/h   no GPS   0.00 G");
}

// Mean brightness of a region of the picture at `seconds`, decoded by ffmpeg.
double MeanLuma(const fs::path& file, double seconds, const std::string& crop) {
  const std::string raw =
      test::RunCommand("ffmpeg -nostdin -v error -ss " + std::to_string(seconds) + " -i " +
                       Quote(file.string()) + " -frames:v 1 -vf crop=" + crop +
                       " -f rawvideo -pix_fmt gray -")
          .out;
  double sum = 0;
  for (unsigned char c : raw) sum += c;
  return raw.empty() ? -1 : sum / static_cast<double>(raw.size());
}

TEST(ClipOverlay, LayoutsKeepTheSoundAndDrawTheData) {
  const test::TempFolder out;
  const struct {
    const char* layout;
    const char* size;
  } rows[] = {{"pip", "320,180"}, {"side", "640,180"}, {"front", "320,180"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.layout);
    const fs::path clip = out / (std::string(row.layout) + ".avi");
    ASSERT_EQ(RunCli("export " + Path("wide.avi") + " --from 1 --to 3 --overlay --layout " +
                     row.layout + " -o " + Quote(clip))
                  .exitCode,
              0);
    EXPECT_EQ(Probe(clip, "v", "codec_name,width,height,nb_read_packets"),
              std::string("h264,") + row.size + ",20\n");
    EXPECT_EQ(Probe(clip, "a", "nb_frames"), "16000\n");
  }
  // The text box darkens the sky at the top left; the road at the bottom
  // right is the original picture.
  const fs::path front = out / "front.avi";
  const fs::path wide = In().dir / "wide.avi";
  EXPECT_LT(MeanLuma(front, 1.0, "60:8:8:6"), MeanLuma(wide, 2.0, "60:8:8:6") - 30);
  EXPECT_NEAR(MeanLuma(front, 1.0, "40:20:260:120"), MeanLuma(wide, 2.0, "40:20:260:120"), 6);
}

}  // namespace
}  // namespace lumora
