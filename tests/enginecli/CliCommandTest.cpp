// lumora-cli play and snapshot run as programs: the options reach the player
// (whose rules tests/engine checks), snapshots are ffmpeg's pictures with the
// fix of the moment in their text chunks, and bad input exits with 2.
#include <gtest/gtest.h>

#include <cstdio>
#include <nlohmann/json.hpp>

#include "tests/engine/TestMedia.h"
#include "tests/support/Cli.h"

namespace lumora {
namespace {

using test::Quote;
using test::RunCli;
using test::RunCommand;

// A 4 s card recording (front 640x360, rear 320x240, a fix each second).
const std::string& Recording() {
  static test::TempFolder folder;
  static const std::string path = [] {
    RunCommand(Quote(LUMORA_BINARY_DIR "/tools/mkcard/lumora-mkcard") +
               " --seconds 4 --recordings 1 --no-mp4 --front 640x360 --rear 320x240 " +
               Quote((folder / "card").string()));
    return (folder / "card/NORMAL/20261205_083000_N1.avi").string();
  }();
  return path;
}

TEST(PlayCommand, ReportsWhatEachChannelShowedAtTheAskedSpeed) {
  const auto file = test::FrontRear();
  const auto run = RunCli("play " + Quote(file.string()) + " --null --speed 2");
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto json = nlohmann::json::parse(run.out);
  ASSERT_EQ(json["channels"].size(), 2u);
  for (const auto& channel : json["channels"]) {
    EXPECT_EQ(channel["frames"], 75);
    EXPECT_EQ(channel["first_ms"], 0);
    EXPECT_EQ(channel["last_ms"], 2960);
  }
  EXPECT_EQ(json["audio_blocks"], 0);  // no sound away from normal speed
  EXPECT_NEAR(json["end_message_ms"].get<double>(), 1500.0, 400.0);
}

TEST(SnapshotCommand, PicturesAreFfmpegsAndCarryTheFixOfTheMoment) {
  const std::string& recording = Recording();
  const test::TempFolder out;
  const auto run =
      RunCli("snapshot " + Quote(recording) + " --at 2.5 -o " + Quote(out.path().string()));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto paths = nlohmann::json::parse(run.out);
  ASSERT_EQ(paths.size(), 2u);  // front and rear; their names are checked in tests/display
  const auto rgb = [](const std::string& input) {
    return RunCommand("ffmpeg -v error " + input + " -frames:v 1 -f rawvideo -pix_fmt rgb24 -").out;
  };
  for (int channel = 0; channel < 2; ++channel) {
    const std::string ours = rgb("-i " + Quote(paths[channel].get<std::string>()));
    const std::string theirs =
        rgb("-ss 2.5 -i " + Quote(recording) + " -map 0:v:" + std::to_string(channel));
    ASSERT_EQ(ours.size(), channel == 0 ? 640u * 360 * 3 : 320u * 240 * 3);
    ASSERT_EQ(ours.size(), theirs.size());
    double error = 0;
    for (std::size_t i = 0; i < ours.size(); ++i)
      error +=
          std::abs(static_cast<unsigned char>(ours[i]) - static_cast<unsigned char>(theirs[i]));
    EXPECT_LE(error / static_cast<double>(ours.size()), 2.0) << channel;
  }
  // The first fix at or after 2.5 s is the one of 3 s (08:30:03 by the
  // recording's name), as lumora-cli track reads it.
  const auto track = nlohmann::json::parse(RunCli("track " + Quote(recording)).out);
  nlohmann::json fix;
  for (const auto& f : track["gps"])
    if (f["cts"] == 3000) fix = f;
  ASSERT_FALSE(fix.is_null());
  char expected[256];
  std::snprintf(expected, sizeof expected, "08:30:03|%.6f|%.6f|%.1f|%.1f",
                fix["lat_deg"].get<double>(), fix["lon_deg"].get<double>(),
                fix["speed_kmh"].get<double>(), fix["course"].get<double>());
  EXPECT_EQ(RunCommand("identify -format '%[TimeOfDay]|%[Latitude]|%[Longitude]|%[Speed]|"
                       "%[Heading]' " +
                       Quote(paths[0].get<std::string>()))
                .out,
            expected);

  const auto rear = RunCli("snapshot " + Quote(recording) + " --at 1 --channel rear -o " +
                           Quote((out / "rear").string()));
  ASSERT_EQ(rear.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(rear.out).size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(out / "rear/20261205_083000_N1_00-00-01.000_R.png"));
}

TEST(CliCommands, BadInputExitsWithTwoAndWritesNothing) {
  const auto video = Quote(test::VideoOnly().string());
  const test::TempFolder folder;
  const auto text = Quote(folder.Write("text.avi", "this is not a video\n").string());
  const std::string recording = Quote(Recording());
  const std::string rows[] = {
      "play /no/such/file.avi --null",
      "play " + video,  // only headless playback
      "play " + video + " --null --speed 0",
      "play " + text + " --null",
      "snapshot " + recording + " --at 4.5",  // after the end
      "snapshot " + recording + " --at -1",
      "snapshot /no/such.avi --at 1",
      "snapshot " + recording + " --at 1 --channel side",
      "snapshot " + recording + " --at 1 -o " + Quote(Recording() + "/sub"),  // no folder
  };
  for (const std::string& args : rows) {
    SCOPED_TRACE(args);
    const auto run = RunCli(args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.out.empty());
  }
}

}  // namespace
}  // namespace lumora
