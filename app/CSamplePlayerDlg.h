#pragma once
// The main window: video panes, the control bar, the command table keyed by
// control id, the playback commands and the timers that keep the views in
// step with the player. Collaborators (player, track, map, list, card and
// language look-ups) are handed in so that tests can replace them.

#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/IDrivingTrackPort.h"
#include "app/IMapCalls.h"
#include "app/IPlayerPort.h"
#include "app/IRecordingList.h"
#include "app/KeyTable.h"
#include "app/SeekQueue.h"
#include "app/SmartIndicator.h"
#include "data/CDrivingTrack.h"
#include "display/DataPanelRules.h"
#include "display/DitPanelValues.h"
#include "display/IVideoWindowHost.h"
#include "engine/IVideoDisplay.h"
#include "library/CExportRange.h"
#include "library/qt/CCardCommands.h"
#include "platform/IDriveEnumerator.h"

class QIcon;
class QLabel;
class QSlider;
class QTimer;

namespace lumora {

class CDataView;
class CDitMode;
class CStillView;
class DitWindowHost;
class CDriveWatcher;
class CGSensorDlg;
class CGraphDlg;
class SmartView;
class CSkinButton;
class CSetupDlg;
class CThumbnailView;
class CClipExportJob;
class ExportMarks;
struct ClipExportRequest;
struct ClipOverlayOptions;

class CSamplePlayerDlg : public QWidget, public IPlayerOwner, public IVideoWindowHost {
  Q_OBJECT

 public:
  struct Parts {
    std::unique_ptr<IPlayerPort> player;
    std::unique_ptr<IDrivingTrackPort> track;
    // The map pane's calls and its widget, placed in the window.
    std::unique_ptr<IMapCalls> map;
    QWidget* mapWidget = nullptr;
    // Optional: the list window; the window makes its own otherwise.
    IRecordingList* list = nullptr;
    QWidget* listWidget = nullptr;
    // The camera's language code from the card (0, 1, 9; others mean 0).
    std::function<int()> languageProbe;
    // Card root for SDOPEN, empty when no card is present.
    std::function<std::string()> findCard;
    // Speed unit of the card (0 km/h, 1 mph); the argument is the unit shown
    // so far, kept when the card does not say.
    std::function<int(int)> readSpeedUnit;
    // Card root among removable drives only (SETUP), empty when none.
    std::function<std::string()> findRemovableCard;
    std::function<bool()> isOnline;
    // Whether the left mouse button is held (the update waits while it is).
    std::function<bool()> leftButtonHeld;
    // Drive watcher; none in tests that feed drive events directly.
    CDriveWatcher* driveWatcher = nullptr;
    // Drives FORMAT looks at (the running system's when none) and its
    // platform pieces (disk service, file manager, size; defaults when unset).
    std::shared_ptr<IDriveEnumerator> drives;
    CCardCommands::FormatHooks format;
  };

  explicit CSamplePlayerDlg(Parts parts, QWidget* parent = nullptr);
  ~CSamplePlayerDlg() override;

  // Start-up of the window: layout, language, control positions.
  void OnInitDialog();

  // Runs the command of a control id; false for ids outside the table.
  bool OnCommand(int id);
  bool HasCommand(int id) const { return commands_.count(id) != 0; }
  std::vector<int> CommandIds() const;

  void OnTimer(int id);
  bool IsTimerRunning(int id) const;
  // Slider notifications (WM_HSCROLL) with the trackbar code: 2/3 page,
  // 4 thumb position, 5 thumb track.
  void OnHScroll(int controlId, int code);
  // A left press in client coordinates: strip seek or window drag.
  // Returns true when it seeked.
  bool OnLButtonDown(int x, int y);
  void OnDriveAdded(const QString& mountPath);
  void OnDriveRemoved(const QString& mountPath);
  // The end-of-recording message (0x462), on the window's thread.
  // Serves an end notice posted while recording number `opened` was open.
  void OnEndOfRecording(int opened);
  void PostEndOfRecording() override;

  // What the video windows ask: swap on double-click, zoom on the wheel.
  void SwapChannels() override;
  void ZoomIn(int channel) override;
  void ZoomOut(int channel) override;
  void RedrawDisplays() override;

  // Fills the list from a card folder or from files and plays row 0.
  void OpenCard(const std::string& cardRoot);
  void OpenFiles(const std::vector<std::string>& paths);

  // Applies a camera language code: string table, title, caption, tooltips.
  void ApplyLanguage(int cameraCode);

  // The keyboard of this window and the list window: runs the key's command
  // of the key table; false when the key has none in the current mode.
  bool OnKey(int key, int modifiers);
  const KeyTable& Keys() const { return keys_; }
  // Sees the id of every command the window runs (tests, the key list).
  void SetCommandObserver(std::function<void(int)> observer) {
    commandObserver_ = std::move(observer);
  }
  // Files and folders dropped on the window.
  void OnDrop(const std::vector<std::string>& paths);
  // The short line that reports snapshots and ignored drops.
  QString StatusText() const;
  // Where snapshots go: Lumora/ in the user's pictures folder.
  static QString SnapshotFolder();
  // The key list (F1) once shown.
  QWidget* KeyListWindow() const { return keyList_; }

  // State read by tests and by the panes that follow playback.
  int WindowMode() const { return windowMode_; }
  int FrontPlacement() const { return frontPlacement_; }
  int RearPlacement() const { return rearPlacement_; }
  int MapState() const { return mapState_; }
  bool MapShown() const { return mapShown_; }
  int CurrentIndex() const { return currentIndex_; }
  int SpeedMultiplier() const { return speed_; }
  int SavedVolume() const { return savedVolume_; }
  bool Stopped() const { return stopped_; }
  std::uint32_t OutputVolume() const { return outputVolume_; }
  std::int64_t Position() const { return position_; }
  std::int64_t Duration() const { return duration_; }
  const std::string& CardRoot() const { return cardRoot_; }
  int SpeedUnit() const { return speedUnit_; }
  // The legacy settings dialog once the settings button created it.
  CSetupDlg* LegacySetupDialog() const { return legacySetup_; }
  bool WindowSizeFlag() const { return sizeFlag_; }
  QString Caption() const { return caption_; }
  QString ProductTitle() const { return productTitle_; }
  const SmartFrame& LastSmartFrame() const { return smartFrame_; }
  QRect NormalRect() const { return normalRect_; }
  // Data panel and graph windows.
  int GraphMode() const { return graphMode_; }
  const DataPanelInput& PanelInput() const { return panelInput_; }
  CGSensorDlg* GSensorDialog() const { return gsensorDlg_; }
  CGraphDlg* GraphDialog() const { return graphDlg_; }
  // DIT mode: its flag, the drive lists and replay, the window side of the
  // replay, the picture view of the drive's stills and what the panel draws.
  bool InDitMode() const { return ditMode_; }
  CDitMode* Dit() const { return dit_; }
  const DitWindowHost* DitHost() const { return ditHost_.get(); }
  CStillView* DitPicture() const { return ditPicture_; }
  DitPanelValues DitPanel() const;

  CSkinButton* Button(int id) const;
  // The caption a button stands for ("Play" / "Pause" on 1006, the map-size
  // caption on 1101); skinned buttons show it as a picture or as text.
  QString ButtonText(int id) const;
  bool IsChecked(int id) const;
  void SetChecked(int id, bool checked);
  QSlider* Slider(int id) const;
  QLabel* Label(int id) const;
  QWidget* FrontPane() const { return frontPane_; }
  QWidget* RearPane() const { return rearPane_; }
  QWidget* FrontStill() const { return frontStill_; }
  QWidget* RearStill() const { return rearStill_; }
  QWidget* MapWidget() const { return mapWidget_; }
  SmartView* SmartWidget() const { return smart_; }
  IRecordingList* List() const { return list_; }
  // The thumbnail page (1155-1158) and the window that shows a chosen still.
  CThumbnailView* Thumbnails() const { return thumbs_; }
  QWidget* StillWindow() const { return stillWindow_; }
  // Set after a download message: choosing the same recording reloads it.
  bool ReloadMark() const { return reloadMark_; }
  QString ToolTipOf(int id) const;
  // Clip export: the in and out marks set with I and O (ms of the playing
  // recording), the span the EXPORT command would cut, and the export
  // itself with its progress dialog (what the dialog's OK starts).
  std::optional<std::int64_t> ExportIn() const { return exportIn_; }
  std::optional<std::int64_t> ExportOut() const { return exportOut_; }
  ExportSpan ExportSpanNow() const;
  ExportMarks* ExportMarksWidget() const { return exportMarks_; }
  void RunExport(const ClipExportRequest& request, bool overlay, const ClipOverlayOptions& options);

  // True while a seek asked of the player waits or still runs.
  bool SeekBusy() const;
  // The program's icon (the hicolor theme's, else bitmap 472).
  static QIcon ProgramIcon();

  // Renders the window's client area 1:1.
  QImage GrabClient();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void BuildCommandTable();
  void RunLayoutProcedure();
  void PositionControls();
  void LayoutPanes();
  void ApplyWindowSize();
  void CentreWindow();
  void StartTimer(int id, int periodMs);
  void KillTimer(int id);

  // Playback (video-player mode; PlaybackCommands.cpp).
  bool OpenRecording(int row);
  void ReportInvalidFile(int row, const std::string& path);
  void PlayPause();
  void StartPlaying();
  void Stop();
  void FollowCurrentRow();
  // The list toggle's open or closed bitmap, after the list window's visibility.
  void ShowListToggleLook();
  // Moves the window so that the list window fits beside it, where it can.
  void MakeRoomForList();
  void Next();
  void Previous();
  void Step(bool forward);
  void ToggleSpeed();
  void SwapPanes();
  void LayoutCheck(int id);
  void Update();
  void SetMute(bool mute);
  void ApplyVolumeFromSlider();
  void SetOutputVolume(std::uint32_t word);
  void SetTimeLabels(std::int64_t position, std::int64_t duration);
  void SetSeek(std::int64_t position);
  // Seeks through the queue that keeps the newest target while one runs.
  void SeekTo(std::int64_t ms);
  void PollSeek();
  // The seek bar: a press on its channel at slider x, wheel notches over it.
  void OnSeekBarPressed(int x);
  void OnSeekWheel(int notches);
  void ShowGraphModeLook();
  void RefreshSmart();
  void HideStills();
  void ShowPlayLook(bool playing);

  // Window commands.
  void Shutdown();
  void FullScreenSwitch();
  void LeaveEnlarged();
  void ToggleWindowSize();
  void ToggleList();
  void SdOpen();
  void OpenDialog();
  void MapToggle();
  void MapSize();
  void About();
  // FORMAT, DOWN and PRINT (CardCommands.cpp).
  void InstallCardCommands();
  void FormatCard();
  // Closes the recording, the thumbnail decoding and the stills and forgets
  // the card's lists, so that nothing of ours holds the card.
  void ReleaseCard();
  // Keyboard commands, the key list, one-picture steps, the snapshot and
  // drops (KeyCommands.cpp, SnapshotCommand.cpp).
  void InstallKeyCommands();
  QWidget* ListWindow() const;
  void StepPicture(int direction);
  void SeekStart();
  void ChangeVolume(int delta);
  void ToggleMute();
  void ZoomLargePane(bool in);
  void ShowKeyList();
  void TakeSnapshot();
  void ShowStatus(const QString& text);
  void DitSeekBy(int points);
  // The thumbnail page (ThumbnailCommands.cpp).
  void InstallThumbnailCommands();
  static bool IsThumbnailCommand(int id);
  void ShowThumbnailPage();
  void OpenThumbnailFile(const QString& path);
  // Clip export (ExportCommands.cpp).
  void InstallExportCommands();
  void SetExportMark(bool in);
  void ShowExportMarks();
  void ExportClip();
  // SETUP and the settings button.
  void OpenSetup();
  void OpenLegacySetup();
  // DIT mode (DitCommands.cpp).
  void InstallDitMode();
  void ToggleDitMode();
  void EnterDitMode();
  void LeaveDitMode();
  void DitSetup();
  void ScanDitDrives(const std::string& cardRoot);
  void ForgetDitDrives();
  void RefreshDitIndicator();
  void ShowSpeedLook(int multiplier);
  // Data panel and graph windows.
  CDrivingTrack& PanelTrack();
  void UpdatePanelInput();
  void CycleGraphMode();
  void OpenGraph();
  void ShowGSensorDialog();
  void ShowMessage(const QString& text);
  bool NoRecordingListed();

  Parts parts_;
  IPlayerPort* player_ = nullptr;
  IDrivingTrackPort* track_ = nullptr;
  IMapCalls* map_ = nullptr;
  IRecordingList* list_ = nullptr;

  std::map<int, std::function<void()>> commands_;
  std::map<int, QTimer*> timers_;
  std::map<int, CSkinButton*> buttons_;
  std::map<int, QString> captions_;
  std::map<int, QSlider*> sliders_;
  std::map<int, QLabel*> labels_;
  std::map<int, int> tooltipStrings_;

  QWidget* frontArea_ = nullptr;  // large video area (channel 0's parent)
  QWidget* rearArea_ = nullptr;   // small video area (channel 1's parent)
  QWidget* frontPane_ = nullptr;
  QWidget* rearPane_ = nullptr;
  QWidget* frontStill_ = nullptr;
  QWidget* rearStill_ = nullptr;
  QWidget* mapWidget_ = nullptr;
  SmartView* smart_ = nullptr;
  QLabel* speedLabel_ = nullptr;
  CSkinButton* mute_ = nullptr;

  int windowMode_ = 1;
  int frontPlacement_ = 0;
  int rearPlacement_ = 0;
  int mapState_ = 0;
  int currentIndex_ = -1;
  // Path of the recording opened last; its row moves when the list is re-sorted.
  std::string currentPath_;
  // Counts the recordings opened; the player's end notices carry it so that
  // a notice of a recording already replaced is dropped.
  std::atomic<int> openedCount_{0};
  int speed_ = 1;
  int savedVolume_ = 50;
  bool ditMode_ = false;
  bool listVisible_ = false;
  bool mapShown_ = true;
  bool stopped_ = false;
  bool sizeFlag_ = false;
  bool playRequestActive_ = false;
  bool inInvalidBox_ = false;
  std::uint32_t outputVolume_ = 0x7FFF7FFFu;
  std::int64_t position_ = 0;
  std::int64_t duration_ = 0;
  std::int64_t lastSeekPosition_ = 0;
  SeekQueue seeks_;
  QTimer* seekPoll_ = nullptr;
  // The end notice of the open recording came: it played to its end.
  bool endReached_ = false;
  // Whether the list window was shown when the window went full screen.
  bool listBeforeEnlarged_ = false;
  std::string cardRoot_;
  int speedUnit_ = 0;
  CSetupDlg* legacySetup_ = nullptr;
  QString caption_;
  QString productTitle_;
  QRect normalRect_;
  bool whiteBackground_ = false;
  SmartIndicator smartIndicator_;
  SmartFrame smartFrame_;
  // Data panel: its shared input, the painter, and a stand-in track for
  // track implementations that keep none.
  DataPanelInput panelInput_;
  CDrivingTrack noTrack_;
  std::unique_ptr<CDataView> dataView_;
  int graphMode_ = 0;
  CGSensorDlg* gsensorDlg_ = nullptr;
  CGraphDlg* graphDlg_ = nullptr;
  CThumbnailView* thumbs_ = nullptr;
  QPointer<QWidget> stillWindow_;
  bool reloadMark_ = false;
  // DIT mode.
  std::unique_ptr<DitWindowHost> ditHost_;
  CDitMode* dit_ = nullptr;
  CStillView* ditPicture_ = nullptr;
  std::vector<QWidget*> ditHidden_;
  // Clip export.
  std::optional<std::int64_t> exportIn_;
  std::optional<std::int64_t> exportOut_;
  std::string exportMarksPath_;
  ExportMarks* exportMarks_ = nullptr;
  // Keyboard, key list, status line.
  KeyTable keys_;
  std::function<void(int)> commandObserver_;
  QPointer<QWidget> keyList_;
  QTimer* statusTimer_ = nullptr;
};

}  // namespace lumora
