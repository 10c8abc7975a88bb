#pragma once
// What the headless displays saw: one record per picture shown, and counts
// of the other display calls. Shared by the displays of one player, so it
// outlives them; safe to read from any thread while the player runs.

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

namespace lumora {

struct FrameRecord {
  int channel = 0;
  int view = 0;
  double time = 0.0;  // presentation time in seconds
  int width = 0;
  int height = 0;
  int pixelFormat = 0;
  std::uint32_t lumaSum = 0;  // sum of the first row of the Y plane
  std::chrono::steady_clock::time_point shownAt;
};

class FrameLog {
 public:
  void AddFrame(const FrameRecord& record);
  void CountRedraw(int showStill);
  void CountZoom(int direction);
  std::vector<FrameRecord> Frames();
  std::vector<FrameRecord> FramesOf(int channel);
  int FrameCount();
  int RedrawCount(int showStill);
  int ZoomCount(int direction);
  void Clear();
  // Called on the player thread after each picture is recorded.
  void SetObserver(std::function<void(const FrameRecord&)> observer);

 private:
  std::mutex m_lock;
  std::vector<FrameRecord> m_frames;
  int m_nRedraws[2] = {};
  int m_nZooms[2] = {};
  std::function<void(const FrameRecord&)> m_observer;
};

}  // namespace lumora
