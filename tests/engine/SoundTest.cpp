// The sound output: a ten-second ring that starts playing once more than a
// fifth of a second is written, its resets, pauses, format changes and
// volume in hundredths of a decibel, on SDL's dummy driver.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "engine/CDxSound.h"

namespace lumora {
namespace {

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(sound.Init(nullptr), 0) << "SDL_AUDIODRIVER=dummy expected"; }
  // Writes `bytes` bytes of `value`; the result of Write.
  int Write(int bytes, std::uint8_t value, int channels = 1, int bits = 16, int rate = 8000) {
    const std::vector<std::uint8_t> block(static_cast<std::size_t>(std::max(bytes, 1)), value);
    return sound.Write(block.data(), bytes, channels, bits, rate);
  }
  std::uint8_t At(int offset) {
    std::uint8_t byte = 0xEE;
    EXPECT_TRUE(sound.CopyRing(offset, 1, &byte));
    return byte;
  }
  CDxSound sound;
};

TEST_F(SoundTest, RingStartsAboveAFifthOfASecondAndWrapsBlocksAtItsEnd) {
  EXPECT_FALSE(sound.HasBuffer());
  EXPECT_EQ(sound.GetVolume(), -1);
  ASSERT_EQ(Write(1600, 1), 0);
  EXPECT_EQ(sound.GetBufferSize(), 160000);  // ten seconds of 8 kHz 16-bit mono
  EXPECT_EQ(sound.GetFormat().nFormatTag, 1);
  EXPECT_EQ(sound.GetFormat().nBlockAlign, 2);
  EXPECT_EQ(sound.GetFormat().nAvgBytesPerSec, 16000);
  ASSERT_EQ(Write(1600, 1), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 3200);
  EXPECT_EQ(sound.IsPlaying(), 0);  // exactly 200 ms: not above it yet
  ASSERT_EQ(Write(2, 1), 0);
  EXPECT_EQ(sound.IsPlaying(), 1);
  EXPECT_EQ(sound.GetVolume(), 100);

  // A block crossing the end is split; a cursor at the end wraps to 0.
  ASSERT_EQ(Write(160000 - 3202 - 1000, 0x11), 0);
  std::vector<std::uint8_t> block(2000);
  for (std::size_t i = 0; i < block.size(); ++i) block[i] = static_cast<std::uint8_t>(i % 251);
  ASSERT_EQ(sound.Write(block.data(), 2000, 1, 16, 8000), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 1000);
  std::vector<std::uint8_t> ring(160000);
  ASSERT_TRUE(sound.CopyRing(0, 160000, ring.data()));
  EXPECT_TRUE(std::equal(block.begin(), block.begin() + 1000, ring.end() - 1000));
  EXPECT_TRUE(std::equal(block.begin() + 1000, block.end(), ring.begin()));
  ASSERT_EQ(Write(159000, 0x22), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 160000);
  ASSERT_EQ(Write(10, 0x33), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 10);
  EXPECT_EQ(At(0), 0x33);
}

TEST_F(SoundTest, ResetEmptiesAPlayingRingAndPauseKeepsIt) {
  EXPECT_EQ(sound.Reset(), 1);  // nothing to do while stopped
  EXPECT_EQ(sound.Pause(), 1);
  ASSERT_EQ(Write(1000, 5), 0);
  EXPECT_EQ(sound.Reset(), 1);
  EXPECT_EQ(sound.GetWriteCursor(), 1000);

  ASSERT_EQ(Write(4000, 7), 0);
  ASSERT_EQ(sound.IsPlaying(), 1);
  EXPECT_EQ(sound.Pause(), 0);
  EXPECT_EQ(sound.IsPlaying(), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 5000);
  EXPECT_EQ(At(4999), 7);
  ASSERT_EQ(Write(2, 7), 0);
  ASSERT_EQ(sound.IsPlaying(), 1);
  EXPECT_EQ(sound.Reset(), 0);
  EXPECT_EQ(sound.IsPlaying(), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 0);
  EXPECT_EQ(sound.GetPlayPosition(), 0u);
  EXPECT_EQ(At(100), 0);
  EXPECT_EQ(sound.GetVolume(), 0);  // silenced
  ASSERT_EQ(Write(4000, 7), 0);
  EXPECT_EQ(sound.IsPlaying(), 1);
  EXPECT_EQ(sound.GetVolume(), 100);
}

TEST_F(SoundTest, FormatChangesRebuildTheRingAndBadBlocksAreRefused) {
  EXPECT_EQ(Write(16, 1, 1, 12), -1);  // no such sample size
  EXPECT_FALSE(sound.HasBuffer());
  EXPECT_EQ(Write(160002, 1), -1);  // more than the ring
  EXPECT_EQ(Write(-1, 1), -1);
  ASSERT_EQ(Write(4000, 3), 0);
  ASSERT_EQ(sound.IsPlaying(), 1);
  ASSERT_EQ(Write(4000, 3, 2, 16, 44100), 0);
  EXPECT_EQ(sound.GetBufferSize(), 10 * 44100 * 4);
  EXPECT_EQ(sound.GetWriteCursor(), 4000);
  EXPECT_EQ(sound.IsPlaying(), 0);  // 200 ms at 44.1 kHz stereo is 35280 bytes
  ASSERT_EQ(Write(4000, 3, 2, 8, 44100), 0);
  EXPECT_EQ(sound.GetBufferSize(), 10 * 44100 * 2);
  EXPECT_EQ(sound.GetFormat().nBitsPerSample, 8);
}

TEST_F(SoundTest, VolumeIsKeptInHundredthsOfADecibelAndMuteHoldsIt) {
  // 2000 * log10(percent / 100), between -4000 and 0.
  const struct {
    int percent, stored;
  } rows[] = {{100, 0}, {10, -2000}, {1, -4000}, {0, -4000}, {250, 0}, {50, -602}};
  for (const auto& r : rows) {
    sound.SetVolume(r.percent);
    EXPECT_EQ(sound.GetStoredAttenuation(), r.stored) << r.percent;
  }
  ASSERT_EQ(Write(4000, 3), 0);
  EXPECT_EQ(sound.GetVolume(), 50);  // 10^((-602 + 4000) / 2000) = 50.003
  sound.SetMute(1);
  EXPECT_EQ(sound.GetVolume(), 0);
  sound.SetVolume(10);
  EXPECT_EQ(sound.GetVolume(), 0);  // muted: stored only
  sound.SetMute(0);
  EXPECT_EQ(sound.GetVolume(), 10);
}

TEST_F(SoundTest, DeviceDrainsTheRingAndCountsUnderruns) {
  ASSERT_EQ(Write(8000, 0), 0);  // half a second at 8 kHz
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
  const std::vector<std::uint8_t> block(4000, 1);
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
