#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "engine/CDxSound.h"

namespace lumora {
namespace {

std::vector<std::uint8_t> Block(int bytes, std::uint8_t value) {
  return std::vector<std::uint8_t>(static_cast<std::size_t>(bytes), value);
}

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(sound.Init(nullptr), 0) << "SDL_AUDIODRIVER=dummy expected"; }
  CDxSound sound;
};

TEST_F(SoundTest, TenSecondRingStartsAfterAFifthOfASecond) {
  EXPECT_FALSE(sound.HasBuffer());
  EXPECT_EQ(sound.GetVolume(), -1);
  auto block = Block(1600, 1);
  ASSERT_EQ(sound.Write(block.data(), 1600, 1, 16, 8000), 0);
  EXPECT_EQ(sound.GetBufferSize(), 160000);
  const SoundFormat f = sound.GetFormat();
  EXPECT_EQ(f.nFormatTag, 1);
  EXPECT_EQ(f.nBlockAlign, 2);
  EXPECT_EQ(f.nAvgBytesPerSec, 16000);
  EXPECT_EQ(sound.IsPlaying(), 0);
  ASSERT_EQ(sound.Write(block.data(), 1600, 1, 16, 8000), 0);
  // 3200 bytes is exactly the threshold: not above it yet.
  EXPECT_EQ(sound.GetWriteCursor(), 3200);
  EXPECT_EQ(sound.IsPlaying(), 0);
  ASSERT_EQ(sound.Write(block.data(), 2, 1, 16, 8000), 0);
  EXPECT_EQ(sound.IsPlaying(), 1);
  EXPECT_EQ(sound.GetVolume(), 100);
}

TEST_F(SoundTest, BlockCrossingTheEndIsSplit) {
  auto filler = Block(159000, 0x11);
  ASSERT_EQ(sound.Write(filler.data(), 159000, 1, 16, 8000), 0);
  std::vector<std::uint8_t> block(2000);
  for (int i = 0; i < 2000; ++i)
    block[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i % 251);
  ASSERT_EQ(sound.Write(block.data(), 2000, 1, 16, 8000), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 1000);
  std::vector<std::uint8_t> tail(1000);
  std::vector<std::uint8_t> head(1000);
  ASSERT_TRUE(sound.CopyRing(159000, 1000, tail.data()));
  ASSERT_TRUE(sound.CopyRing(0, 1000, head.data()));
  EXPECT_TRUE(std::equal(tail.begin(), tail.end(), block.begin()));
  EXPECT_TRUE(std::equal(head.begin(), head.end(), block.begin() + 1000));

  // A cursor sitting exactly at the end wraps to 0 before the next block.
  auto rest = Block(159000, 0x22);
  ASSERT_EQ(sound.Write(rest.data(), 159000, 1, 16, 8000), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 160000);
  auto next = Block(10, 0x33);
  ASSERT_EQ(sound.Write(next.data(), 10, 1, 16, 8000), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 10);
  std::uint8_t first = 0;
  ASSERT_TRUE(sound.CopyRing(0, 1, &first));
  EXPECT_EQ(first, 0x33);
}

TEST_F(SoundTest, ResetWhileStoppedDoesNothing) {
  EXPECT_EQ(sound.Reset(), 1);
  EXPECT_EQ(sound.Pause(), 1);
  auto block = Block(1000, 5);
  ASSERT_EQ(sound.Write(block.data(), 1000, 1, 16, 8000), 0);
  EXPECT_EQ(sound.Reset(), 1);
  EXPECT_EQ(sound.GetWriteCursor(), 1000);
}

TEST_F(SoundTest, ResetEmptiesAPlayingRingAndWritesStartItAgain) {
  auto block = Block(4000, 7);
  ASSERT_EQ(sound.Write(block.data(), 4000, 1, 16, 8000), 0);
  ASSERT_EQ(sound.IsPlaying(), 1);
  EXPECT_EQ(sound.Reset(), 0);
  EXPECT_EQ(sound.IsPlaying(), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 0);
  EXPECT_EQ(sound.GetPlayPosition(), 0u);
  std::uint8_t byte = 1;
  ASSERT_TRUE(sound.CopyRing(100, 1, &byte));
  EXPECT_EQ(byte, 0);
  EXPECT_EQ(sound.GetVolume(), 0);  // the buffer was silenced
  ASSERT_EQ(sound.Write(block.data(), 4000, 1, 16, 8000), 0);
  EXPECT_EQ(sound.IsPlaying(), 1);
  EXPECT_EQ(sound.GetVolume(), 100);
}

TEST_F(SoundTest, PauseKeepsDataAndCursors) {
  auto block = Block(4000, 9);
  ASSERT_EQ(sound.Write(block.data(), 4000, 1, 16, 8000), 0);
  EXPECT_EQ(sound.Pause(), 0);
  EXPECT_EQ(sound.IsPlaying(), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 4000);
  std::uint8_t byte = 0;
  ASSERT_TRUE(sound.CopyRing(3999, 1, &byte));
  EXPECT_EQ(byte, 9);
}

TEST_F(SoundTest, FormatChangeRebuildsTheBuffer) {
  auto block = Block(4000, 3);
  ASSERT_EQ(sound.Write(block.data(), 4000, 1, 16, 8000), 0);
  ASSERT_EQ(sound.IsPlaying(), 1);
  ASSERT_EQ(sound.Write(block.data(), 4000, 2, 16, 44100), 0);
  EXPECT_EQ(sound.GetBufferSize(), 10 * 44100 * 4);
  EXPECT_EQ(sound.GetWriteCursor(), 4000);
  // 200 ms at 44.1 kHz stereo is 35280 bytes: not playing yet.
  EXPECT_EQ(sound.IsPlaying(), 0);
  ASSERT_EQ(sound.Write(block.data(), 4000, 2, 8, 44100), 0);
  EXPECT_EQ(sound.GetBufferSize(), 10 * 44100 * 2);
  EXPECT_EQ(sound.GetFormat().nBitsPerSample, 8);
}

TEST_F(SoundTest, BadBlocksAreRefused) {
  auto block = Block(16, 1);
  EXPECT_EQ(sound.Write(block.data(), 16, 1, 12, 8000), -1);  // no such sample size
  EXPECT_FALSE(sound.HasBuffer());
  std::vector<std::uint8_t> huge(160002, 1);
  EXPECT_EQ(sound.Write(huge.data(), 160002, 1, 16, 8000), -1);
  EXPECT_EQ(sound.Write(block.data(), -1, 1, 16, 8000), -1);
  EXPECT_EQ(sound.Write(block.data(), 16, 1, 16, 8000), 0);
}

TEST_F(SoundTest, VolumeIsKeptInHundredthsOfADecibel) {
  sound.SetVolume(100);
  EXPECT_EQ(sound.GetStoredAttenuation(), 0);
  sound.SetVolume(10);
  EXPECT_EQ(sound.GetStoredAttenuation(), -2000);
  sound.SetVolume(1);
  EXPECT_EQ(sound.GetStoredAttenuation(), -4000);
  sound.SetVolume(0);
  EXPECT_EQ(sound.GetStoredAttenuation(), -4000);
  sound.SetVolume(250);
  EXPECT_EQ(sound.GetStoredAttenuation(), 0);
  sound.SetVolume(50);
  EXPECT_EQ(sound.GetStoredAttenuation(), -602);

  auto block = Block(4000, 3);
  ASSERT_EQ(sound.Write(block.data(), 4000, 1, 16, 8000), 0);
  EXPECT_EQ(sound.GetVolume(), 50);  // 10^((-602 + 4000) / 2000) = 50.003
  sound.SetMute(1);
  EXPECT_EQ(sound.GetVolume(), 0);
  sound.SetVolume(10);
  EXPECT_EQ(sound.GetVolume(), 0);  // muted: stored only
  sound.SetMute(0);
  EXPECT_EQ(sound.GetVolume(), 10);
}

TEST_F(SoundTest, DeviceDrainsTheRingAndCountsUnderruns) {
  auto block = Block(8000, 0);  // half a second of silence at 8 kHz
  ASSERT_EQ(sound.Write(block.data(), 8000, 1, 16, 8000), 0);
  ASSERT_EQ(sound.IsPlaying(), 1);
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (sound.GetBytesPlayed() < 8000 && std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(sound.GetBytesPlayed(), 8000);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_GT(sound.GetUnderrunCount(), 0);
  EXPECT_EQ(sound.GetPlayPosition(), 8000u);
}

TEST(SoundDevice, WithoutADeviceInitFailsAndWritesAreRefused) {
  const char* saved = std::getenv("SDL_AUDIODRIVER");
  const std::string keep = saved ? saved : "";
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  CDxSound sound;
  EXPECT_EQ(sound.Init(nullptr), -1);
  auto block = Block(4000, 1);
  EXPECT_EQ(sound.Write(block.data(), 4000, 1, 16, 8000), -1);
  EXPECT_EQ(sound.IsPlaying(), 0);
  EXPECT_EQ(sound.Reset(), 1);
  if (saved)
    setenv("SDL_AUDIODRIVER", keep.c_str(), 1);
  else
    unsetenv("SDL_AUDIODRIVER");
}

}  // namespace
}  // namespace lumora
