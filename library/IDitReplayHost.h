#pragma once
// What the DIT replay asks of the window that shows it. The main window
// implements it with its timer 1, map pane, picture view and buttons; tests
// record the calls.

#include <filesystem>
#include <string>

namespace lumora {

class IDitReplayHost {
 public:
  virtual ~IDitReplayHost() = default;
  // Starts (or restarts) the replay timer with the period in ms.
  virtual void StartReplayTimer(int periodMs) = 0;
  virtual void StopReplayTimer() = 0;
  // One map script call ("javascript:...").
  virtual void RunMapScript(const std::string& call) = 0;
  virtual void ShowPicture(const std::filesystem::path& jpeg) = 0;
  // true: the pause look and the text "Pause"; false: the play look.
  virtual void ShowPauseLook(bool pause) = 0;
  virtual void PausePlayer() = 0;
  virtual void SetSliderRange(int max) = 0;
  virtual void SetSlider(int pos) = 0;
  // The shared position and duration the panel and indicator read.
  virtual void PublishPosition(int position, int duration) = 0;
  virtual void RefreshIndicator() = 0;
  virtual void ShowSpeedMultiplier(int multiplier) = 0;
  virtual void ShowMarkerLook(bool on) = 0;
  virtual void Redraw() = 0;
};

}  // namespace lumora
