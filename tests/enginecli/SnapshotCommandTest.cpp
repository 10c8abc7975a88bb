// lumora-cli snapshot on a generated card recording: the pictures against
// ffmpeg's picture at that time, the text chunks as ImageMagick reads them.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>

namespace {

struct ShellRun {
  int exitCode = -1;
  std::string out;
};

ShellRun Shell(const std::string& command) {
  ShellRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string Cli(const std::string& arguments) {
  return std::string("'") + LUMORA_BINARY_DIR + "/tools/cli/lumora-cli' snapshot " + arguments;
}

std::string Rgb(const std::string& input) {
  return Shell("ffmpeg -v error " + input + " -frames:v 1 -f rawvideo -pix_fmt rgb24 -").out;
}

class SnapshotCommand : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = std::filesystem::temp_directory_path() / ("snapshot-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir_);
    Shell(std::string("'") + LUMORA_BINARY_DIR +
          "/tools/mkcard/lumora-mkcard' --seconds 4 --recordings 1 --no-mp4 --front 640x360 "
          "--rear 320x240 '" +
          (dir_ / "card").string() + "' >/dev/null 2>&1");
    recording_ = (dir_ / "card/NORMAL/20261205_083000_N1.avi").string();
  }
  static void TearDownTestSuite() { std::filesystem::remove_all(dir_); }

  static inline std::filesystem::path dir_;
  static inline std::string recording_;
};

TEST_F(SnapshotCommand, PicturesAreFfmpegsAndCarryTheFixOfTheMoment) {
  ASSERT_TRUE(std::filesystem::exists(recording_));
  const std::string out = (dir_ / "out").string();
  const ShellRun run = Shell(Cli("'" + recording_ + "' --at 2.5 -o '" + out + "'"));
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const auto paths = nlohmann::json::parse(run.out);
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_EQ(paths[0], out + "/20261205_083000_N1_00-00-02.500_F.png");
  EXPECT_EQ(paths[1], out + "/20261205_083000_N1_00-00-02.500_R.png");
  for (int channel = 0; channel < 2; ++channel) {
    const std::string ours = Rgb("-i '" + paths[channel].get<std::string>() + "'");
    const std::string theirs =
        Rgb("-ss 2.5 -i '" + recording_ + "' -map 0:v:" + std::to_string(channel));
    ASSERT_EQ(ours.size(), channel == 0 ? 640u * 360 * 3 : 320u * 240 * 3);
    ASSERT_EQ(ours.size(), theirs.size());
    double error = 0;
    for (std::size_t i = 0; i < ours.size(); ++i)
      error +=
          std::abs(static_cast<unsigned char>(ours[i]) - static_cast<unsigned char>(theirs[i]));
    EXPECT_LE(error / static_cast<double>(ours.size()), 2.0) << channel;
  }
  // The first fix at or after 2.5 s is the one of 3 s: 08:30:03, 3 s after
  // the recording's start in its name; the rest as the track command reads it.
  const ShellRun chunks = Shell(
      "identify -format '%[TimeOfDay]|%[Latitude]|%[Longitude]|%[Speed]|"
      "%[Heading]' '" +
      paths[0].get<std::string>() + "'");
  const auto track =
      nlohmann::json::parse(Shell(std::string("'") + LUMORA_BINARY_DIR +
                                  "/tools/cli/lumora-cli' track '" + recording_ + "'")
                                .out);
  nlohmann::json fix;
  for (const auto& f : track["gps"])
    if (f["cts"] == 3000) fix = f;
  ASSERT_FALSE(fix.is_null()) << track.dump();
  char expected[256];
  std::snprintf(expected, sizeof expected, "08:30:03|%.6f|%.6f|%.1f|%.1f",
                fix["lat_deg"].get<double>(), fix["lon_deg"].get<double>(),
                fix["speed_kmh"].get<double>(), fix["course"].get<double>());
  EXPECT_EQ(chunks.out, expected);
}

TEST_F(SnapshotCommand, OneChannelBadTimesFilesAndFolders) {
  const std::string out = (dir_ / "rear").string();
  const ShellRun rear = Shell(Cli("'" + recording_ + "' --at 1 --channel rear -o '" + out + "'"));
  ASSERT_EQ(rear.exitCode, 0);
  EXPECT_EQ(nlohmann::json::parse(rear.out).size(), 1u);
  EXPECT_TRUE(std::filesystem::exists(out + "/20261205_083000_N1_00-00-01.000_R.png"));
  const std::string quiet = " 2>/dev/null";
  EXPECT_EQ(Shell(Cli("'" + recording_ + "' --at 4.5" + quiet)).exitCode, 2);
  EXPECT_EQ(Shell(Cli("'" + recording_ + "' --at -1" + quiet)).exitCode, 2);
  EXPECT_EQ(Shell(Cli("/no/such.avi --at 1" + quiet)).exitCode, 2);
  EXPECT_EQ(Shell(Cli("'" + recording_ + "' --at 1 --channel side" + quiet)).exitCode, 2);
  // A folder that cannot be made: nothing is written anywhere.
  const ShellRun blocked =
      Shell(Cli("'" + recording_ + "' --at 1 -o '" + recording_ + "/sub'" + quiet));
  EXPECT_EQ(blocked.exitCode, 2);
  EXPECT_TRUE(blocked.out.empty());
}

}  // namespace
