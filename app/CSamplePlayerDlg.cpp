#include "app/CSamplePlayerDlg.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QSlider>
#include <QTimer>
#include <QWindow>

#include <filesystem>

#include "app/AppIds.h"
#include "app/CAboutSoftwareDlg.h"
#include "app/CThumbnailView.h"
#include "app/DitLayout.h"
#include "app/DitWindowHost.h"
#include "app/ListDlgPort.h"
#include "app/MainLayout.h"
#include "app/PlaybackRules.h"
#include "app/SmartView.h"
#include "data/qt/CGSensorDlg.h"
#include "data/qt/CGraphDlg.h"
#include "display/qt/CDataView.h"
#include "display/qt/CRearViewDlg.h"
#include "display/qt/CZoomDlg.h"
#include "library/qt/CDitMode.h"
#include "library/qt/CListDlg.h"
#include "platform/qt/CDriveWatcher.h"
#include "platform/qt/ColorRef.h"
#include "platform/qt/MessageBox.h"
#include "res/SkinBitmaps.h"
#include "res/StringTable.h"
#include "settings/qt/CSetupDlg.h"
#include "settings/qt/SetupDialogOpener.h"
#include "ui/CBitSlider.h"
#include "ui/CSkinButton.h"
#include "ui/SkinCatalog.h"
#include "ui/WindowPlacement.h"

namespace lumora {
namespace {

QRect ToQRect(const LayoutRect& r) { return QRect(r.x, r.y, r.width, r.height); }

constexpr std::uint32_t kPositionLabelBack = 0x25211C;
// How often a waiting seek looks whether the player's running one has ended.
constexpr int kSeekPollMs = 15;
constexpr int kSkinWidth = MainLayout::kClientWidth;
constexpr int kSkinHeight = MainLayout::kClientHeight;
constexpr int kNoEffectIds[] = {kIdFps,     kIdCapture, kIdCheck1110, kIdCheck1111,
                                kIdAccelF9, kIdAccelF8, kIdAccelF10};

}  // namespace

CSamplePlayerDlg::CSamplePlayerDlg(Parts parts, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), parts_(std::move(parts)) {
  player_ = parts_.player.get();
  track_ = parts_.track.get();
  if (!parts_.leftButtonHeld) {
    parts_.leftButtonHeld = [] { return (QGuiApplication::mouseButtons() & Qt::LeftButton) != 0; };
  }
  if (!parts_.isOnline) parts_.isOnline = [] { return true; };
  productTitle_ = QStringLiteral("Lumora");
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  // Tooltips of the control bar also show while another window is active.
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setWindowIcon(ProgramIcon());
  setAcceptDrops(true);
  BuildControls();
  BuildCommandTable();
  dataView_ = std::make_unique<CDataView>(&PanelTrack(), &panelInput_);
  for (int id : {kTimerUpdate, kTimerRecover, kTimerDit}) {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, [this, id] { OnTimer(id); });
    timers_[id] = timer;
  }
  seekPoll_ = new QTimer(this);
  seekPoll_->setInterval(kSeekPollMs);
  connect(seekPoll_, &QTimer::timeout, this, [this] { PollSeek(); });
  InstallDitMode();
  InstallExportCommands();
  // Accelerators: F8, F9 and F10 send their commands (which do nothing).
  const std::pair<Qt::Key, int> keys[] = {
      {Qt::Key_F8, kIdAccelF8}, {Qt::Key_F9, kIdAccelF9}, {Qt::Key_F10, kIdAccelF10}};
  for (const auto& [key, id] : keys) {
    auto* shortcut = new QShortcut(QKeySequence(key), this);
    connect(shortcut, &QShortcut::activated, this, [this, cmd = id] { OnCommand(cmd); });
  }
  if (parts_.driveWatcher) {
    connect(parts_.driveWatcher, &CDriveWatcher::driveAdded, this, &CSamplePlayerDlg::OnDriveAdded);
    connect(parts_.driveWatcher, &CDriveWatcher::driveRemoved, this,
            &CSamplePlayerDlg::OnDriveRemoved);
  }
}

CSamplePlayerDlg::~CSamplePlayerDlg() {
  for (auto& [id, timer] : timers_) timer->stop();
  if (player_) {
    player_->Stop();
    player_->Close();
  }
  // The player's displays live in our video areas: release it first.
  parts_.player.reset();
}

void CSamplePlayerDlg::BuildControls() {
  setAutoFillBackground(false);
  auto makeButton = [this](int id, const QString& caption, int kind) {
    auto* button = new CSkinButton(this, id, kind);
    button->setFocusPolicy(Qt::NoFocus);
    const int skin = SkinCatalog::SkinForControl(id);
    if (skin != 0 && skin != kBmpTextButton && HasSkinBitmap(skin)) {
      button->SetSkin(skin, SkinCatalog::SkinMaskForControl(id));
    } else {
      // Caption buttons draw their text over the plain caption face.
      button->SetSkin(kBmpTextButton);
      button->SetText(caption);
      button->SetTextColor(Qt::white);
    }
    button->SizeToBitmap();
    connect(button, &CSkinButton::Clicked, this, [this, id] { OnCommand(id); });
    buttons_[id] = button;
    captions_[id] = caption;
    return button;
  };
  const std::pair<int, const char*> captions[] = {{kIdMinimise, "-"},
                                                  {kIdExit, "Exit"},
                                                  {kIdPrevious, "PRE"},
                                                  {kIdPlay, "PLAY"},
                                                  {kIdStop, "STOP"},
                                                  {kIdNext, "NEXT"},
                                                  {kIdStepBack, "<- SEC"},
                                                  {kIdStepForward, "-> SEC"},
                                                  {kIdFps, "FPS"},
                                                  {kIdSdOpen, "SDOPEN"},
                                                  {kIdSettings, "설정"},
                                                  {kIdCapture, "캡쳐"},
                                                  {kIdFullScreen, " "},
                                                  {kIdGraphMode, "GMode"},
                                                  {kIdPreviousSize, "이전크기"},
                                                  {kIdChangeScreen, "ChgScrn"},
                                                  {kIdFrontRearSwitch, "전방/후방 영상전환"},
                                                  {kIdAccelGraph, "가속도 그래프"},
                                                  {kIdMapSize, "지도 크게보기"},
                                                  {kIdZoomIn, "확대보기"},
                                                  {kIdVideoRecovery, "영상복원"},
                                                  {kIdCategoryEvent, "이벤트녹화"},
                                                  {kIdCategoryMotion, "모션녹화"},
                                                  {kIdCategoryNormal, "상시녹화"},
                                                  {kIdCategoryManual, "수동녹화"},
                                                  {kIdWindowSize, "Button1"},
                                                  {kIdThumbList, "파일리스트썸네일"},
                                                  {kIdThumbFile, "파일썸네일"},
                                                  {kIdThumbNext, ">"},
                                                  {kIdThumbPrevious, "<"},
                                                  {kIdListToggle, ">"},
                                                  {kIdOpen, "OPEN"},
                                                  {kIdSetup, "SETUP"},
                                                  {kIdGraph, "GRAPH"},
                                                  {kIdDownload, "DOWN"},
                                                  {kIdPrint, "PRINT"},
                                                  {kIdInfo, "INFO"},
                                                  {kIdZoomOut, "Zoom-"},
                                                  {kIdList, "LIST"},
                                                  {kIdFormat, "Format"},
                                                  {kIdMapToggle, "MapToggle"},
                                                  {kIdSpeed, "X2 "},
                                                  {kIdDitSetup, "DITSTP"},
                                                  {kIdSnapshot, "SNAP"}};
  for (const auto& [id, caption] : captions)
    makeButton(id, QString::fromUtf8(caption), SkinButtonState::kPushButton);
  mute_ = makeButton(kIdMute, QString(), SkinButtonState::kCheckBox);
  // DIT and MARK keep a pressed look while their mode is on.
  makeButton(kIdDit, QStringLiteral("DIT"), SkinButtonState::kCheckBox);
  makeButton(kIdMark, QStringLiteral("MARK"), SkinButtonState::kCheckBox);
  makeButton(kIdExport, QStringLiteral("EXPORT"), SkinButtonState::kPushButton);
  for (int id : {kIdLayoutMapCheck, kIdLayoutVideoCheck, kIdCheck1110, kIdCheck1111})
    makeButton(id, QString(), SkinButtonState::kCheckBox);

  auto makeSlider = [this](int id) {
    auto* slider = new CBitSlider(this, id);
    slider->setFocusPolicy(Qt::NoFocus);
    connect(slider, &CBitSlider::HScroll, this,
            [this](int control, int code, int) { OnHScroll(control, code); });
    sliders_[id] = slider;
    return slider;
  };
  for (int id : {kIdSeekSlider, kIdSpeedSlider, kIdVolumeSlider, kIdBitmapSlider}) makeSlider(id);
  sliders_[kIdBitmapSlider]->hide();
  auto* seek = static_cast<CBitSlider*>(sliders_[kIdSeekSlider]);
  seek->SetSeekBar(true);
  seek->SetTooltipFormat([this, seek](int position) {
    return QString::fromStdString(PlaybackRules::SeekTooltip(ditMode_, position, seek->maximum()));
  });
  connect(seek, &CBitSlider::ChannelPressed, this, [this](int, int x) { OnSeekBarPressed(x); });
  connect(seek, &CBitSlider::WheelNotches, this, [this](int, int n) { OnSeekWheel(n); });
  seek->SetChannel(kBmpSeekFilled, kBmpSeekEmpty);
  seek->SetThumb(kBmpSeekThumb);
  auto* volume = static_cast<CBitSlider*>(sliders_[kIdVolumeSlider]);
  volume->SetChannel(kBmpVolumeFilled, kBmpVolumeEmpty);
  volume->SetThumb(kBmpVolumeThumb);

  for (int id : {kIdPositionLabel, kIdDurationLabel, kIdFileNameLabel, kIdStatusLine}) {
    auto* label = new QLabel(this);
    labels_[id] = label;
  }
  labels_[kIdPositionLabel]->setAutoFillBackground(true);
  speedLabel_ = new QLabel(QStringLiteral("Speed"), this);

  // Video areas: each holds one video window that is the parent of its display.
  auto* zoom = new CZoomDlg(this);
  auto* rear = new CRearViewDlg(this);
  zoom->View()->SetHost(this);
  rear->View()->SetHost(this);
  frontArea_ = zoom;
  rearArea_ = rear;
  frontPane_ = zoom->View();
  rearPane_ = rear->View();
  frontArea_->hide();
  rearArea_->hide();
  auto makeStill = [this](const char* text) {
    auto* still = new QLabel(QString::fromLatin1(text), this);
    still->setAlignment(Qt::AlignCenter);
    still->setAutoFillBackground(true);
    QPalette pal = still->palette();
    pal.setColor(QPalette::Window, QColor(0x10, 0x10, 0x10));
    pal.setColor(QPalette::WindowText, QColor(0x60, 0x60, 0x60));
    still->setPalette(pal);
    return still;
  };
  frontStill_ = makeStill("Video window1");
  rearStill_ = makeStill("Video window2");

  smart_ = new SmartView(this);

  map_ = parts_.map.get();
  mapWidget_ = parts_.mapWidget;
  if (mapWidget_) mapWidget_->setParent(this);
  if (parts_.list) {
    list_ = parts_.list;
  } else {
    list_ = new ListDlgPort(new CListDlg(this));
  }
  buttons_[kIdPreviousSize]->hide();
  for (int id :
       {kIdCategoryEvent, kIdCategoryMotion, kIdCategoryNormal, kIdCategoryManual, kIdThumbList,
        kIdThumbFile, kIdThumbNext, kIdThumbPrevious, kIdCheck1110, kIdCheck1111})
    buttons_[id]->hide();
}

void CSamplePlayerDlg::BuildCommandTable() {
  commands_ = {
      {kIdMinimise, [this] { showMinimized(); }},
      {kIdExit, [this] { Shutdown(); }},
      {kIdPrevious, [this] { Previous(); }},
      {kIdPlay, [this] { PlayPause(); }},
      {kIdStop, [this] { Stop(); }},
      {kIdNext, [this] { Next(); }},
      {kIdStepBack, [this] { Step(false); }},
      {kIdStepForward, [this] { Step(true); }},
      {kIdSdOpen, [this] { SdOpen(); }},
      {kIdFullScreen, [this] { FullScreenSwitch(); }},
      {kIdMute, [this] { SetMute(mute_->GetCheck()); }},
      {kIdPreviousSize, [this] { LeaveEnlarged(); }},
      {kIdChangeScreen, [this] { SwapPanes(); }},
      {kIdFrontRearSwitch, [this] { SwapPanes(); }},
      {kIdLayoutMapCheck, [this] { LayoutCheck(kIdLayoutMapCheck); }},
      {kIdLayoutVideoCheck, [this] { LayoutCheck(kIdLayoutVideoCheck); }},
      {kIdMapSize, [this] { MapSize(); }},
      {kIdZoomIn, [this] { player_->ZoomIn(-1); }},
      {kIdZoomOut, [this] { player_->ZoomOut(-1); }},
      {kIdVideoRecovery, [this] { ShowMessage(QStringLiteral("Disabled(Recovery)")); }},
      {kIdWindowSize, [this] { ToggleWindowSize(); }},
      {kIdListToggle, [this] { ToggleList(); }},
      {kIdList,
       [this] {
         ToggleList();
         list_->RestoreSelectionMark();
       }},
      {kIdOpen, [this] { OpenDialog(); }},
      {kIdInfo, [this] { About(); }},
      {kIdSmart, [this] { RefreshSmart(); }},
      {kIdMapToggle, [this] { MapToggle(); }},
      {kIdGraphMode, [this] { CycleGraphMode(); }},
      {kIdGraph, [this] { OpenGraph(); }},
      {kIdAccelGraph, [this] { ShowGSensorDialog(); }},
      {kIdSpeed, [this] { ToggleSpeed(); }},
      {kIdSetup, [this] { OpenSetup(); }},
      {kIdSettings, [this] { OpenLegacySetup(); }},
  };
  for (int id : {kIdCategoryEvent, kIdCategoryMotion, kIdCategoryNormal, kIdCategoryManual})
    commands_[id] = [this, id] { list_->ShowCategory(id); };
  for (int id : kNoEffectIds) commands_[id] = [] {};
  InstallCardCommands();
  InstallThumbnailCommands();
  InstallKeyCommands();
  tooltipStrings_ = {{kIdOpen, kStrTipOpen},
                     {kIdSdOpen, kStrTipSdOpen},
                     {kIdZoomIn, kStrTipZoomIn},
                     {kIdZoomOut, kStrTipZoomOut},
                     {kIdChangeScreen, kStrTipChangeScreen},
                     {kIdFormat, kStrTipFormat},
                     {kIdSetup, kStrTipSetup},
                     {kIdPrint, kStrTipPrint},
                     {kIdGraph, kStrTipGraph},
                     {kIdGraphMode, kStrTipGraphMode},
                     {kIdDownload, kStrTipDownload},
                     {kIdInfo, kStrTipInfo},
                     {kIdStop, kStrTipStop},
                     {kIdPrevious, kStrTipPrevious},
                     {kIdPlay, kStrTipPlay},
                     {kIdNext, kStrTipNext},
                     {kIdSpeed, kStrTipSpeed},
                     {kIdMapToggle, kStrTipMapToggle},
                     {kIdDit, kStrTipDit},
                     {kIdDitSetup, kStrTipDitSetup},
                     {kIdMark, kStrTipMark},
                     {kIdExport, kStrTipExport},
                     {kIdSnapshot, kStrTipSnapshot}};
}

std::vector<int> CSamplePlayerDlg::CommandIds() const {
  std::vector<int> ids;
  for (const auto& [id, handler] : commands_) ids.push_back(id);
  return ids;
}

bool CSamplePlayerDlg::OnCommand(int id) {
  auto it = commands_.find(id);
  if (it == commands_.end()) return false;
  // The hidden video controls of DIT mode would reach the video player.
  if (ditMode_ && DitLayout::IsVideoOnlyCommand(id)) return true;
  if (thumbs_ && !IsThumbnailCommand(id)) thumbs_->Leave();
  if (commandObserver_) commandObserver_(id);
  it->second();
  return true;
}

CSkinButton* CSamplePlayerDlg::Button(int id) const {
  auto it = buttons_.find(id);
  return it == buttons_.end() ? nullptr : it->second;
}

QSlider* CSamplePlayerDlg::Slider(int id) const {
  auto it = sliders_.find(id);
  return it == sliders_.end() ? nullptr : it->second;
}

QLabel* CSamplePlayerDlg::Label(int id) const {
  auto it = labels_.find(id);
  return it == labels_.end() ? nullptr : it->second;
}

QString CSamplePlayerDlg::ToolTipOf(int id) const {
  if (CSkinButton* button = Button(id)) return button->toolTip();
  return {};
}

QString CSamplePlayerDlg::ButtonText(int id) const {
  auto it = captions_.find(id);
  return it == captions_.end() ? QString() : it->second;
}

bool CSamplePlayerDlg::IsChecked(int id) const {
  CSkinButton* button = Button(id);
  return button && button->GetCheck();
}

void CSamplePlayerDlg::SetChecked(int id, bool checked) {
  if (CSkinButton* button = Button(id)) button->SetCheck(checked);
}

// ---------------------------------------------------------------- start-up

void CSamplePlayerDlg::OnInitDialog() {
  // The title starts as the product title held so far, which then becomes
  // the program's name with its version.
  setWindowTitle(productTitle_);
  productTitle_ = QStringLiteral("Lumora v.1.0.0");
  QFont small = font();
  small.setPixelSize(12);
  setFont(small);
  RunLayoutProcedure();
  ApplyLanguage(parts_.languageProbe ? parts_.languageProbe() : 0);
  speedUnit_ = parts_.readSpeedUnit ? parts_.readSpeedUnit(0) : 0;
  mapShown_ = true;
  PositionControls();
  ApplyWindowSize();
  // The map page loads once its pane is in place in this window.
  if (map_) map_->LoadPage();
  update();
}

void CSamplePlayerDlg::ApplyLanguage(int cameraCode) {
  StringTable& strings = StringTable::Instance();
  strings.SetLanguage(LanguageForCameraCode(cameraCode));
  setWindowTitle(strings.Load(kStrTitle));
  caption_ = strings.Load(kStrCaption);
  for (const auto& [id, stringId] : tooltipStrings_) {
    if (CSkinButton* button = Button(id)) button->setToolTip(strings.Load(stringId));
  }
}

void CSamplePlayerDlg::RunLayoutProcedure() {
  normalRect_ =
      QRect(geometry().topLeft(), QSize(MainLayout::kNormalWidth, MainLayout::kNormalHeight));
  frontStill_->setGeometry(ToQRect(MainLayout::kLargePane));
  rearStill_->setGeometry(ToQRect(MainLayout::kSmallPane));
  frontArea_->setGeometry(ToQRect(MainLayout::kLargePane));
  rearArea_->setGeometry(ToQRect(MainLayout::kSmallPane));
  frontPane_->setGeometry(0, 0, MainLayout::kLargePane.width, MainLayout::kLargePane.height);
  rearPane_->setGeometry(0, 0, MainLayout::kSmallPane.width, MainLayout::kSmallPane.height);
  void* windows[2] = {frontPane_, rearPane_};
  if (player_) player_->Create(this, windows, 2);
  StartTimer(kTimerRecover, kRecoverPeriodMs);
  windowMode_ = kModeNormal;
  frontPlacement_ = kPaneHidden;
  rearPlacement_ = kPaneHidden;
  mapState_ = 0;
  if (mapWidget_) mapWidget_->setGeometry(ToQRect(MainLayout::kMapShown));
  sliders_[kIdSeekSlider]->setGeometry(ToQRect(MainLayout::kSeekSlider));
  sliders_[kIdVolumeSlider]->setGeometry(ToQRect(MainLayout::kVolumeSlider));
  sliders_[kIdVolumeSlider]->setRange(0, 99);
  sliders_[kIdVolumeSlider]->setValue(PlaybackRules::kInitialVolume);
  savedVolume_ = PlaybackRules::kInitialVolume;
  sliders_[kIdSpeedSlider]->setRange(1, 9);
  sliders_[kIdSpeedSlider]->setValue(PlaybackRules::kSpeedSliderCentre);
  sliders_[kIdSpeedSlider]->hide();
  speedLabel_->hide();
  sliders_[kIdBitmapSlider]->setRange(-150, 150);
  sliders_[kIdBitmapSlider]->setValue(0);
  sliders_[kIdSeekSlider]->setRange(0, 0);
}

void CSamplePlayerDlg::PositionControls() {
  const int w = windowMode_ == kModeEnlarged ? width() : kSkinWidth;
  const int h = windowMode_ == kModeEnlarged ? height() : kSkinHeight;
  // Every control with a place in this mode is moved there and shown; the
  // others (buttons without a place, the time labels of a mode that has
  // none) are hidden.
  std::map<int, QWidget*> widgets;
  for (const auto& [id, button] : buttons_) widgets[id] = button;
  for (const auto& [id, label] : labels_) widgets[id] = label;
  widgets[kIdSeekSlider] = sliders_[kIdSeekSlider];
  widgets[kIdVolumeSlider] = sliders_[kIdVolumeSlider];
  widgets[kIdSmart] = smart_;
  for (const auto& [id, widget] : widgets) {
    LayoutRect rect;
    if (!widget) continue;
    if (ControlPlaces::Place(id, windowMode_, w, h, &rect)) {
      widget->setGeometry(ToQRect(rect));
      widget->show();
    } else {
      widget->hide();
    }
  }
  if (mapWidget_) mapWidget_->setVisible(windowMode_ != kModeEnlarged);
}

void CSamplePlayerDlg::ApplyWindowSize() {
  // The skin's background sets the window size (1020 x 760 for the built-in
  // skin, whether or not the size flag is set).
  resize(kSkinWidth, kSkinHeight);
  CentreWindow();
}

void CSamplePlayerDlg::CentreWindow() {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  move(WindowPlacement::Centred(size(), screen->availableGeometry()).topLeft());
}

void CSamplePlayerDlg::ToggleWindowSize() {
  sizeFlag_ = !sizeFlag_;
  ApplyWindowSize();
}

void CSamplePlayerDlg::StartTimer(int id, int periodMs) { timers_[id]->start(periodMs); }

void CSamplePlayerDlg::KillTimer(int id) { timers_[id]->stop(); }

bool CSamplePlayerDlg::IsTimerRunning(int id) const {
  auto it = timers_.find(id);
  return it != timers_.end() && it->second->isActive();
}

// ------------------------------------------------------------------ layout

void CSamplePlayerDlg::LayoutPanes() {
  const int channels = player_ ? player_->GetVideoStreamCount() : 0;
  const PaneLayout layout = MainLayout::LayPanes(windowMode_, frontPlacement_, rearPlacement_,
                                                 channels, width(), height());
  auto apply = [](QWidget* area, QWidget* pane, const PaneGeometry& geometry) {
    if (!geometry.visible) {
      area->hide();
      return;
    }
    area->setGeometry(ToQRect(geometry.rect));
    pane->setGeometry(0, 0, geometry.rect.width, geometry.rect.height);
    area->show();
    area->raise();
  };
  apply(frontArea_, frontPane_, layout.front);
  apply(rearArea_, rearPane_, layout.rear);
  captions_[kIdMapSize] = QString::fromStdString(MainLayout::MapSizeCaption(mapState_));
  buttons_[kIdMapSize]->SetSkin(mapState_ == 1 ? kBmpMapSmall : kBmpMapLarge,
                                SkinCatalog::SkinMaskForControl(kIdMapSize));
  buttons_[kIdMapSize]->setToolTip(captions_[kIdMapSize]);
  if (player_) player_->RecoverDisplays(1);
}

void CSamplePlayerDlg::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (windowMode_ == kModeEnlarged) {
    PositionControls();
    LayoutPanes();
  }
}

void CSamplePlayerDlg::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (windowMode_ == kModeEnlarged) {
    painter.fillRect(rect(), whiteBackground_ ? Qt::white : Qt::black);
    // The control band under the video keeps the skin's dark colour so that
    // its white time labels stay readable.
    painter.fillRect(QRect(0, height() - MainLayout::kEnlargedBottom + 2, width(),
                           MainLayout::kEnlargedBottom - 2),
                     QColor(0x16, 0x18, 0x1c));
  } else {
    // The skin's background, its bottom band carried on below it.
    const QPixmap background = SkinBitmap(kBmpBackground);
    painter.drawPixmap(0, 0, background);
    const QColor band = background.isNull() ? QColor(0x14, 0x15, 0x18)
                                            : background.toImage().pixelColor(
                                                  background.width() / 2, background.height() - 1);
    painter.fillRect(QRect(0, background.height(), width(), height() - background.height()), band);
  }
  // Label colours: the position label white on 0x25211C, the duration label
  // white on the window's background.
  QPalette pos = labels_.at(kIdPositionLabel)->palette();
  pos.setColor(QPalette::Window, FromColorRef(kPositionLabelBack));
  pos.setColor(QPalette::WindowText, Qt::white);
  labels_.at(kIdPositionLabel)->setPalette(pos);
  QPalette dur = labels_.at(kIdDurationLabel)->palette();
  dur.setColor(QPalette::WindowText, Qt::white);
  labels_.at(kIdDurationLabel)->setPalette(dur);
  labels_.at(kIdFileNameLabel)->setPalette(dur);
  labels_.at(kIdStatusLine)->setPalette(dur);
  // The data panel under the video: graph strip, text block, gauges.
  if (ditMode_) {
    CDataView::DrawDitPanel(painter, DitPanel());
    return;
  }
  UpdatePanelInput();
  dataView_->DrawAll(painter);
}

bool CSamplePlayerDlg::NoRecordingListed() {
  if (list_->RowCount() > 0) return false;
  ShowMessage(StringTable::Instance().Load(kStrFileNotSelected));
  return true;
}

void CSamplePlayerDlg::ShowMessage(const QString& text) {
  ShowMessageBox(this, text, caption_, kMbOk);
}

void CSamplePlayerDlg::FullScreenSwitch() {
  if (NoRecordingListed()) return;
  if (windowMode_ == kModeNormal) {
    normalRect_ = geometry();
    windowMode_ = kModeEnlarged;
    whiteBackground_ = true;
    buttons_[kIdVideoRecovery]->hide();
    listBeforeEnlarged_ = list_->IsListVisible();
    list_->HideList();
    listVisible_ = false;
    ShowListToggleLook();
    list_->TakeHideRequest();
    showMaximized();
    PositionControls();
    LayoutPanes();
  } else {
    LeaveEnlarged();
  }
}

void CSamplePlayerDlg::LeaveEnlarged() {
  if (windowMode_ != kModeEnlarged) return;
  windowMode_ = kModeNormal;
  whiteBackground_ = false;
  showNormal();
  resize(normalRect_.size().isEmpty() ? QSize(kSkinWidth, kSkinHeight) : normalRect_.size());
  CentreWindow();
  buttons_[kIdVideoRecovery]->show();
  PositionControls();
  LayoutPanes();
  // The list window comes back beside the window if it was shown before.
  if (listBeforeEnlarged_ && !list_->IsListVisible()) ToggleList();
  listBeforeEnlarged_ = false;
  update();
}

void CSamplePlayerDlg::ToggleList() {
  if (!list_->IsListVisible() && windowMode_ == kModeNormal) MakeRoomForList();
  list_->Toggle(frameGeometry());
  listVisible_ = list_->IsListVisible();
  ShowListToggleLook();
}

void CSamplePlayerDlg::MakeRoomForList() {
  // On a screen just wide enough for both (1280 pixels) the window moves so
  // that the list fits beside it instead of covering its right side.
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect frame = frameGeometry();
  const QRect moved =
      WindowPlacement::RoomForList(frame, MainLayout::kListWidth, screen->availableGeometry());
  if (moved != frame) move(pos() + (moved.topLeft() - frame.topLeft()));
}

void CSamplePlayerDlg::ShowListToggleLook() {
  buttons_[kIdListToggle]->SetSkin(listVisible_ ? kBmpListOpen : kBmpListClosed,
                                   SkinCatalog::SkinMaskForControl(kIdListToggle));
}

void CSamplePlayerDlg::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  const QPoint p = event->position().toPoint();
  if (OnLButtonDown(p.x(), p.y())) return;
  if (MainLayout::InDragStrip(windowMode_, height(), p.x(), p.y()) && windowHandle())
    windowHandle()->startSystemMove();
}

bool CSamplePlayerDlg::OnLButtonDown(int x, int y) {
  if (!MainLayout::InProgressStrip(windowMode_, height(), x, y)) return false;
  if (ditMode_) {
    const LayoutRect strip = MainLayout::ProgressStrip(windowMode_, height());
    dit_->Seek(x, strip.x, strip.width);
    return true;
  }
  const std::int64_t target = MainLayout::StripTarget(duration_, windowMode_, x);
  SeekTo(target);
  Update();
  return true;
}

void CSamplePlayerDlg::OnSeekBarPressed(int x) {
  // The strip rule over the whole slider, which lies on the strip's columns.
  const LayoutRect strip = MainLayout::ProgressStrip(windowMode_, height());
  OnLButtonDown(sliders_[kIdSeekSlider]->x() + x, strip.y + strip.height / 2);
}

void CSamplePlayerDlg::OnSeekWheel(int notches) {
  if (ditMode_) return;
  const int state = player_->GetState();
  if (state != kStatePlaying && state != kStatePaused) return;
  SeekTo(PlaybackRules::WheelTarget(position_, duration_, notches));
  Update();
}

void CSamplePlayerDlg::SeekTo(std::int64_t ms) {
  if (const auto now = seeks_.Ask(ms, player_->IsSeeking() != 0))
    player_->Seek(static_cast<std::int32_t>(*now));
  if (seeks_.Busy(player_->IsSeeking() != 0)) seekPoll_->start();
}

void CSamplePlayerDlg::PollSeek() {
  const int state = player_->GetState();
  if (state != kStatePlaying && state != kStatePaused) {
    seeks_.Clear();
    seekPoll_->stop();
    return;
  }
  if (const auto next = seeks_.Next(player_->IsSeeking() != 0))
    player_->Seek(static_cast<std::int32_t>(*next));
  if (seeks_.Busy(player_->IsSeeking() != 0)) return;
  seekPoll_->stop();
  if (!parts_.leftButtonHeld()) Update();
}

bool CSamplePlayerDlg::SeekBusy() const {
  return seeks_.Busy(player_ && player_->IsSeeking() != 0);
}

QIcon CSamplePlayerDlg::ProgramIcon() {
  return QIcon::fromTheme(QStringLiteral("lumora-viewer"), QIcon(SkinBitmap(kBmpAppIcon)));
}

void CSamplePlayerDlg::closeEvent(QCloseEvent* event) {
  for (auto& [id, timer] : timers_) timer->stop();
  if (player_) {
    player_->Stop();
    player_->Close();
  }
  list_->HideList();
  event->accept();
}

void CSamplePlayerDlg::Shutdown() {
  player_->Stop();
  player_->Close();
  KillTimer(kTimerUpdate);
  KillTimer(kTimerRecover);
  close();
}

void CSamplePlayerDlg::About() {
  // Window-modal: the main window waits for OK while its timers keep running.
  auto* about = new CAboutSoftwareDlg(this);
  about->setAttribute(Qt::WA_DeleteOnClose);
  about->open();
}

// ---------------------------------------------------------------- the card

void CSamplePlayerDlg::SdOpen() {
  const std::string root = parts_.findCard ? parts_.findCard() : std::string();
  if (root.empty()) {
    ShowMessage(StringTable::Instance().Load(kStrNoSdCard));
    return;
  }
  OpenCard(root);
}

void CSamplePlayerDlg::OpenCard(const std::string& cardRoot) {
  cardRoot_ = cardRoot;
  ScanDitDrives(cardRoot);
  list_->FillFromCard(cardRoot);
  if (ditMode_) return;  // the drive list is what DIT mode shows
  if (!list_->IsListVisible()) ToggleList();
  if (list_->RowCount() > 0) {
    list_->SelectRow(0);
    list_->SetSelectionMark(0);
    Stop();
    PlayPause();
  }
}

void CSamplePlayerDlg::OpenDialog() {
  if (parts_.languageProbe) ApplyLanguage(parts_.languageProbe());
  frontPlacement_ = kPaneLarge;
  rearPlacement_ = kPaneSmall;
  if (player_->GetState() == kStatePlaying) player_->Pause();
  const std::vector<std::string> paths = list_->AskForFiles();
  if (paths.empty()) return;
  OpenFiles(paths);
}

void CSamplePlayerDlg::OpenFiles(const std::vector<std::string>& paths) {
  frontPlacement_ = kPaneLarge;
  rearPlacement_ = kPaneSmall;
  list_->FillFromFiles(paths);
  list_->FocusList();
  if (list_->RowCount() > 0) {
    list_->SelectRow(0);
    list_->SetSelectionMark(0);
  }
  if (!list_->IsListVisible()) ToggleList();
  Stop();
  PlayPause();
}

void CSamplePlayerDlg::OnDriveAdded(const QString&) {}

void CSamplePlayerDlg::OnDriveRemoved(const QString& mountPath) {
  if (cardRoot_.empty()) return;
  const QString removed = QDir::cleanPath(mountPath);
  const QString root = QDir::cleanPath(QString::fromStdString(cardRoot_));
  const bool isCard = removed == root || (removed != QLatin1String("/") &&
                                          root.startsWith(removed + QLatin1Char('/')));
  if (!isCard) return;
  if (thumbs_) thumbs_->Leave();  // its files are gone with the card
  KillTimer(kTimerUpdate);
  list_->ClearLists();
  ForgetDitDrives();
  cardRoot_.clear();
  frontStill_->hide();
  rearStill_->hide();
  labels_[kIdPositionLabel]->setText(QStringLiteral("00:00:00"));
  labels_[kIdDurationLabel]->setText(QStringLiteral("00:00:00"));
  sliders_[kIdSeekSlider]->setValue(0);
  sliders_[kIdVolumeSlider]->setValue(PlaybackRules::kInitialVolume);
  SetOutputVolume(PlaybackRules::kHalfVolume);
  sliders_[kIdSpeedSlider]->setValue(PlaybackRules::kSpeedSliderCentre);
  update();
}

QImage CSamplePlayerDlg::GrabClient() { return grab().toImage(); }

// ------------------------------------------------------- data panel, graphs

CDrivingTrack& CSamplePlayerDlg::PanelTrack() {
  CDrivingTrack* track = track_ ? track_->DrivingTrack() : nullptr;
  return track ? *track : noTrack_;
}

void CSamplePlayerDlg::UpdatePanelInput() {
  panelInput_.position = position_;
  panelInput_.duration = duration_;
  panelInput_.fullScreen = windowMode_ == kModeEnlarged;
  panelInput_.speedUnit = speedUnit_;
  panelInput_.graphMode = graphMode_;
  MarkerFix fix;
  if (map_ && map_->LastFix(&fix)) {
    panelInput_.fix = PanelFix{fix.valid,
                               fix.latitude,
                               fix.longitude,
                               fix.northSouth ? fix.northSouth : 'N',
                               fix.eastWest ? fix.eastWest : 'E',
                               fix.speed};
  }
}

void CSamplePlayerDlg::CycleGraphMode() {
  graphMode_ = graphMode_ >= 2 ? 0 : graphMode_ + 1;
  ShowGraphModeLook();
  update();
}

void CSamplePlayerDlg::ShowGraphModeLook() {
  buttons_[kIdGraphMode]->SetSkin(SkinCatalog::GraphModeSkin(graphMode_),
                                  SkinCatalog::SkinMaskForControl(kIdGraphMode));
}

void CSamplePlayerDlg::OpenGraph() {
  if (NoRecordingListed()) return;
  if (graphDlg_) return;
  // The update timer keeps running behind the window: playback goes on, and
  // the slider, labels, panel, map and the move to the next recording with it.
  // The compact layout suits screens 600 pixels high.
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  const bool compact = screen && screen->availableGeometry().height() <= 600;
  graphDlg_ = new CGraphDlg(&PanelTrack(), duration_, speedUnit_, compact, this);
  graphDlg_->setAttribute(Qt::WA_DeleteOnClose);
  // Modal without blocking the caller.
  connect(graphDlg_, &QDialog::finished, this, [this] { graphDlg_ = nullptr; });
  graphDlg_->open();
}

void CSamplePlayerDlg::ShowGSensorDialog() {
  if (!gsensorDlg_) gsensorDlg_ = new CGSensorDlg(&PanelTrack().TextData(), this);
  gsensorDlg_->SetPosition(position_);
  gsensorDlg_->CentreOnOwner();
  gsensorDlg_->show();
  gsensorDlg_->update();
}

// ---------------------------------------------------------------- settings

void CSamplePlayerDlg::OpenSetup() {
  // The window speaks the camera's language, read again from the card.
  const int language = parts_.languageProbe ? parts_.languageProbe() : 0;
  ApplyLanguage(language);
  const std::string card = parts_.findRemovableCard ? parts_.findRemovableCard() : std::string();
  std::optional<std::filesystem::path> root;
  if (!card.empty()) root = std::filesystem::path(card);
  if (OpenSetupDialog(this, root, language, windowTitle()) != SetupOpenResult::kShown) return;
  // The user may have changed the camera's language and speed unit.
  if (parts_.languageProbe) ApplyLanguage(parts_.languageProbe());
  if (parts_.readSpeedUnit) speedUnit_ = parts_.readSpeedUnit(speedUnit_);
  RefreshSmart();  // the speed read-out in the new unit
  update();
}

void CSamplePlayerDlg::OpenLegacySetup() {
  if (cardRoot_.empty()) return;
  if (!legacySetup_) legacySetup_ = new CSetupDlg(this);
  legacySetup_->SetCardRoot(cardRoot_);
  legacySetup_->ShowCentred();
}

}  // namespace lumora
