#include <gtest/gtest.h>

#include <atomic>
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
    slots[i]->dTime = i;
    pool.Commit(slots[i]);
    EXPECT_EQ(pool.Fullness(), i == 2 ? 1 : 0);
  }
  EXPECT_NE(slots[0], slots[1]);
  EXPECT_EQ(pool.GetFreeSlot(), nullptr);
  EXPECT_EQ(pool.Count(), 3);
  EXPECT_EQ(pool.PeekFirst(), slots[0]);
  pool.RemoveFirst();
  // The freed place is the next one handed out.
  EXPECT_EQ(pool.GetFreeSlot(), slots[0]);
  DecInfo* first = pool.LockPeekFirst();
  EXPECT_EQ(first, slots[1]);
  pool.RemoveFirstAndUnlock();
  first = pool.LockPeekFirst();
  EXPECT_EQ(first, slots[2]);
  pool.UnlockPeek();
  EXPECT_EQ(pool.Count(), 1);
  pool.Clear();
  EXPECT_EQ(pool.Count(), 0);
  EXPECT_EQ(pool.GetFreeSlot(), slots[0]);
  pool.Free();
  EXPECT_EQ(pool.GetFreeSlot(), nullptr);
}

TEST(FramePool, SlotFilledAcrossAClearIsNotHandedOver) {
  FramePool pool;
  pool.Init(kDecKindVideo, 4);
  DecInfo* a = pool.GetFreeSlot();
  pool.Commit(a);
  DecInfo* b = pool.GetFreeSlot();
  pool.Clear();  // the player flushes while the decoder is filling b
  pool.Commit(b);
  EXPECT_EQ(pool.Count(), 0);
  EXPECT_EQ(pool.GetFreeSlot(), a);
}

TEST(FramePool, SlotBuffersGrowAndAreKept) {
  DecInfo slot;
  ASSERT_TRUE(slot.Reserve(100));
  std::uint8_t* first = slot.pBuffer.get();
  EXPECT_EQ(slot.nCapacity, 100);
  ASSERT_TRUE(slot.Reserve(50));
  EXPECT_EQ(slot.pBuffer.get(), first);
  ASSERT_TRUE(slot.Reserve(1000));
  EXPECT_EQ(slot.nCapacity, 1000);
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
  int expected = 0;
  while (expected < kFrames) {
    DecInfo* first = pool.LockPeekFirst();
    if (first == nullptr) {
      pool.UnlockPeek();
      std::this_thread::yield();
      continue;
    }
    ASSERT_EQ(first->dTime, expected);
    ++expected;
    pool.RemoveFirstAndUnlock();
  }
  producer.join();
}

PacketPtr MakePacket(std::int64_t dts, int bytes = 16) {
  PacketPtr p(av_packet_alloc());
  EXPECT_EQ(av_new_packet(p.get(), bytes), 0);
  p->dts = dts;
  p->pts = dts;
  return p;
}

TEST(PacketQueue, DurationModeIsFullAfterOneSecondOfPackets) {
  PacketQueue q;
  q.Init(PacketQueue::kModeDuration, 20, 1.0, 1.0 / 25);
  EXPECT_EQ(q.Fullness(), -1);
  for (int i = 0; i <= 25; ++i) {
    ASSERT_TRUE(q.Put(MakePacket(i).get()));
    EXPECT_EQ(q.Fullness(), 0) << i;
  }
  ASSERT_TRUE(q.Put(MakePacket(26).get()));
  EXPECT_EQ(q.Fullness(), 1);
  std::int64_t dts = -1;
  ASSERT_TRUE(q.PeekDts(&dts));
  EXPECT_EQ(dts, 0);
  PacketPtr first = q.Get();
  ASSERT_TRUE(first);
  EXPECT_EQ(first->dts, 0);
  EXPECT_EQ(first->size, 16);
  q.DropFirst();
  ASSERT_TRUE(q.PeekDts(&dts));
  EXPECT_EQ(dts, 2);
  EXPECT_EQ(q.Count(), 25);
  q.Flush();
  EXPECT_EQ(q.Count(), 0);
  EXPECT_FALSE(q.Get());
}

TEST(PacketQueue, BackwardTimeShrinksTheQueueFromTheFront) {
  PacketQueue q;
  q.Init(PacketQueue::kModeDuration, 20, 1.0, 1.0 / 25);
  for (int dts : {100, 101, 102, 5}) q.Put(MakePacket(dts).get());
  EXPECT_EQ(q.Fullness(), 0);
  EXPECT_EQ(q.Count(), 3);
  std::int64_t dts = 0;
  ASSERT_TRUE(q.PeekDts(&dts));
  EXPECT_EQ(dts, 101);
}

TEST(PacketQueue, CountModeAndOtherModes) {
  PacketQueue q;
  q.Init(PacketQueue::kModeCount, 3, 1.0, 1.0);
  for (int i = 0; i < 2; ++i) q.Put(MakePacket(i).get());
  EXPECT_EQ(q.Fullness(), 0);
  q.Put(MakePacket(2).get());
  EXPECT_EQ(q.Fullness(), 1);
  q.Init(7, 3, 1.0, 1.0);
  EXPECT_EQ(q.Fullness(), 0);
}

TEST(PacketQueue, PacketCopiesOwnTheirData) {
  PacketQueue q;
  q.Init(PacketQueue::kModeDuration, 20, 1.0, 0.001);
  {
    PacketPtr p = MakePacket(7, 4);
    p->data[0] = 42;
    q.Put(p.get());
  }
  PacketPtr back = q.Get();
  ASSERT_TRUE(back);
  EXPECT_EQ(back->data[0], 42);

  // Handed over: the queue's packet holds the only reference, the caller's
  // packet is left blank.
  PacketPtr moved = MakePacket(8, 4);
  moved->data[0] = 43;
  const AVBufferRef* buffer = moved->buf;
  ASSERT_TRUE(q.PutMoved(moved.get()));
  EXPECT_EQ(moved->buf, nullptr);
  EXPECT_EQ(moved->size, 0);
  back = q.Get();
  ASSERT_TRUE(back);
  EXPECT_EQ(back->buf, buffer);
  EXPECT_EQ(back->dts, 8);
  EXPECT_EQ(back->data[0], 43);
  EXPECT_EQ(av_buffer_get_ref_count(back->buf), 1);
}

}  // namespace
}  // namespace lumora
