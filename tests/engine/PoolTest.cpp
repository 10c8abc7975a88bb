// The frame pools and packet queues that hand pictures, sound and packets
// between the demultiplexer, the decoders and the player thread.
#include <gtest/gtest.h>

#include <thread>

#include "engine/FramePool.h"
#include "engine/PacketQueue.h"

namespace lumora {
namespace {

TEST(FramePool, FillsAndEmptiesInRingOrder) {
  FramePool pool;
  pool.Init(kDecKindAudio, 3);
  EXPECT_EQ(pool.Fullness(), -1);
  EXPECT_EQ(pool.PeekFirst(), nullptr);
  DecInfo* slots[3];
  for (int i = 0; i < 3; ++i) {
    slots[i] = pool.GetFreeSlot();
    ASSERT_NE(slots[i], nullptr);
    EXPECT_EQ(slots[i]->nKind, kDecKindAudio);
    pool.Commit(slots[i]);
    EXPECT_EQ(pool.Fullness(), i == 2 ? 1 : 0);
  }
  EXPECT_NE(slots[0], slots[1]);
  EXPECT_EQ(pool.GetFreeSlot(), nullptr);
  EXPECT_EQ(pool.PeekFirst(), slots[0]);
  pool.RemoveFirst();
  EXPECT_EQ(pool.GetFreeSlot(), slots[0]);  // the freed place is handed out next
  EXPECT_EQ(pool.LockPeekFirst(), slots[1]);
  pool.RemoveFirstAndUnlock();
  EXPECT_EQ(pool.LockPeekFirst(), slots[2]);
  pool.UnlockPeek();
  EXPECT_EQ(pool.Count(), 1);
  pool.Clear();
  EXPECT_EQ(pool.Count(), 0);
  EXPECT_EQ(pool.GetFreeSlot(), slots[0]);
  pool.Free();
  EXPECT_EQ(pool.GetFreeSlot(), nullptr);

  // A slot the decoder fills while the player clears the pool is dropped.
  pool.Init(kDecKindVideo, 4);
  DecInfo* a = pool.GetFreeSlot();
  pool.Commit(a);
  DecInfo* b = pool.GetFreeSlot();
  pool.Clear();
  pool.Commit(b);
  EXPECT_EQ(pool.Count(), 0);
  EXPECT_EQ(pool.GetFreeSlot(), a);
}

TEST(FramePool, ProducerAndConsumerOnTwoThreadsSeeEveryFrameInOrder) {
  FramePool pool;
  pool.Init(kDecKindVideo, 20);
  constexpr int kFrames = 5000;
  std::thread producer([&] {
    for (int i = 0; i < kFrames;) {
      DecInfo* slot = pool.GetFreeSlot();
      if (slot == nullptr) {
        std::this_thread::yield();
        continue;
      }
      slot->dTime = i++;
      pool.Commit(slot);
    }
  });
  for (int expected = 0; expected < kFrames;) {
    DecInfo* first = pool.LockPeekFirst();
    if (first == nullptr) {
      pool.UnlockPeek();
      std::this_thread::yield();
      continue;
    }
    ASSERT_EQ(first->dTime, expected++);
    pool.RemoveFirstAndUnlock();
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
  std::int64_t dts = -1;
  ASSERT_TRUE(q.PeekDts(&dts));
  EXPECT_EQ(dts, 0);
  PacketPtr first = q.Get();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size, 16);
  EXPECT_EQ(first->data[0], 40);
  q.DropFirst();
  ASSERT_TRUE(q.PeekDts(&dts));
  EXPECT_EQ(dts, 2);
  q.Flush();
  EXPECT_FALSE(q.PeekDts(&dts));
  EXPECT_FALSE(q.Get());

  // Handed over: the queue's packet holds the only reference, the caller's
  // packet is left blank.
  PacketPtr moved = MakePacket(8, 43);
  const AVBufferRef* buffer = moved->buf;
  ASSERT_TRUE(q.PutMoved(moved.get()));
  EXPECT_EQ(moved->buf, nullptr);
  EXPECT_EQ(moved->size, 0);
  const PacketPtr back = q.Get();
  ASSERT_TRUE(back);
  EXPECT_EQ(back->buf, buffer);
  EXPECT_EQ(back->dts, 8);
  EXPECT_EQ(back->data[0], 43);
  EXPECT_EQ(av_buffer_get_ref_count(back->buf), 1);
}

}  // namespace
}  // namespace lumora
