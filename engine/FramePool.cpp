#include "engine/FramePool.h"

namespace lumora {

void FramePool::Init(int kind, int capacity) {
  std::lock_guard guard(m_lock);
  m_ready.clear();
  m_nCapacity = capacity > 0 ? capacity : 1;
  m_pSlots = std::make_unique<DecInfo[]>(static_cast<std::size_t>(m_nCapacity));
  for (int i = 0; i < m_nCapacity; ++i) m_pSlots[i].nKind = kind;
  m_nWriteIndex = 0;
  m_pFilling = nullptr;
}

void FramePool::Free() {
  std::lock_guard guard(m_lock);
  m_ready.clear();
  m_pSlots.reset();
  m_nCapacity = 0;
  m_nWriteIndex = 0;
  m_pFilling = nullptr;
}

int FramePool::Fullness() {
  std::lock_guard guard(m_lock);
  if (m_ready.empty()) return -1;
  return static_cast<int>(m_ready.size()) >= m_nCapacity ? 1 : 0;
}

DecInfo* FramePool::GetFreeSlot() {
  std::lock_guard guard(m_lock);
  if (!m_pSlots || static_cast<int>(m_ready.size()) >= m_nCapacity) return nullptr;
  m_pFilling = &m_pSlots[m_nWriteIndex];
  m_nFillClearCount = m_nClearCount;
  return m_pFilling;
}

void FramePool::SetWakeSignals(WakeSignal* onCommit, WakeSignal* onRemove) {
  if (onCommit != nullptr) m_pOnCommit = onCommit;
  if (onRemove != nullptr) m_pOnRemove = onRemove;
}

namespace {
void NotifyIfSet(const std::atomic<WakeSignal*>& signal) {
  if (WakeSignal* s = signal.load()) s->Notify();
}
}  // namespace

void FramePool::Commit(DecInfo* slot) {
  {
    std::lock_guard guard(m_lock);
    if (slot == nullptr || slot != m_pFilling || m_nFillClearCount != m_nClearCount) return;
    m_pFilling = nullptr;
    m_ready.push_back(slot);
    m_nWriteIndex = (m_nWriteIndex + 1) % m_nCapacity;
  }
  NotifyIfSet(m_pOnCommit);
}

DecInfo* FramePool::PeekFirst() {
  std::lock_guard guard(m_lock);
  return m_ready.empty() ? nullptr : m_ready.front();
}

DecInfo* FramePool::LockPeekFirst() {
  m_lock.lock();
  return m_ready.empty() ? nullptr : m_ready.front();
}

void FramePool::UnlockPeek() { m_lock.unlock(); }

void FramePool::RemoveFirstAndUnlock() {
  RemoveFirstLocked();
  m_lock.unlock();
  NotifyIfSet(m_pOnRemove);
}

void FramePool::RemoveFirst() {
  {
    std::lock_guard guard(m_lock);
    RemoveFirstLocked();
  }
  NotifyIfSet(m_pOnRemove);
}

void FramePool::RemoveFirstLocked() {
  if (m_ready.empty()) return;
  Release(m_ready.front());
  m_ready.pop_front();
}

void FramePool::Release(DecInfo* slot) {
  // The codec's picture goes back to its buffer pool as soon as the slot
  // has been consumed, not when the slot is filled again.
  if (slot->pFrame) av_frame_unref(slot->pFrame.get());
}

void FramePool::Clear() {
  {
    std::lock_guard guard(m_lock);
    for (DecInfo* slot : m_ready) Release(slot);
    m_ready.clear();
    m_nWriteIndex = 0;
    ++m_nClearCount;
  }
  NotifyIfSet(m_pOnRemove);
}

int FramePool::Count() {
  std::lock_guard guard(m_lock);
  return static_cast<int>(m_ready.size());
}

}  // namespace lumora
