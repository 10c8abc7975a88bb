#pragma once
// DIT mode of the main window: the drive list (5014) and the hidden point and
// picture lists (5017, 5015, 5016), the scan of DIT/GPS, the replay commands
// and the over-speed limit. The window supplies timer 1, the map, the picture
// view and the button looks through IDitReplayHost.

#include <QObject>

#include <filesystem>
#include <functional>
#include <vector>

#include "library/CDitDriveList.h"
#include "library/CDitReplay.h"
#include "library/IDitReplayHost.h"

class QTreeWidget;
class QWidget;

namespace lumora {

class CDitMode : public QObject, private IDitReplayHost {
  Q_OBJECT

 public:
  static constexpr int kDriveListId = 5014;
  static constexpr int kPictureListId = 5015;
  static constexpr int kPictureMinuteListId = 5016;
  static constexpr int kPointListId = 5017;
  static constexpr const char* kOpenFilter = "dit files(*.dit)|*.dit|";

  // `window` gets every effect of the replay; the lists are children of `owner`.
  CDitMode(QWidget* owner, IDitReplayHost* window);
  ~CDitMode() override;

  QTreeWidget* DriveList() const { return lists_[0]; }
  QTreeWidget* PictureList() const { return lists_[1]; }
  QTreeWidget* PictureMinuteList() const { return lists_[2]; }
  QTreeWidget* PointList() const { return lists_[3]; }

  // Card scan: refills the drive list from DIT/GPS and reports invalid files
  // in one message box.
  void ScanCard(const std::filesystem::path& root);
  // The card went away: the drive list is emptied without reading any folder.
  void ClearDrives();
  // Files chosen in the open dialog (Open in DIT mode).
  void AddOpenedFiles(const std::vector<std::filesystem::path>& files);
  // Open (1194): stops, asks for files with the "*.dit" filter and adds them.
  void Open();

  void Enter();
  void Leave();
  bool InMode() const { return replay_.InMode(); }

  void ClickDrive(int row);
  void DoubleClickDrive(int row);
  void Play();
  void Stop();
  void Previous();
  // The drive after the selected one, replayed from its start (PageDown).
  void Next();
  void Speed();
  void Mark();
  void Seek(int x, int left, int width);
  // Timer 1.
  void OnTimer();
  // DITSTP (1202): stops, asks for the limit through `askLimit` (the setup
  // dialog; returns the entered value, negative for none) and recomputes.
  void Setup();
  void SetLimitAsker(std::function<int(int current)> askLimit) { askLimit_ = std::move(askLimit); }
  // Replaces the open dialog of Open (the files chosen, empty for none).
  void SetFileAsker(std::function<std::vector<std::filesystem::path>()> askFiles) {
    askFiles_ = std::move(askFiles);
  }
  // Takes a new over-speed limit and recomputes the drive list's statistics.
  void ApplyLimit(int limit);
  // The replay's speed multiplier (1, 2, 4 or 8; others become 1).
  void SetMultiplier(int multiplier) { replay_.SetMultiplier(multiplier); }

  int Limit() const { return limit_; }
  int SelectedRow() const;
  std::filesystem::path SelectedPath() const;
  const CDitReplay& Replay() const { return replay_; }
  const CDitDriveList& Drives() const { return drives_; }

 private:
  // IDitReplayHost: forwarded to the window.
  void StartReplayTimer(int periodMs) override { window_->StartReplayTimer(periodMs); }
  void StopReplayTimer() override { window_->StopReplayTimer(); }
  void RunMapScript(const std::string& call) override { window_->RunMapScript(call); }
  void ShowPicture(const std::filesystem::path& jpeg) override { window_->ShowPicture(jpeg); }
  void ShowPauseLook(bool pause) override { window_->ShowPauseLook(pause); }
  void PausePlayer() override { window_->PausePlayer(); }
  void SetSliderRange(int max) override { window_->SetSliderRange(max); }
  void SetSlider(int pos) override { window_->SetSlider(pos); }
  void PublishPosition(int position, int duration) override {
    window_->PublishPosition(position, duration);
  }
  void RefreshIndicator() override { window_->RefreshIndicator(); }
  void ShowSpeedMultiplier(int m) override { window_->ShowSpeedMultiplier(m); }
  void ShowMarkerLook(bool on) override { window_->ShowMarkerLook(on); }
  void Redraw() override { window_->Redraw(); }

  void FillDriveList();
  void FillPointAndPictureLists();
  void SelectRow(int row);
  void ReportInvalid();

  QWidget* owner_;
  IDitReplayHost* window_;
  QTreeWidget* lists_[4];
  CDitDriveList drives_;
  CDitReplay replay_;
  int limit_ = CDitStatistics::kDefaultLimit;
  std::function<int(int)> askLimit_;
  std::function<std::vector<std::filesystem::path>()> askFiles_;
};

}  // namespace lumora
