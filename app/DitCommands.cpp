// The main window in DIT mode: the mode switch (DIT 8200), the route markers
// (MARK 8201), the over-speed limit (DITSTP 1202), the DIT variants of Play,
// Stop, Previous, speed and Open, timer 1 of the replay and the drive scan of
// the card. The rules live in CDitMode and CDitReplay; this file connects them
// to the window's controls.
#include <QLabel>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QTreeWidget>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/DitLayout.h"
#include "app/DitWindowHost.h"
#include "app/IRecordingList.h"
#include "app/SmartView.h"
#include "display/qt/CStillView.h"
#include "library/CDitPanelText.h"
#include "library/qt/CDitMode.h"
#include "res/SkinBitmaps.h"
#include "settings/qt/CDITSetupDlg.h"
#include "ui/CSkinButton.h"
#include "ui/SkinCatalog.h"

namespace lumora {

namespace {

QRect ToRect(const LayoutRect& r) { return QRect(r.x, r.y, r.width, r.height); }

}  // namespace

void CSamplePlayerDlg::InstallDitMode() {
  ditPicture_ = new CStillView(this, caption_);
  ditPicture_->setGeometry(ToRect(DitLayout::kPicture));
  ditPicture_->hide();
  DitWindowHost::Hooks hooks;
  hooks.showPauseLook = [this](bool pause) { ShowPlayLook(pause); };
  hooks.pausePlayer = [this] {
    if (player_) player_->Pause();
  };
  hooks.publishPosition = [this](int position, int duration) {
    position_ = position;
    duration_ = duration;
    // The time labels show the time of day of the point and of the drive's end.
    const std::vector<DitPoint>& points = dit_->Replay().Points();
    if (position >= 0 && position < static_cast<int>(points.size())) {
      labels_[kIdPositionLabel]->setText(QString::fromStdString(
          CDitPanelText::TimeLine(points[static_cast<std::size_t>(position)])));
      labels_[kIdDurationLabel]->setText(
          QString::fromStdString(CDitPanelText::TimeLine(points.back())));
    }
  };
  hooks.refreshIndicator = [this] { RefreshDitIndicator(); };
  hooks.showSpeedMultiplier = [this](int multiplier) { ShowSpeedLook(multiplier); };
  hooks.showMarkerLook = [this](bool on) { buttons_[kIdMark]->SetCheck(on); };
  hooks.redraw = [this] { update(); };
  ditHost_ = std::make_unique<DitWindowHost>(timers_.at(kTimerDit), map_, ditPicture_,
                                             sliders_.at(kIdSeekSlider), std::move(hooks));
  dit_ = new CDitMode(this, ditHost_.get());
  dit_->DriveList()->setGeometry(ToRect(DitLayout::kDriveList));
  dit_->SetLimitAsker([this](int current) {
    CDITSetupDlg dialog(current, this);
    dialog.exec();
    return dialog.Result();
  });

  commands_[kIdDit] = [this] { ToggleDitMode(); };
  commands_[kIdMark] = [this] {
    if (ditMode_)
      dit_->Mark();
    else
      buttons_[kIdMark]->SetCheck(false);  // route markers belong to DIT mode
  };
  // The transport buttons, speed, Open and DITSTP have DIT-mode variants.
  auto route = [this](int id, std::function<void()> inDit) {
    std::function<void()> video = commands_[id];
    commands_[id] = [this, video = std::move(video), inDit = std::move(inDit)] {
      if (ditMode_)
        inDit();
      else if (video)
        video();
    };
  };
  route(kIdPlay, [this] { dit_->Play(); });
  route(kIdStop, [this] { dit_->Stop(); });
  route(kIdPrevious, [this] { dit_->Previous(); });
  route(kIdSpeed, [this] { dit_->Speed(); });
  route(kIdOpen, [this] { dit_->Open(); });
  commands_[kIdDitSetup] = [this] { DitSetup(); };
}

void CSamplePlayerDlg::ToggleDitMode() {
  if (ditMode_)
    LeaveDitMode();
  else
    EnterDitMode();
}

void CSamplePlayerDlg::EnterDitMode() {
  Stop();
  ditMode_ = true;
  buttons_[kIdDit]->SetCheck(true);
  if (list_->IsListVisible()) ToggleList();
  // Video panes and stills give way to the drive list and its picture.
  ditHidden_.clear();
  for (QWidget* w : {frontArea_, rearArea_, frontStill_, rearStill_}) {
    if (w && !w->isHidden()) {
      w->hide();
      ditHidden_.push_back(w);
    }
  }
  for (int id : DitLayout::VideoOnlyControls()) {
    QWidget* w = Button(id);
    if (!w) w = Label(id);
    if (w && !w->isHidden()) {
      w->hide();
      ditHidden_.push_back(w);
    }
  }
  // The recording's route line does not belong to any drive.
  if (map_) map_->CallScript("javascript:DrawRoute()");
  ditHost_->ClearPicture();
  ditPicture_->show();
  ditPicture_->raise();
  dit_->DriveList()->raise();
  buttons_[kIdMark]->SetCheck(dit_->Replay().MarkersOn());
  dit_->SetMultiplier(speed_);
  position_ = 0;
  duration_ = 0;
  {
    QSlider* seek = sliders_[kIdSeekSlider];
    const QSignalBlocker block(seek);
    seek->setRange(0, 0);
    seek->setValue(0);
  }
  dit_->Enter();
  RefreshDitIndicator();
  update();
}

void CSamplePlayerDlg::LeaveDitMode() {
  dit_->Leave();
  ditMode_ = false;
  buttons_[kIdDit]->SetCheck(false);
  // The route markers went with DIT mode; MARK must not look pressed.
  buttons_[kIdMark]->SetCheck(false);
  ditHost_->ClearPicture();
  ditPicture_->hide();
  for (QWidget* w : ditHidden_) w->show();
  ditHidden_.clear();
  position_ = 0;
  duration_ = 0;
  SetSeek(0);
  // The labels showed the drive's times of day; nothing is open now.
  labels_[kIdPositionLabel]->setText(QStringLiteral("00:00:00"));
  labels_[kIdDurationLabel]->setText(QStringLiteral("00:00:00"));
  RefreshSmart();
  LayoutPanes();
  update();
}

void CSamplePlayerDlg::DitSetup() {
  if (!ditMode_) Stop();
  dit_->Setup();
  update();
}

void CSamplePlayerDlg::ScanDitDrives(const std::string& cardRoot) {
  if (dit_->Replay().GetState() != CDitReplay::kStopped) dit_->Stop();
  dit_->ScanCard(cardRoot);
}

void CSamplePlayerDlg::ForgetDitDrives() {
  // The card is gone: its drives and pictures go with it.
  if (dit_->Replay().GetState() != CDitReplay::kStopped) dit_->Stop();
  dit_->ClearDrives();
  ditHost_->ClearPicture();
  update();
}

void CSamplePlayerDlg::RefreshDitIndicator() {
  // The replay refreshes the indicator while it draws the point at its index,
  // before it moves on: that point is the current one.
  const CDitReplay& replay = dit_->Replay();
  const int index = replay.Index();
  const DitPoint* p = index >= 0 && index < replay.PointCount()
                          ? &replay.Points()[static_cast<std::size_t>(index)]
                          : replay.CurrentPoint();
  const int speed = p ? p->m_nSpeed : 0;
  smartFrame_ = smartIndicator_.Refresh([](int) -> const std::uint16_t* { return nullptr; }, 0, 0,
                                        speed, speedUnit_ == 1);
  smart_->SetFrame(smartFrame_);
}

void CSamplePlayerDlg::ShowSpeedLook(int multiplier) {
  speed_ = multiplier;
  buttons_[kIdSpeed]->SetSkin(DitLayout::SpeedBitmap(multiplier),
                              SkinCatalog::SkinMaskForControl(kIdSpeed));
}

DitPanelValues CSamplePlayerDlg::DitPanel() const {
  DitPanelValues values;
  values.speedUnit = speedUnit_;
  values.fullScreen = windowMode_ == kModeEnlarged;
  if (!dit_) return values;
  const CDitReplay& replay = dit_->Replay();
  values.speedsKmh.reserve(replay.Points().size());
  for (const DitPoint& p : replay.Points()) values.speedsKmh.push_back(p.m_nSpeed);
  const DitPoint* p = replay.CurrentPoint();
  if (!p && !replay.Points().empty()) p = &replay.Points().front();
  if (p) {
    values.currentSpeedKmh = replay.CurrentPoint() ? p->m_nSpeed : 0;
    values.lines = {CDitPanelText::DateLine(*p), CDitPanelText::TimeLine(*p),
                    CDitPanelText::LatitudeLine(*p), CDitPanelText::LongitudeLine(*p)};
  }
  return values;
}

}  // namespace lumora
