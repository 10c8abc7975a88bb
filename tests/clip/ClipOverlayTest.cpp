// The overlay export: the line drawn into the picture, and lumora-cli export
// --overlay checked with ffprobe and the pixels ffmpeg decodes.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>

#include "data/CDrivingTrack.h"
#include "library/CClipOverlay.h"
#include "tests/support/Cli.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
using test::Quote;

TEST(ClipOverlay, InfoLineShowsTimeSpeedPositionAndGForce) {
  CDrivingTrack track;
  const std::string rmc = "$GPRMC,123519,A,4807.038,S,01131.000,E,022.4,084.4,230394,,*6A";
  track.DecodeUserData(reinterpret_cast<const std::uint8_t*>(rmc.data()), rmc.size(), 0);
  std::vector<std::uint8_t> g(61, 0);
  g[0] = 'M';
  g[1] = 0x00;  // set A Y = 2048 + 768: 0.75 g
  g[2] = 0x0B;
  g[5] = 0x00;  // set A X = 2048: 0 g
  g[6] = 0x08;
  g[13] = 1;  // time of day 07:08:09
  g[16] = 7;
  g[17] = 8;
  g[18] = 9;
  g[19] = 88;  // 88 km/h
  track.DecodeUserData(g.data(), g.size(), 0);
  track.SetDuration(1000);
  EXPECT_EQ(CClipOverlay::InfoText(track, 0, 0),
            "07:08:09   88 km/h   S 48.11730 E 11.51667   0.75 G");
  EXPECT_EQ(CClipOverlay::InfoText(track, 0, 1),
            "07:08:09   55 mph   S 48.11730 E 11.51667   0.75 G");
  EXPECT_EQ(CClipOverlay::InfoText(CDrivingTrack(), 0, 0), "--:--:--   -- km/h   no GPS   0.00 G");
}

// Standard output of a shell command.
std::string Shell(const std::string& command) { return test::RunCommand(command).out; }

// Mean brightness of a region of the picture at `seconds`, decoded by ffmpeg.
double MeanLuma(const fs::path& file, double seconds, const std::string& crop) {
  const std::string raw = Shell("ffmpeg -nostdin -v error -ss " + std::to_string(seconds) + " -i " +
                                Quote(file.string()) + " -frames:v 1 -vf crop=" + crop +
                                " -f rawvideo -pix_fmt gray -");
  double sum = 0;
  for (unsigned char c : raw) sum += c;
  return raw.empty() ? -1 : sum / static_cast<double>(raw.size());
}

TEST(ClipOverlay, LayoutsKeepTheSoundAndDrawTheData) {
  const fs::path dir =
      fs::temp_directory_path() / ("lumora-ov-" + std::to_string(std::random_device{}()));
  fs::create_directories(dir);
  RecordingOptions o;
  o.seconds = 4;
  o.fps = 10;
  o.front_width = 320;
  o.front_height = 180;
  o.rear_width = 160;
  o.rear_height = 90;
  std::string error;
  ASSERT_TRUE(WriteRecording(dir / "in.avi", o, &error)) << error;
  const struct {
    const char* layout;
    const char* size;
  } rows[] = {{"pip", "320,180"}, {"side", "640,180"}, {"front", "320,180"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.layout);
    const fs::path out = dir / (std::string(row.layout) + ".avi");
    const auto r = test::RunCli("export " + Quote((dir / "in.avi").string()) +
                                " --from 1 --to 3 --overlay --layout " + row.layout + " -o " +
                                Quote(out.string()));
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_EQ(Shell("ffprobe -v error -select_streams v -count_packets -show_entries "
                    "stream=codec_name,width,height,nb_read_packets -of csv=p=0 " +
                    Quote(out.string())),
              std::string("h264,") + row.size + ",20\n");
    EXPECT_EQ(
        Shell("ffprobe -v error -select_streams a -show_entries stream=nb_frames -of csv=p=0 " +
              Quote(out.string())),
        "16000\n");
  }
  // The text box darkens the sky at the top left; the road at the bottom
  // right is the original picture.
  const fs::path front = dir / "front.avi";
  EXPECT_LT(MeanLuma(front, 1.0, "60:8:8:6"), MeanLuma(dir / "in.avi", 2.0, "60:8:8:6") - 30);
  EXPECT_NEAR(MeanLuma(front, 1.0, "40:20:260:120"), MeanLuma(dir / "in.avi", 2.0, "40:20:260:120"),
              6);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace lumora
