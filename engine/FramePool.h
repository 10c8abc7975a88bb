#pragma once
// A fixed ring of decoded frame slots between a decoder thread (the filler)
// and the player thread (the consumer). Slots are filled outside the lock and
// handed over by Commit; the ready list keeps them oldest first.

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>

#include "engine/DecInfo.h"
#include "engine/WakeSignal.h"

namespace lumora {

class FramePool {
 public:
  FramePool() = default;
  FramePool(const FramePool&) = delete;
  FramePool& operator=(const FramePool&) = delete;

  void Init(int kind, int capacity);
  void Free();
  // -1 empty, 1 full (capacity entries or more), else 0.
  int Fullness();
  // The slot at the write index, or null when every slot is ready.
  DecInfo* GetFreeSlot();
  // Appends the slot filled since GetFreeSlot. A slot taken before a Clear is
  // dropped, since its place in the ring no longer matches the write index.
  void Commit(DecInfo* slot);
  DecInfo* PeekFirst();
  // Takes the lock and returns the oldest ready slot (or null); the lock is
  // kept until UnlockPeek or RemoveFirstAndUnlock.
  DecInfo* LockPeekFirst();
  void UnlockPeek();
  void RemoveFirstAndUnlock();
  void RemoveFirst();
  void Clear();
  int Count();
  int Capacity() const { return m_nCapacity; }
  // Signals to notify when a slot is committed (the consumer's) and when
  // slots are removed or cleared (the filler's); either may be null.
  void SetWakeSignals(WakeSignal* onCommit, WakeSignal* onRemove);

 private:
  void RemoveFirstLocked();
  static void Release(DecInfo* slot);

  std::mutex m_lock;
  std::unique_ptr<DecInfo[]> m_pSlots;
  int m_nCapacity = 0;
  int m_nWriteIndex = 0;
  std::deque<DecInfo*> m_ready;
  unsigned m_nClearCount = 0;
  unsigned m_nFillClearCount = 0;
  DecInfo* m_pFilling = nullptr;
  std::atomic<WakeSignal*> m_pOnCommit{nullptr};
  std::atomic<WakeSignal*> m_pOnRemove{nullptr};
};

}  // namespace lumora
