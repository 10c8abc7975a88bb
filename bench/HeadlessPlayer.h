#pragma once
// The engine with headless displays, as the engine benchmarks drive it.

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

}  // namespace bench
