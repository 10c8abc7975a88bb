#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>

#include "tests/engine/TestMedia.h"

namespace {

struct CommandRun {
  int exitCode = -1;
  std::string out;
};

CommandRun PlayCommand(const std::string& arguments) {
  const std::string command = std::string("SDL_AUDIODRIVER=dummy '") + LUMORA_BINARY_DIR +
                              "/tools/cli/lumora-cli' play " + arguments + " 2>/dev/null";
  CommandRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) run.out += buffer;
  const int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(PlayCommand, PrintsWhatEachChannelShowedAndWhenTheEndCame) {
  const auto file = lumora::test::FrontRear();
  ASSERT_FALSE(file.empty());
  const CommandRun run = PlayCommand("'" + file.string() + "' --null");
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const auto json = nlohmann::json::parse(run.out);
  ASSERT_EQ(json["channels"].size(), 2u);
  for (const auto& channel : json["channels"]) {
    EXPECT_EQ(channel["frames"], 75);
    EXPECT_EQ(channel["first_ms"], 0);
    EXPECT_EQ(channel["last_ms"], 2960);
  }
  EXPECT_GT(json["audio_blocks"].get<int>(), 0);
  EXPECT_NEAR(json["end_message_ms"].get<double>(), 3000.0, 600.0);
}

TEST(PlayCommand, DoubleSpeedHalvesTheTimeAndPlaysNoSound) {
  const auto file = lumora::test::FrontRear();
  ASSERT_FALSE(file.empty());
  const CommandRun run = PlayCommand("'" + file.string() + "' --null --speed 2");
  ASSERT_EQ(run.exitCode, 0) << run.out;
  const auto json = nlohmann::json::parse(run.out);
  EXPECT_EQ(json["channels"][0]["frames"], 75);
  EXPECT_EQ(json["audio_blocks"], 0);
  EXPECT_NEAR(json["end_message_ms"].get<double>(), 1500.0, 400.0);
}

TEST(PlayCommand, BadInputIsRefusedWithExitCodeTwo) {
  EXPECT_EQ(PlayCommand("/no/such/file.avi --null").exitCode, 2);
  const auto file = lumora::test::VideoOnly();
  ASSERT_FALSE(file.empty());
  EXPECT_EQ(PlayCommand("'" + file.string() + "'").exitCode, 2);
  EXPECT_EQ(PlayCommand("'" + file.string() + "' --null --speed 0").exitCode, 2);
  const auto text = lumora::test::ScratchFile("not-a-recording.avi");
  std::FILE* f = std::fopen(text.c_str(), "w");
  ASSERT_NE(f, nullptr);
  std::fputs("this is not a video\n", f);
  std::fclose(f);
  EXPECT_EQ(PlayCommand("'" + text.string() + "' --null").exitCode, 2);
  std::filesystem::remove(text);
}

}  // namespace
