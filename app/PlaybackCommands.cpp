// The main window's playback commands and update timer: open, play and pause,
// stop, previous and next, the step and speed buttons, the pane layout checks,
// the seek and volume sliders, the ADAS indicator and the end-of-recording
// notice. The rules live in PlaybackRules and MainLayout; this file connects
// them to the window's controls and the player.
#include <QFileInfo>
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

#include <filesystem>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/CThumbnailView.h"
#include "app/IRecordingList.h"
#include "app/MainLayout.h"
#include "app/PlaybackRules.h"
#include "app/SmartView.h"
#include "data/qt/CGSensorDlg.h"
#include "data/qt/CGraphDlg.h"
#include "library/qt/CDitMode.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "ui/CSkinButton.h"
#include "ui/SkinCatalog.h"

namespace lumora {
namespace {

QRect ToQRect(const LayoutRect& r) { return QRect(r.x, r.y, r.width, r.height); }

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

}  // namespace

void CSamplePlayerDlg::SetOutputVolume(std::uint32_t word) {
  outputVolume_ = word;
  if (player_) player_->SetOutputVolume(word);
}

void CSamplePlayerDlg::SetTimeLabels(std::int64_t position, std::int64_t duration) {
  const QString pos = QString::fromStdString(PlaybackRules::TimeText(position));
  const QString dur = QString::fromStdString(PlaybackRules::TimeText(duration));
  if (labels_[kIdPositionLabel]->text() != pos) labels_[kIdPositionLabel]->setText(pos);
  if (labels_[kIdDurationLabel]->text() != dur) labels_[kIdDurationLabel]->setText(dur);
}

void CSamplePlayerDlg::SetSeek(std::int64_t position) {
  QSlider* seek = sliders_[kIdSeekSlider];
  const QSignalBlocker block(seek);
  seek->setValue(static_cast<int>(position));
  lastSeekPosition_ = position;
}

void CSamplePlayerDlg::HideStills() {
  frontStill_->hide();
  rearStill_->hide();
}

void CSamplePlayerDlg::ShowPlayLook(bool playing) {
  captions_[kIdPlay] = playing ? QStringLiteral("Pause") : QStringLiteral("Play");
  buttons_[kIdPlay]->SetSkin(playing ? kBmpPause : kBmpPlay,
                             SkinCatalog::SkinMaskForControl(kIdPlay));
}

bool CSamplePlayerDlg::OpenRecording(int row) {
  const std::string path = list_->RowPath(row);
  stopped_ = false;
  if (path.empty()) return false;
  if (!player_->Open(path)) {
    ReportInvalidFile(row, path);
    return false;
  }
  seeks_.Clear();
  endReached_ = false;
  ++openedCount_;
  currentPath_ = path;
  duration_ = player_->GetDuration();
  position_ = player_->GetPosition();
  {
    QSlider* seek = sliders_[kIdSeekSlider];
    const QSignalBlocker block(seek);
    seek->setRange(0, static_cast<int>(std::max<std::int64_t>(0, duration_)));
  }
  labels_[kIdDurationLabel]->setText(QString::fromStdString(PlaybackRules::TimeText(duration_)));
  sliders_[kIdVolumeSlider]->setValue(savedVolume_);
  // The output level follows the slider the user sees.
  SetOutputVolume(mute_->GetCheck() ? 0 : PlaybackRules::VolumeWord(savedVolume_));
  sliders_[kIdSpeedSlider]->setValue(PlaybackRules::kSpeedSliderCentre);
  SetSeek(0);
  const int channels = player_->GetVideoStreamCount();
  // A recording opened from the card list starts with the front video in the
  // large pane unless the rear one is there.
  if (frontPlacement_ == kPaneHidden && rearPlacement_ != kPaneLarge) frontPlacement_ = kPaneLarge;
  if (channels > 1 && rearPlacement_ == kPaneHidden) rearPlacement_ = kPaneSmall;
  mapState_ = 4;
  buttons_[kIdLayoutMapCheck]->SetCheck(false);
  buttons_[kIdLayoutVideoCheck]->SetCheck(false);
  LayoutPanes();

  // Drain the recording's user data into the track. A recording without
  // usable driving data (an MP4, an AVI without its text stream) still
  // plays; the panel says why it shows nothing.
  track_->BeginLoad();
  const int count = player_->GetUserDataCount();
  if (PlaybackRules::UsableRecordCount(count)) {
    std::vector<std::uint8_t> buffer(PlaybackRules::kUserDataBufferSize);
    for (int i = 0; i < count; ++i) {
      std::fill(buffer.begin(), buffer.end(), 0);
      std::uint32_t length = static_cast<std::uint32_t>(buffer.size());
      std::uint32_t cts = 0;
      const std::uint32_t status = player_->GetNextUserData(buffer.data(), &length, &cts);
      if (status == 0) {
        track_->DecodeUserData(buffer.data(), std::min<std::size_t>(length, buffer.size()), cts);
      } else if (status == PlaybackRules::kEndOfRecords || status == PlaybackRules::kFail) {
        break;
      }
    }
  }
  track_->Finish(static_cast<std::int32_t>(duration_));
  graphMode_ = 0;
  ShowGraphModeLook();
  panelInput_.label = QFileInfo(QString::fromStdString(path)).fileName().toStdString();
  panelInput_.fix = PanelFix{};
  const bool noDrivingData = track_->AdasRowCount() == 0 && track_->GpsFixCount() == 0;
  panelInput_.notice =
      noDrivingData ? StringTable::Instance().Load(kStrNoDrivingData).toStdString() : std::string();
  map_->ShowRoute();
  if (gsensorDlg_) {
    gsensorDlg_->SetPosition(0);
    gsensorDlg_->update();
  }
  if (graphDlg_) graphDlg_->SetDuration(duration_);
  const bool hasGps = track_->GpsFixCount() > 0;
  buttons_[kIdLayoutMapCheck]->setEnabled(hasGps);
  buttons_[kIdLayoutMapCheck]->SetCheck(false);
  buttons_[kIdMapSize]->setEnabled(hasGps);
  if (channels == 1) {
    frontPlacement_ = kPaneLarge;
    rearPlacement_ = kPaneHidden;
  }
  list_->RestoreSelectionMark();
  labels_[kIdFileNameLabel]->setText(QFileInfo(QString::fromStdString(path)).fileName());
  LayoutPanes();
  player_->ZoomIn(-1);
  player_->ZoomOut(-1);
  return true;
}

// A file the player cannot open (no video, unreadable): the following row is
// opened first if there is one; the update timer stays off while the box for
// the last row is open.
void CSamplePlayerDlg::ReportInvalidFile(int row, const std::string& path) {
  const bool last = row + 1 >= list_->RowCount();
  if (!last) Next();
  QString text = StringTable::Instance().Load(kStrInvalidFile);
  text.replace(QStringLiteral("%s"), QString::fromStdString(path));
  if (last) KillTimer(kTimerUpdate);
  ShowMessage(text);
  if (last) StartTimer(kTimerUpdate, kUpdatePeriodMs);
}

void CSamplePlayerDlg::PlayPause() {
  const int state = player_->GetState();
  sliders_[kIdVolumeSlider]->setValue(savedVolume_);
  const bool request = playRequestActive_ || list_->PlayRequestPending();
  if (state == kStatePlaying && !request) {
    player_->Pause();
    ShowPlayLook(false);
    list_->RestoreSelectionMark();
    list_->FocusList();
    return;
  }
  if (state == kStatePaused) {
    if (request) {
      Stop();
      StartPlaying();
      return;
    }
    ShowPlayLook(true);
    player_->Play();
    player_->SetSpeed(static_cast<float>(speed_));
    StartTimer(kTimerUpdate, kUpdatePeriodMs);
    return;
  }
  StartPlaying();
}

void CSamplePlayerDlg::StartPlaying() {
  HideStills();
  if (thumbs_) thumbs_->Leave();
  if (list_->RowCount() > 0) {
    const int selected = list_->SelectionMark();
    if (selected != currentIndex_ || stopped_ || reloadMark_) {
      reloadMark_ = false;
      currentIndex_ = selected;
      if (!OpenRecording(selected)) return;
    }
  } else if (player_->GetState() == kStateClosed) {
    return;  // nothing listed: Play does nothing
  }
  ShowPlayLook(true);
  player_->Play();
  player_->SetSpeed(static_cast<float>(speed_));
  StartTimer(kTimerUpdate, kUpdatePeriodMs);
  labels_[kIdDurationLabel]->show();
}

void CSamplePlayerDlg::Stop() {
  seeks_.Clear();
  seekPoll_->stop();
  endReached_ = false;
  player_->Stop();
  player_->Seek(0);
  if (gsensorDlg_) gsensorDlg_->hide();
  HideStills();
  SetSeek(0);
  labels_[kIdPositionLabel]->setText(QStringLiteral("00:00:00"));
  labels_[kIdDurationLabel]->setText(QStringLiteral("00:00:00"));
  stopped_ = true;
  ShowPlayLook(false);
  player_->Close();
  buttons_[kIdLayoutMapCheck]->SetCheck(false);
  buttons_[kIdLayoutVideoCheck]->SetCheck(false);
  update();
  mapState_ = 4;
  map_->CallScript(
      PlaybackRules::DrawCurrentCall(PlaybackRules::kRestLongitude, PlaybackRules::kRestLatitude));
  list_->RestoreSelectionMark();
}

void CSamplePlayerDlg::FollowCurrentRow() {
  // The list window may have re-sorted its rows since the recording was
  // opened; Previous and Next count from the row it is listed in now.
  if (currentIndex_ < 0 || currentPath_.empty()) return;
  const int row = list_->FindRow(currentPath_);
  if (row < 0 || row == currentIndex_) return;
  currentIndex_ = row;
  list_->SetSelectionMark(row);
}

void CSamplePlayerDlg::Next() {
  HideStills();
  FollowCurrentRow();
  if (currentIndex_ + 1 >= list_->RowCount()) {
    Stop();
    return;
  }
  const int row = list_->SelectionMark() + 1;
  const std::string path = list_->RowPath(row);
  if (FileExists(path)) {
    list_->ClearSelection();
    list_->SelectRow(row);
    list_->SetSelectionMark(row);
    if (OpenRecording(row)) {
      currentIndex_ = row;
      HideStills();
      PlayPause();
    }
  }
  LayoutPanes();
  sliders_[kIdVolumeSlider]->setValue(savedVolume_);
  SetOutputVolume(mute_->GetCheck() ? 0 : PlaybackRules::VolumeWord(savedVolume_));
}

void CSamplePlayerDlg::Previous() {
  FollowCurrentRow();
  if (currentIndex_ <= 0) return;
  const int row = currentIndex_ - 1;
  const std::string path = list_->RowPath(row);
  if (!FileExists(path)) return;
  list_->ClearSelection();
  list_->SelectRow(row);
  list_->SetSelectionMark(row);
  list_->EnsureVisible(row);
  if (OpenRecording(row)) {
    currentIndex_ = row;
    PlayPause();
  }
}

void CSamplePlayerDlg::Step(bool forward) {
  const int state = player_->GetState();
  if (state != kStatePlaying && state != kStatePaused) return;
  if (forward)
    player_->SkipForward(PlaybackRules::kStepSeconds);
  else
    player_->SkipBackward(PlaybackRules::kStepSeconds);
  Update();
  list_->RestoreSelectionMark();
  list_->FocusList();
}

void CSamplePlayerDlg::ToggleSpeed() {
  if (player_->GetState() != kStatePlaying) return;
  speed_ = PlaybackRules::NextSpeed(speed_);
  player_->SetSpeed(static_cast<float>(speed_));
  buttons_[kIdSpeed]->SetSkin(speed_ == 2 ? kBmpSpeed2 : kBmpSpeed1,
                              SkinCatalog::SkinMaskForControl(kIdSpeed));
}

void CSamplePlayerDlg::SwapPanes() {
  if (rearPlacement_ == kPaneHidden) return;
  std::swap(frontPlacement_, rearPlacement_);
  LayoutPanes();
  list_->RestoreSelectionMark();
  list_->FocusList();
}

void CSamplePlayerDlg::SwapChannels() {
  if (player_->GetVideoStreamCount() < 2) return;
  SwapPanes();
}

void CSamplePlayerDlg::ZoomIn(int channel) { player_->ZoomIn(channel); }

void CSamplePlayerDlg::ZoomOut(int channel) { player_->ZoomOut(channel); }

void CSamplePlayerDlg::RedrawDisplays() { player_->Redraw(); }

void CSamplePlayerDlg::LayoutCheck(int id) {
  if (player_->GetVideoStreamCount() < 2) return;
  buttons_[kIdLayoutMapCheck]->SetCheck(id == kIdLayoutMapCheck);
  buttons_[kIdLayoutVideoCheck]->SetCheck(id == kIdLayoutVideoCheck);
  if (id == kIdLayoutMapCheck) {
    if (mapState_ == 1) {
      frontPlacement_ = kPaneHidden;
      rearPlacement_ = kPaneSmall;
    } else {
      if (!parts_.isOnline() && mapWidget_) mapWidget_->setGeometry(ToQRect(MainLayout::kMapShown));
      mapState_ = 2;
      if (frontPlacement_ == kPaneSmall) frontPlacement_ = kPaneHidden;
      if (rearPlacement_ == kPaneSmall) rearPlacement_ = kPaneHidden;
    }
  } else {
    if (mapState_ == 1) {
      frontPlacement_ = kPaneSmall;
      rearPlacement_ = kPaneHidden;
    } else if (mapState_ == 2) {
      if (frontPlacement_ == kPaneLarge)
        rearPlacement_ = kPaneSmall;
      else if (rearPlacement_ == kPaneLarge)
        frontPlacement_ = kPaneSmall;
      mapState_ = 0;
    }
  }
  LayoutPanes();
}

void CSamplePlayerDlg::MapToggle() {
  if (!mapWidget_) return;
  mapWidget_->setGeometry(ToQRect(mapShown_ ? MainLayout::kMapHidden : MainLayout::kMapShown));
  mapShown_ = !mapShown_;
}

void CSamplePlayerDlg::MapSize() {
  if (player_->GetVideoStreamCount() < 2) return;
  if (mapState_ == 1) {
    if (frontPlacement_ == kPaneSmall) frontPlacement_ = kPaneLarge;
    if (rearPlacement_ == kPaneSmall) rearPlacement_ = kPaneLarge;
    mapState_ = 2;
  } else if (mapState_ == 0 || mapState_ == 2) {
    if (frontPlacement_ == kPaneLarge) {
      frontPlacement_ = kPaneSmall;
      rearPlacement_ = kPaneHidden;
    } else if (rearPlacement_ == kPaneLarge) {
      frontPlacement_ = kPaneHidden;
      rearPlacement_ = kPaneSmall;
    }
    mapState_ = 1;
  } else {
    frontPlacement_ = kPaneLarge;
    rearPlacement_ = kPaneSmall;
  }
  LayoutPanes();
}

void CSamplePlayerDlg::SetMute(bool mute) {
  if (!mute)
    ApplyVolumeFromSlider();
  else
    SetOutputVolume(0);
}

void CSamplePlayerDlg::ApplyVolumeFromSlider() {
  SetOutputVolume(PlaybackRules::VolumeWord(sliders_[kIdVolumeSlider]->sliderPosition()));
}

void CSamplePlayerDlg::OnHScroll(int controlId, int code) {
  if (ditMode_ && controlId == kIdSeekSlider) {
    // The slider runs over the drive's points while DIT mode replays.
    const int count = dit_->Replay().PointCount();
    if (count > 0 && code >= 2 && code <= 5)
      dit_->Seek(sliders_[kIdSeekSlider]->sliderPosition(), 0, count);
    return;
  }
  if (controlId == kIdSeekSlider) {
    QSlider* seek = sliders_[kIdSeekSlider];
    const int pos = seek->sliderPosition();
    if (code == 2 || code == 3) {
      SetSeek(pos);
      SeekTo(pos);
      Update();
    } else if (code == 4 || code == 5) {
      seek->setPageStep(std::max<std::int64_t>(1, lastSeekPosition_ - pos));
      SeekTo(pos);
      Update();
    }
    list_->FocusList();
  } else if (controlId == kIdVolumeSlider && code >= 2 && code <= 5) {
    const int v = sliders_[kIdVolumeSlider]->sliderPosition();
    if (v > 0) {
      mute_->SetCheck(false);
      savedVolume_ = v;
    } else {
      mute_->SetCheck(true);
    }
    SetOutputVolume(PlaybackRules::VolumeWord(v));
  }
}

// ------------------------------------------------------------------ timers

void CSamplePlayerDlg::OnTimer(int id) {
  if (!ditMode_) {
    if (id == kTimerUpdate && !parts_.leftButtonHeld()) Update();
    if (list_->TakePlayRequest()) {
      playRequestActive_ = true;
      PlayPause();
      playRequestActive_ = false;
    }
    if (list_->TakeHideRequest()) ToggleList();
    if (player_->GetState() == kStatePlaying) {
      update();
      RefreshSmart();
    }
  }
  if (id == kTimerDit && ditMode_) dit_->OnTimer();
  if (id == kTimerRecover) player_->RecoverDisplays(-1);
}

void CSamplePlayerDlg::Update() {
  const int state = player_->GetState();
  // While seeks run the newest target is shown, so the thumb never snaps back.
  position_ = seeks_.Shown(player_->GetPosition(), player_->IsSeeking() != 0);
  duration_ = player_->GetDuration();
  if (state == kStatePlaying) {
    SetSeek(position_);
    SetTimeLabels(position_, duration_);
    if (position_ < duration_ && position_ >= 0) {
      if (mapShown_) map_->MarkPosition(position_);
      if (gsensorDlg_) gsensorDlg_->SetPosition(position_);
      RefreshSmart();
    }
  } else if (state == kStatePaused || state == kStateStopped) {
    player_->Pause();
    SetSeek(position_);
    SetTimeLabels(position_, duration_);
    switch (PlaybackRules::StepWhileHeld(position_, duration_, endReached_)) {
      case PlaybackRules::HeldStep::kNext:
        Next();
        break;
      case PlaybackRules::HeldStep::kHold:
        // At the start (or at the end before its notice): the panel and the
        // map show that place too.
        update();
        if (mapShown_) map_->MarkPosition(position_);
        break;
      case PlaybackRules::HeldStep::kFollow:
        player_->RecoverDisplays(1);
        update();
        if (mapShown_) map_->MarkPosition(position_);
        if (gsensorDlg_) gsensorDlg_->SetPosition(position_);
        break;
    }
  }
}

void CSamplePlayerDlg::RefreshSmart() {
  const int rows = track_->AdasRowCount();
  const int row = PlaybackRules::RowAt(position_, duration_, rows);
  const std::uint16_t* words = track_->AdasWords(row);
  const int speed = words ? words[0] : 0;
  smartFrame_ = smartIndicator_.Refresh([this](int r) { return track_->AdasWords(r); }, row, rows,
                                        speed, speedUnit_ == 1);
  smart_->SetFrame(smartFrame_);
}

void CSamplePlayerDlg::PostEndOfRecording() {
  QMetaObject::invokeMethod(
      this, [this, opened = openedCount_.load()] { OnEndOfRecording(opened); },
      Qt::QueuedConnection);
}

void CSamplePlayerDlg::OnEndOfRecording(int opened) {
  if (opened != openedCount_.load()) return;  // the recording it ended is gone
  endReached_ = true;
  player_->Stop();
}

}  // namespace lumora
