#pragma once
// The main window as the DIT replay sees it: timer 1, the map pane's script
// calls, the picture view that shows a drive's captured stills, the seek
// slider and what the window keeps of the replay (button looks, the shared
// position, the indicator and the redraw), handed in as hooks.

#include <filesystem>
#include <functional>
#include <string>

#include "library/IDitReplayHost.h"

class QSlider;
class QTimer;

namespace lumora {

class CStillView;
class IMapCalls;

class DitWindowHost : public IDitReplayHost {
 public:
  struct Hooks {
    std::function<void(bool pause)> showPauseLook;
    std::function<void()> pausePlayer;
    std::function<void(int position, int duration)> publishPosition;
    std::function<void()> refreshIndicator;
    std::function<void(int multiplier)> showSpeedMultiplier;
    std::function<void(bool on)> showMarkerLook;
    std::function<void()> redraw;
  };

  DitWindowHost(QTimer* timer, IMapCalls* map, CStillView* picture, QSlider* seek, Hooks hooks);

  void StartReplayTimer(int periodMs) override;
  void StopReplayTimer() override;
  void RunMapScript(const std::string& call) override;
  void ShowPicture(const std::filesystem::path& jpeg) override;
  void ShowPauseLook(bool pause) override;
  void PausePlayer() override;
  void SetSliderRange(int max) override;
  void SetSlider(int pos) override;
  void PublishPosition(int position, int duration) override;
  void RefreshIndicator() override;
  void ShowSpeedMultiplier(int multiplier) override;
  void ShowMarkerLook(bool on) override;
  void Redraw() override;

  // The period timer 1 was last started with (ms), 0 before the first start.
  int TimerPeriod() const { return period_; }
  // The picture last shown (empty when none since the last Clear).
  const std::filesystem::path& ShownPicture() const { return shown_; }
  // Hides the picture view and forgets the picture.
  void ClearPicture();

 private:
  QTimer* timer_;
  IMapCalls* map_;
  CStillView* picture_;
  QSlider* seek_;
  Hooks hooks_;
  int period_ = 0;
  std::filesystem::path shown_;
};

}  // namespace lumora
