#include "engine/FrameLog.h"

namespace lumora {

void FrameLog::AddFrame(const FrameRecord& record) {
  std::function<void(const FrameRecord&)> observer;
  {
    std::lock_guard guard(m_lock);
    m_frames.push_back(record);
    observer = m_observer;
  }
  if (observer) observer(record);
}

void FrameLog::CountRedraw(int showStill) {
  std::lock_guard guard(m_lock);
  ++m_nRedraws[showStill ? 1 : 0];
}

void FrameLog::CountZoom(int direction) {
  std::lock_guard guard(m_lock);
  ++m_nZooms[direction > 0 ? 1 : 0];
}

std::vector<FrameRecord> FrameLog::Frames() {
  std::lock_guard guard(m_lock);
  return m_frames;
}

std::vector<FrameRecord> FrameLog::FramesOf(int channel) {
  std::lock_guard guard(m_lock);
  std::vector<FrameRecord> out;
  for (const auto& f : m_frames)
    if (f.channel == channel) out.push_back(f);
  return out;
}

int FrameLog::FrameCount() {
  std::lock_guard guard(m_lock);
  return static_cast<int>(m_frames.size());
}

int FrameLog::RedrawCount(int showStill) {
  std::lock_guard guard(m_lock);
  return m_nRedraws[showStill ? 1 : 0];
}

int FrameLog::ZoomCount(int direction) {
  std::lock_guard guard(m_lock);
  return m_nZooms[direction > 0 ? 1 : 0];
}

void FrameLog::Clear() {
  std::lock_guard guard(m_lock);
  m_frames.clear();
  m_nRedraws[0] = m_nRedraws[1] = 0;
  m_nZooms[0] = m_nZooms[1] = 0;
}

void FrameLog::SetObserver(std::function<void(const FrameRecord&)> observer) {
  std::lock_guard guard(m_lock);
  m_observer = std::move(observer);
}

}  // namespace lumora
