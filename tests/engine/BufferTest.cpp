// The buffers between the engine's threads: frame pools and packet queues
// between demultiplexer, decoders and player, and the sound ring the SDL
// device drains (volume in hundredths of a decibel).
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "engine/CDxSound.h"
#include "engine/FramePool.h"
#include "engine/PacketQueue.h"

namespace lumora {
namespace {

TEST(FramePool, FillsAndEmptiesInRingOrder) {
  FramePool pool;
  pool.Init(kDecKindAudio, 3);
  EXPECT_EQ(pool.Fullness(), -1);
  DecInfo* slots[3];
  for (int i = 0; i < 3; ++i) {
    slots[i] = pool.GetFreeSlot();
    ASSERT_NE(slots[i], nullptr);
    EXPECT_EQ(slots[i]->nKind, kDecKindAudio);
    pool.Commit(slots[i]);
    EXPECT_EQ(pool.Fullness(), i == 2 ? 1 : 0);
  }
  EXPECT_EQ(pool.GetFreeSlot(), nullptr);
  EXPECT_EQ(pool.PeekFirst(), slots[0]);
  pool.RemoveFirst();
  EXPECT_EQ(pool.GetFreeSlot(), slots[0]);  // the freed place is handed out next
  EXPECT_EQ(pool.LockPeekFirst(), slots[1]);
  pool.RemoveFirstAndUnlock();
  pool.Clear();
  EXPECT_EQ(pool.Count(), 0);
  EXPECT_EQ(pool.GetFreeSlot(), slots[0]);
  // A slot the decoder fills while the player clears the pool is dropped.
  DecInfo* filling = pool.GetFreeSlot();
  pool.Clear();
  pool.Commit(filling);
  EXPECT_EQ(pool.Count(), 0);
  pool.Free();
  EXPECT_EQ(pool.GetFreeSlot(), nullptr);
}

// Under the thread sanitizer too (scripts/test-tsan.sh).
TEST(FramePool, ProducerAndConsumerOnTwoThreadsSeeEveryFrameInOrder) {
  FramePool pool;
  pool.Init(kDecKindVideo, 20);
  constexpr int kFrames = 5000;
  std::thread producer([&] {
    for (int i = 0; i < kFrames;) {
      if (DecInfo* slot = pool.GetFreeSlot()) {
        slot->dTime = i++;
        pool.Commit(slot);
      } else {
        std::this_thread::yield();
      }
    }
  });
  for (int expected = 0; expected < kFrames;) {
    if (DecInfo* first = pool.LockPeekFirst()) {
      ASSERT_EQ(first->dTime, expected++);
      pool.RemoveFirstAndUnlock();
    } else {
      pool.UnlockPeek();
      std::this_thread::yield();
    }
  }
  producer.join();
}

PacketPtr MakePacket(std::int64_t dts, std::uint8_t first = 0) {
  PacketPtr p(av_packet_alloc());
  EXPECT_EQ(av_new_packet(p.get(), 16), 0);
  p->dts = p->pts = dts;
  p->data[0] = first;
  return p;
}

TEST(PacketQueue, FullnessByDurationOrCount) {
  const int duration = PacketQueue::kModeDuration;
  const int count = PacketQueue::kModeCount;
  const struct {
    int mode, max;
    std::vector<std::int64_t> dts;
    int fullness, left;
  } rows[] = {
      {duration, 20, {}, -1, 0},
      {duration, 20, {0, 5, 25}, 0, 3},          // exactly one second at 1/25: not above it
      {duration, 20, {0, 5, 26}, 1, 3},          // above one second
      {duration, 20, {100, 101, 102, 5}, 0, 3},  // time went back: the oldest goes
      {count, 3, {0, 1}, 0, 2},
      {count, 3, {0, 1, 2}, 1, 3},
      {7, 3, {0, 1, 2}, 0, 3},  // no such mode: never full
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.dts));
    PacketQueue q;
    q.Init(r.mode, r.max, 1.0, 1.0 / 25);
    for (std::int64_t dts : r.dts) ASSERT_TRUE(q.Put(MakePacket(dts).get()));
    EXPECT_EQ(q.Fullness(), r.fullness);
    EXPECT_EQ(q.Count(), r.left);
  }
}

TEST(PacketQueue, PacketsComeOutInOrderAndOwnTheirData) {
  PacketQueue q;
  q.Init(PacketQueue::kModeDuration, 20, 1.0, 0.001);
  for (int dts : {0, 1, 2}) ASSERT_TRUE(q.Put(MakePacket(dts, 40 + dts).get()));  // copies
  EXPECT_EQ(q.Get()->data[0], 40);
  q.DropFirst();
  std::int64_t dts = -1;
  EXPECT_TRUE(q.PeekDts(&dts));
  EXPECT_EQ(dts, 2);
  q.Flush();
  EXPECT_FALSE(q.Get());
  // Handed over: the queue holds the only reference, the caller's is blank.
  PacketPtr moved = MakePacket(8, 43);
  const AVBufferRef* buffer = moved->buf;
  ASSERT_TRUE(q.PutMoved(moved.get()));
  EXPECT_EQ(moved->buf, nullptr);
  const PacketPtr back = q.Get();
  ASSERT_TRUE(back && back->buf == buffer);
  EXPECT_EQ(av_buffer_get_ref_count(back->buf), 1);
}

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
  EXPECT_EQ(sound.GetVolume(), -1);  // no ring yet
  ASSERT_EQ(Write(3200, 1), 0);
  EXPECT_EQ(sound.GetBufferSize(), 160000);  // ten seconds of 8 kHz 16-bit mono
  EXPECT_EQ(sound.GetFormat().nAvgBytesPerSec, 16000);
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

TEST_F(SoundTest, PauseKeepsTheRingAndResetEmptiesAndSilencesIt) {
  EXPECT_EQ(sound.Reset(), 1);  // nothing to do while stopped
  ASSERT_EQ(Write(4000, 7), 0);
  EXPECT_EQ(sound.Pause(), 0);
  EXPECT_EQ(sound.IsPlaying(), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 4000);
  EXPECT_EQ(At(3999), 7);
  ASSERT_EQ(Write(2, 7), 0);  // writing plays on
  ASSERT_EQ(sound.IsPlaying(), 1);
  EXPECT_EQ(sound.Reset(), 0);
  EXPECT_EQ(sound.IsPlaying(), 0);
  EXPECT_EQ(sound.GetWriteCursor(), 0);
  EXPECT_EQ(sound.GetPlayPosition(), 0u);
  EXPECT_EQ(At(100), 0);
  EXPECT_EQ(sound.GetVolume(), 0);
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

TEST(SoundDevice, WithoutADeviceInitFailsAndWritesAreRefused) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  CDxSound sound;
  EXPECT_EQ(sound.Init(nullptr), -1);
  const std::vector<std::uint8_t> block(4000, 1);
  EXPECT_EQ(sound.Write(block.data(), 4000, 1, 16, 8000), -1);
  EXPECT_EQ(sound.IsPlaying(), 0);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

}  // namespace
}  // namespace lumora
