#pragma once
// The engine with headless displays, as the engine benchmarks drive it.

#include <sys/resource.h>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "engine/CMultiPlayer.h"
#include "engine/CNullDisplay.h"

namespace bench {

using Clock = std::chrono::steady_clock;

class EndCounter : public lumora::IPlayerOwner {
 public:
  void PostEndOfRecording() override { ++m_nEnds; }
  int Count() const { return m_nEnds; }

 private:
  std::atomic<int> m_nEnds{0};
};

struct HeadlessPlayer {
  HeadlessPlayer() {
    void* windows[2] = {nullptr, nullptr};
    player.Create(&owner, windows, 2, &factory);
  }
  // Waits until the end message (true) or the limit passes (false).
  bool WaitForEnd(int startCount, double limitSeconds) {
    const auto until = Clock::now() + std::chrono::duration<double>(limitSeconds);
    while (owner.Count() <= startCount && Clock::now() < until)
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return owner.Count() > startCount;
  }

  EndCounter owner;
  lumora::CNullDisplayFactory factory;
  lumora::CMultiPlayer player;
};

inline double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// User + system CPU seconds used so far by this process (all its threads) or
// by its waited-for children: unlike wall time, hardly affected by other
// programs competing for the processors.
inline double CpuSeconds(int who = RUSAGE_SELF) {
  rusage usage{};
  if (getrusage(who, &usage) != 0) return 0.0;
  const auto seconds = [](const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
  };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace bench
