#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "engine/CMultiPlayer.h"
#include "engine/CNullDisplay.h"
#include "tests/engine/TestMedia.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

class EndCount : public IPlayerOwner {
 public:
  void PostEndOfRecording() override { ++count; }
  std::atomic<int> count{0};
};

// A recording as the camera writes it: front, rear, sound and user-data
// streams in one AVI.
TEST(CameraRecording, PlaysBothChannelsAndForwardsTheUserData) {
  RecordingOptions options;
  options.seconds = 2;
  RecordingTruth truth;
  std::string error;
  const auto file = test::ScratchFile("camera.avi");
  ASSERT_TRUE(WriteRecording(file, options, &error, &truth)) << error;

  EndCount owner;
  CNullDisplayFactory factory;
  CMultiPlayer player;
  void* windows[2] = {nullptr, nullptr};
  ASSERT_EQ(player.Create(&owner, windows, 2, &factory), 1);
  ASSERT_EQ(player.Open(file), 1);
  EXPECT_EQ(player.GetVideoStreamCount(), truth.video_streams);
  EXPECT_EQ(player.GetDecoderCount(), 2);
  EXPECT_NEAR(static_cast<double>(player.GetDuration()), static_cast<double>(truth.duration_ms),
              40.0);
  ASSERT_EQ(player.GetUserDataCount(), static_cast<int>(truth.records.size()));
  ASSERT_FALSE(truth.records.empty());
  std::vector<std::uint8_t> buffer(4096);
  std::uint32_t length = static_cast<std::uint32_t>(buffer.size());
  std::uint32_t cts = 0;
  ASSERT_EQ(player.GetNextUserData(buffer.data(), &length, &cts), 0);
  EXPECT_EQ(cts, truth.records[0].cts_ms);
  EXPECT_EQ(length, truth.records[0].payload.size());

  ASSERT_EQ(player.Play(), 1);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (owner.count == 0 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  ASSERT_GT(owner.count, 0);
  player.Stop();
  const auto log = factory.Log();
  EXPECT_EQ(static_cast<int>(log->FramesOf(0).size()), truth.video_frames);
  EXPECT_EQ(static_cast<int>(log->FramesOf(1).size()), truth.video_frames);
  EXPECT_EQ(log->FramesOf(0).front().width, options.front_width);
  EXPECT_EQ(log->FramesOf(1).front().width, options.rear_width);
  EXPECT_GT(player.GetSoundBlocksWritten(), 0);
  player.Close();
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace lumora
