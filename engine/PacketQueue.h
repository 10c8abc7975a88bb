#pragma once
// Demultiplexed packets waiting for the decoding thread, bounded by the time
// span they cover. Each entry owns its own reference to the packet data.

#include <cstdint>
#include <deque>
#include <mutex>

#include "engine/FFmpegHandles.h"

namespace lumora {

class PacketQueue {
 public:
  static constexpr int kModeCount = 0;
  static constexpr int kModeDuration = 1;

  PacketQueue() = default;
  PacketQueue(const PacketQueue&) = delete;
  PacketQueue& operator=(const PacketQueue&) = delete;
  ~PacketQueue() { Flush(); }

  void Init(int mode, int maxCount, double limitSeconds, double timeBase);
  // Appends a new reference to the packet; false when it cannot be copied.
  bool Put(const AVPacket* packet);
  // Like Put, but takes the packet's reference over and leaves `packet`
  // blank, so that the data is released by whoever takes it out (the
  // decoding thread), never by the thread that read it after handing it on.
  bool PutMoved(AVPacket* packet);
  // The dts of the oldest packet; false when the queue is empty. The packet
  // itself stays in the queue, so a consumer takes it with Get: handing out a
  // pointer would race with Fullness dropping the oldest entry.
  bool PeekDts(std::int64_t* dts);
  // Removes the oldest packet and gives it to the caller (null when empty).
  PacketPtr Get();
  void DropFirst();
  void Flush();
  // -1 empty, 1 full, else 0 (see the modes). In duration mode a newest dts
  // below the oldest one drops the oldest packet so the queue cannot stall.
  int Fullness();
  int Count();
  double TimeBase() const { return m_dTimeBase; }

 private:
  std::mutex m_lock;
  std::deque<PacketPtr> m_packets;
  int m_nMode = kModeDuration;
  int m_nMaxCount = 20;
  double m_dLimit = 1.0;
  double m_dTimeBase = 0.0;
};

}  // namespace lumora
