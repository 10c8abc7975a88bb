#include "engine/PacketQueue.h"

namespace lumora {

void PacketQueue::Init(int mode, int maxCount, double limitSeconds, double timeBase) {
  std::lock_guard guard(m_lock);
  m_nMode = mode;
  m_nMaxCount = maxCount;
  m_dLimit = limitSeconds;
  m_dTimeBase = timeBase;
}

bool PacketQueue::Put(const AVPacket* packet) {
  PacketPtr copy(av_packet_alloc());
  if (!copy || av_packet_ref(copy.get(), packet) < 0) return false;
  std::lock_guard guard(m_lock);
  m_packets.push_back(std::move(copy));
  return true;
}

bool PacketQueue::PutMoved(AVPacket* packet) {
  // Data the packet does not own has to be copied.
  if (packet->buf == nullptr) {
    const bool put = Put(packet);
    av_packet_unref(packet);
    return put;
  }
  PacketPtr copy(av_packet_alloc());
  if (!copy) return false;
  av_packet_move_ref(copy.get(), packet);
  std::lock_guard guard(m_lock);
  m_packets.push_back(std::move(copy));
  return true;
}

bool PacketQueue::PeekDts(std::int64_t* dts) {
  std::lock_guard guard(m_lock);
  if (m_packets.empty()) return false;
  *dts = m_packets.front()->dts;
  return true;
}

PacketPtr PacketQueue::Get() {
  std::lock_guard guard(m_lock);
  if (m_packets.empty()) return nullptr;
  PacketPtr first = std::move(m_packets.front());
  m_packets.pop_front();
  return first;
}

void PacketQueue::DropFirst() {
  std::lock_guard guard(m_lock);
  if (!m_packets.empty()) m_packets.pop_front();
}

void PacketQueue::Flush() {
  std::lock_guard guard(m_lock);
  m_packets.clear();
}

int PacketQueue::Fullness() {
  std::lock_guard guard(m_lock);
  if (m_packets.empty()) return -1;
  if (m_nMode == kModeCount) return static_cast<int>(m_packets.size()) >= m_nMaxCount ? 1 : 0;
  if (m_nMode != kModeDuration) return 0;
  const std::int64_t oldest = m_packets.front()->dts;
  const std::int64_t newest = m_packets.back()->dts;
  if (oldest == AV_NOPTS_VALUE || newest == AV_NOPTS_VALUE)
    return static_cast<int>(m_packets.size()) >= m_nMaxCount ? 1 : 0;
  if (newest < oldest) {
    m_packets.pop_front();
    return 0;
  }
  return static_cast<double>(newest - oldest) * m_dTimeBase > m_dLimit ? 1 : 0;
}

int PacketQueue::Count() {
  std::lock_guard guard(m_lock);
  return static_cast<int>(m_packets.size());
}

}  // namespace lumora
