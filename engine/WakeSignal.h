#pragma once
// Lets a worker thread that has nothing to do sleep until another thread
// changes something it waits for (a packet queued, a frame slot freed or
// filled, a seek asked for), with the short poll it replaces as the longest
// wait. Notify is called with no pool or queue lock held.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace lumora {

class WakeSignal {
 public:
  void Notify() {
    {
      std::lock_guard guard(m_lock);
      ++m_nNotified;
    }
    m_wake.notify_all();
  }
  // Returns at the first Notify since the previous wait, or after `limit`.
  void WaitFor(std::chrono::microseconds limit) {
    std::unique_lock lock(m_lock);
    m_wake.wait_for(lock, limit, [this] { return m_nNotified != m_nSeen; });
    m_nSeen = m_nNotified;
  }

 private:
  std::mutex m_lock;
  std::condition_variable m_wake;
  std::uint64_t m_nNotified = 0;
  std::uint64_t m_nSeen = 0;
};

}  // namespace lumora
