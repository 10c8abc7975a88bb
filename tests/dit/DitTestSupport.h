#pragma once
// DIT text and a host that records what the replay asks of its window.

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "library/IDitReplayHost.h"
#include "tests/support/TempFolder.h"

namespace lumora::test {

// "YYYYMMDDHHMMSS,lat,lon,speed,ttc\r\n" for a point `second` seconds after
// 08:30:00 on 2026-12-05 (same day only).
inline std::string DitLine(int second, double lat, double lon, int speed, double ttc = 1.5) {
  const int t = 8 * 3600 + 30 * 60 + second;
  char buf[128];
  std::snprintf(buf, sizeof buf, "20261205%02d%02d%02d,%.4f,%.4f,%d,%.1f\r\n", t / 3600,
                t % 3600 / 60, t % 60, lat, lon, speed, ttc);
  return buf;
}

class RecordingHost : public IDitReplayHost {
 public:
  void StartReplayTimer(int periodMs) override {
    timerRunning = true;
    periods.push_back(periodMs);
  }
  void StopReplayTimer() override { timerRunning = false; }
  void RunMapScript(const std::string& call) override { scripts.push_back(call); }
  void ShowPicture(const std::filesystem::path& jpeg) override {
    pictures.push_back(jpeg.filename().string());
    pictureAtIndex.push_back(sharedPosition);
  }
  void ShowPauseLook(bool pause) override { pauseLook = pause; }
  void PausePlayer() override { ++playerPauses; }
  void SetSliderRange(int max) override { sliderMax = max; }
  void SetSlider(int pos) override { lastSlider = pos; }
  void PublishPosition(int position, int duration) override {
    sharedPosition = position;
    sharedDuration = duration;
  }
  void RefreshIndicator() override {}
  void ShowSpeedMultiplier(int m) override { multipliers.push_back(m); }
  void ShowMarkerLook(bool on) override { markerLook = on; }
  void Redraw() override {}

  int Count(const std::string& prefix) const {
    return static_cast<int>(
        std::count_if(scripts.begin(), scripts.end(),
                      [&](const std::string& s) { return s.rfind(prefix, 0) == 0; }));
  }

  bool timerRunning = false, pauseLook = false, markerLook = true;
  std::vector<int> periods, multipliers, pictureAtIndex;
  std::vector<std::string> scripts, pictures;
  int playerPauses = 0, sliderMax = -1, lastSlider = -1, sharedPosition = -1, sharedDuration = -1;
};

}  // namespace lumora::test
