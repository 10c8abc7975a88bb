#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QSlider>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <filesystem>
#include <fstream>
#include <set>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/MainLayout.h"
#include "app/PlaybackRules.h"
#include "app/SmartView.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "tests/support/FakeParts.h"
#include "ui/CBitSlider.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

using test::FakeMap;
using test::FakePlayer;
using test::FakeTrack;

const std::string kRestCall = "javascript:DrawCurrent('139.774494', '35.684066')";

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    card_ = dir_.path().toStdString() + "/card";
    std::filesystem::create_directories(card_ + "/NORMAL");
  }

  // Builds and initialises the window. languageCode < 0: no probe at all.
  void MakeWindow(int languageCode = 1) {
    CSamplePlayerDlg::Parts parts;
    auto player = std::make_unique<FakePlayer>();
    auto track = std::make_unique<FakeTrack>();
    auto map = std::make_unique<FakeMap>();
    player_ = player.get();
    track_ = track.get();
    map_ = map.get();
    parts.player = std::move(player);
    parts.track = std::move(track);
    parts.map = std::move(map);
    parts.mapWidget = new QWidget;  // the window takes it as its child
    if (languageCode >= 0) parts.languageProbe = [languageCode] { return languageCode; };
    parts.findCard = [this] { return cardFound_ ? card_ : std::string(); };
    parts.leftButtonHeld = [this] { return buttonHeld_; };
    if (adjustParts_) adjustParts_(parts);
    window_ = std::make_unique<CSamplePlayerDlg>(std::move(parts));
    window_->OnInitDialog();
  }

  std::string MakeRecording(const std::string& name, std::size_t bytes = 20 * 1024) {
    const std::string path = card_ + "/NORMAL/" + name;
    std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
    return path;
  }

  // Three recordings listed through the open dialog path; row 0 plays.
  std::vector<std::string> OpenThree() {
    std::vector<std::string> paths = {MakeRecording("20240101_120000_N1.avi"),
                                      MakeRecording("20240101_120100_N1.avi"),
                                      MakeRecording("20240101_120200_N1.avi")};
    window_->OpenFiles(paths);
    return paths;
  }

  QString LabelText(int id) { return window_->Label(id)->text(); }

  QTemporaryDir dir_;
  std::string card_;
  std::function<void(CSamplePlayerDlg::Parts&)> adjustParts_;
  bool cardFound_ = true;
  bool buttonHeld_ = false;
  MessageBoxRecorder boxes_;
  FakePlayer* player_ = nullptr;
  FakeTrack* track_ = nullptr;
  FakeMap* map_ = nullptr;
  std::unique_ptr<CSamplePlayerDlg> window_;
};

TEST_F(MainWindowTest, LanguageFallsBackToJapaneseWithoutCardOrForUnknownCodes) {
  for (int code : {-1, 0, 5, 2}) {
    MakeWindow(code);
    EXPECT_EQ(StringTable::Instance().Language(), kLangJapanese) << code;
    EXPECT_EQ(window_->windowTitle(), StringTable::Instance().Load(kStrTitle, kLangJapanese));
    EXPECT_EQ(window_->ToolTipOf(kIdPrevious), StringTable::Instance().Load(613, kLangJapanese));
  }
  EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("QX-41α ビューアー"));
}

TEST_F(MainWindowTest, TitleAndTooltipsFollowTheCameraLanguage) {
  MakeWindow(1);
  EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("QX-41α Viewer"));
  EXPECT_EQ(window_->Caption(), QStringLiteral("QX-41a"));
  EXPECT_EQ(window_->ToolTipOf(kIdPrevious), QStringLiteral("Show previous file"));
  EXPECT_EQ(window_->ToolTipOf(kIdPlay), QStringLiteral("Play / Pause"));
  EXPECT_EQ(window_->ToolTipOf(kIdStop), QStringLiteral("Stop"));
  EXPECT_EQ(window_->ToolTipOf(kIdSdOpen), QStringLiteral("Open an existing file on SD Card"));
  EXPECT_EQ(window_->ToolTipOf(kIdChangeScreen), QStringLiteral("Front View <-> Rear View"));
  EXPECT_EQ(window_->ToolTipOf(kIdDit), QStringLiteral("Video Player <-> DIT mode"));
  EXPECT_EQ(window_->ToolTipOf(kIdMark), QStringLiteral("Marker On/Off"));
  window_->ApplyLanguage(9);
  EXPECT_EQ(StringTable::Instance().Language(), kLangKorean);
  EXPECT_EQ(window_->ToolTipOf(kIdPrevious), StringTable::Instance().Load(613, kLangKorean));
  EXPECT_NE(window_->ToolTipOf(kIdPrevious), QStringLiteral("Show previous file"));
  EXPECT_EQ(window_->windowTitle(), StringTable::Instance().Load(kStrTitle, kLangKorean));
}

TEST_F(MainWindowTest, StartUpStateAndTimers) {
  MakeWindow();
  EXPECT_EQ(window_->WindowMode(), kModeNormal);
  EXPECT_EQ(window_->FrontPlacement(), kPaneHidden);
  EXPECT_EQ(window_->RearPlacement(), kPaneHidden);
  EXPECT_EQ(window_->MapState(), 0);
  EXPECT_EQ(window_->CurrentIndex(), -1);
  EXPECT_EQ(window_->SavedVolume(), 50);
  EXPECT_TRUE(window_->MapShown());
  EXPECT_TRUE(window_->IsTimerRunning(kTimerRecover));
  EXPECT_FALSE(window_->IsTimerRunning(kTimerUpdate));
  EXPECT_EQ(window_->Slider(kIdVolumeSlider)->maximum(), 99);
  EXPECT_EQ(window_->Slider(kIdVolumeSlider)->value(), 50);
  EXPECT_EQ(window_->Slider(kIdSpeedSlider)->value(), 5);
  EXPECT_TRUE(window_->Slider(kIdSpeedSlider)->isHidden());
  EXPECT_EQ(window_->Slider(kIdBitmapSlider)->minimum(), -150);
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->geometry(), QRect(105, 420, 537, 20));
  EXPECT_EQ(window_->MapWidget()->geometry(), QRect(680, 354, 326, 353));
  // The map page is loaded once, by start-up, with the pane in its place.
  EXPECT_EQ(map_->pageLoads, 1);
  EXPECT_EQ(window_->MapWidget()->parentWidget(), window_.get());
  EXPECT_EQ(player_->calls.front(), "Create2");
  window_->OnTimer(kTimerRecover);
  EXPECT_EQ(player_->calls.back(), "Recover-1");
  // The program icon on the window and the list window; tooltips while inactive.
  EXPECT_FALSE(window_->windowIcon().isNull());
  QWidget* list = window_->findChild<QDialog*>(QStringLiteral("CListDlg"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->windowIcon().cacheKey(), window_->windowIcon().cacheKey());
  EXPECT_TRUE(window_->testAttribute(Qt::WA_AlwaysShowToolTips));
  EXPECT_TRUE(list->testAttribute(Qt::WA_AlwaysShowToolTips));
}

TEST_F(MainWindowTest, EveryCommandOfTheTableIsWired) {
  MakeWindow();
  const int ids[] = {1000,  1001,  1005,  1006,  1007,  1008,  1009,  1010,  1011,  1012,
                     1016,  1017,  1018,  1020,  1023,  1025,  1041,  1097,  1098,  1099,
                     1100,  1101,  1110,  1111,  1121,  1137,  1150,  1151,  1152,  4153,
                     1154,  1155,  1156,  1157,  1158,  1193,  1194,  1195,  1196,  1197,
                     1198,  1199,  3021,  4200,  4201,  5005,  5019,  5206,  8200,  8201,
                     1202,  32771, 32772, 32774, 8210,  8211,  8212,  40001, 40002, 40003,
                     40004, 40005, 40006, 40007, 40008, 40009, 40010, 40011, 40012, 40013};
  for (int id : ids) EXPECT_TRUE(window_->HasCommand(id)) << id;
  EXPECT_EQ(window_->CommandIds().size(), std::size(ids));
  EXPECT_FALSE(window_->OnCommand(4242));
}

TEST_F(MainWindowTest, AcceleratorsFpsAndCaptureChangeNothing) {
  MakeWindow();
  OpenThree();
  const auto calls = player_->calls.size();
  const QString position = LabelText(kIdPositionLabel);
  for (int id :
       {kIdAccelF8, kIdAccelF9, kIdAccelF10, kIdFps, kIdCapture, kIdCheck1110, kIdCheck1111}) {
    EXPECT_TRUE(window_->OnCommand(id));
  }
  EXPECT_EQ(player_->calls.size(), calls);
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_EQ(LabelText(kIdPositionLabel), position);
  EXPECT_EQ(window_->CurrentIndex(), 0);
  EXPECT_TRUE(boxes_.Requests().empty());
}

TEST_F(MainWindowTest, VideoRecoveryShowsItsMessage) {
  MakeWindow();
  window_->OnCommand(kIdVideoRecovery);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, QStringLiteral("Disabled(Recovery)"));
}

TEST_F(MainWindowTest, PlayPauseStopNextPrevious) {
  MakeWindow();
  OpenThree();
  ASSERT_EQ(window_->List()->RowCount(), 3);
  // The list orders newest first; rows are read back from it.
  std::vector<std::string> paths;
  for (int row = 0; row < 3; ++row) paths.push_back(window_->List()->RowPath(row));
  EXPECT_GT(paths[0], paths[1]);
  EXPECT_EQ(player_->opened.back(), paths[0]);
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_EQ(window_->CurrentIndex(), 0);
  EXPECT_TRUE(window_->IsTimerRunning(kTimerUpdate));
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Pause"));
  EXPECT_EQ(LabelText(kIdDurationLabel), QStringLiteral("00:01:00"));
  EXPECT_EQ(track_->decoded, 10);
  EXPECT_EQ(track_->finishedWith, 60000);

  window_->OnCommand(kIdPlay);
  EXPECT_EQ(player_->state, kStatePaused);
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Play"));
  const auto opens = player_->opened.size();
  window_->OnCommand(kIdPlay);  // resumes without reopening
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_EQ(player_->opened.size(), opens);

  // Previous on the first row does nothing.
  window_->OnCommand(kIdPrevious);
  EXPECT_EQ(player_->opened.size(), opens);
  EXPECT_EQ(window_->CurrentIndex(), 0);

  window_->OnCommand(kIdNext);
  EXPECT_EQ(player_->opened.back(), paths[1]);
  EXPECT_EQ(window_->CurrentIndex(), 1);
  EXPECT_EQ(window_->List()->SelectionMark(), 1);
  EXPECT_EQ(player_->state, kStatePlaying);
  window_->OnCommand(kIdNext);
  EXPECT_EQ(window_->CurrentIndex(), 2);
  window_->OnCommand(kIdPrevious);
  EXPECT_EQ(player_->opened.back(), paths[1]);
  EXPECT_EQ(window_->CurrentIndex(), 1);
  window_->OnCommand(kIdNext);
  ASSERT_EQ(window_->CurrentIndex(), 2);

  // Next on the last row stops and closes.
  map_->scripts.clear();
  window_->OnCommand(kIdNext);
  EXPECT_EQ(player_->state, kStateClosed);
  EXPECT_TRUE(window_->Stopped());
  EXPECT_EQ(map_->scripts.back(), kRestCall);

  // Play after Stop reopens the selected row.
  window_->OnCommand(kIdPlay);
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_EQ(player_->opened.back(), paths[2]);
}

TEST_F(MainWindowTest, StopResetsLabelsAndRestsTheMarker) {
  MakeWindow();
  OpenThree();
  player_->position = 12000;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:12"));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), 12000);
  EXPECT_EQ(map_->marks.back(), 12000);
  window_->OnCommand(kIdStop);
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:00"));
  EXPECT_EQ(LabelText(kIdDurationLabel), QStringLiteral("00:00:00"));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), 0);
  EXPECT_EQ(player_->state, kStateClosed);
  EXPECT_EQ(player_->seeks.back(), 0);
  EXPECT_EQ(window_->MapState(), 4);
  ASSERT_FALSE(map_->scripts.empty());
  EXPECT_EQ(map_->scripts.back(), kRestCall);
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Play"));
}

TEST_F(MainWindowTest, StepsClampAtBothEnds) {
  MakeWindow();
  OpenThree();
  player_->position = 3000;
  window_->OnCommand(kIdStepBack);
  EXPECT_EQ(player_->seeks.back(), 0);
  player_->position = 58000;
  window_->OnCommand(kIdStepForward);
  EXPECT_EQ(player_->seeks.back(), 60000);
  player_->position = 20000;
  window_->OnCommand(kIdStepForward);
  EXPECT_EQ(player_->seeks.back(), 25000);
  // Only while playing or paused.
  window_->OnCommand(kIdStop);
  const auto seeks = player_->seeks.size();
  window_->OnCommand(kIdStepForward);
  EXPECT_EQ(player_->seeks.size(), seeks);
}

TEST_F(MainWindowTest, VolumeZeroMutesAndMovingUpUnmutes) {
  MakeWindow();
  OpenThree();
  QSlider* volume = window_->Slider(kIdVolumeSlider);
  volume->setSliderPosition(0);
  window_->OnHScroll(kIdVolumeSlider, 5);
  EXPECT_TRUE(window_->IsChecked(kIdMute));
  EXPECT_EQ(window_->OutputVolume(), 0u);
  EXPECT_EQ(player_->volumes.back(), 0u);
  EXPECT_EQ(window_->SavedVolume(), 50);
  volume->setSliderPosition(30);
  window_->OnHScroll(kIdVolumeSlider, 4);
  EXPECT_FALSE(window_->IsChecked(kIdMute));
  EXPECT_EQ(window_->SavedVolume(), 30);
  EXPECT_EQ(window_->OutputVolume(), 19660u + (19660u << 16));
  EXPECT_EQ(player_->volumes.back(), 19660u + (19660u << 16));
  // The mute box silences and restores the slider's level.
  window_->SetChecked(kIdMute, true);
  window_->OnCommand(kIdMute);
  EXPECT_EQ(window_->OutputVolume(), 0u);
  window_->SetChecked(kIdMute, false);
  window_->OnCommand(kIdMute);
  EXPECT_EQ(window_->OutputVolume(), 19660u + (19660u << 16));
  // Opening a recording sets the level the slider shows, not half.
  window_->OnCommand(kIdNext);
  EXPECT_EQ(window_->Slider(kIdVolumeSlider)->value(), 30);
  EXPECT_EQ(player_->volumes.back(), 19660u + (19660u << 16));
}

TEST_F(MainWindowTest, SingleChannelRecordingHidesTheRearPane) {
  MakeWindow();
  window_->show();
  player_->defaults.channels = 1;
  OpenThree();
  EXPECT_EQ(window_->FrontPlacement(), kPaneLarge);
  EXPECT_EQ(window_->RearPlacement(), kPaneHidden);
  EXPECT_TRUE(window_->FrontPane()->isVisible());
  EXPECT_FALSE(window_->RearPane()->isVisible());
  // Swapping needs a rear pane.
  window_->OnCommand(kIdChangeScreen);
  EXPECT_EQ(window_->FrontPlacement(), kPaneLarge);
}

TEST_F(MainWindowTest, TwoChannelsShowBothPanesAndSwap) {
  MakeWindow();
  window_->show();
  OpenThree();
  EXPECT_EQ(window_->FrontPlacement(), kPaneLarge);
  EXPECT_EQ(window_->RearPlacement(), kPaneSmall);
  EXPECT_TRUE(window_->RearPane()->isVisible());
  EXPECT_EQ(window_->RearPane()->parentWidget()->geometry(), QRect(684, 37, 320, 240));
  window_->OnCommand(kIdFrontRearSwitch);
  EXPECT_EQ(window_->FrontPlacement(), kPaneSmall);
  EXPECT_EQ(window_->RearPlacement(), kPaneLarge);
  EXPECT_EQ(window_->RearPane()->parentWidget()->geometry(), QRect(16, 37, 640, 360));
  EXPECT_EQ(window_->FrontPane()->parentWidget()->geometry(), QRect(684, 37, 320, 240));
}

TEST_F(MainWindowTest, LayoutCheckBoxesActAsAPair) {
  MakeWindow();
  OpenThree();
  EXPECT_TRUE(window_->Button(kIdLayoutMapCheck)->isEnabled());
  window_->OnCommand(kIdLayoutMapCheck);  // map state 4 -> 2, small pane emptied
  EXPECT_TRUE(window_->IsChecked(kIdLayoutMapCheck));
  EXPECT_FALSE(window_->IsChecked(kIdLayoutVideoCheck));
  EXPECT_EQ(window_->MapState(), 2);
  EXPECT_EQ(window_->FrontPlacement(), kPaneLarge);
  EXPECT_EQ(window_->RearPlacement(), kPaneHidden);
  window_->OnCommand(kIdLayoutVideoCheck);  // map state 2 -> 0, rear back to small
  EXPECT_FALSE(window_->IsChecked(kIdLayoutMapCheck));
  EXPECT_TRUE(window_->IsChecked(kIdLayoutVideoCheck));
  EXPECT_EQ(window_->MapState(), 0);
  EXPECT_EQ(window_->RearPlacement(), kPaneSmall);
}

TEST_F(MainWindowTest, FullScreenSwitchTwiceRestoresTheWindow) {
  MakeWindow();
  window_->show();
  boxes_.Clear();
  window_->OnCommand(kIdFullScreen);  // nothing listed: string 626
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, QStringLiteral("File is not selected."));
  EXPECT_EQ(window_->WindowMode(), kModeNormal);
  OpenThree();
  const QRect before = window_->geometry();
  window_->OnCommand(kIdFullScreen);
  EXPECT_EQ(window_->WindowMode(), kModeEnlarged);
  EXPECT_FALSE(window_->List()->IsListVisible());
  EXPECT_FALSE(window_->Button(kIdVideoRecovery)->isVisible());
  window_->OnCommand(kIdFullScreen);
  EXPECT_EQ(window_->WindowMode(), kModeNormal);
  EXPECT_EQ(window_->geometry(), before);
  EXPECT_TRUE(window_->List()->IsListVisible());  // back at its place
  window_->OnCommand(kIdFullScreen);
  window_->OnCommand(kIdPreviousSize);
  EXPECT_EQ(window_->WindowMode(), kModeNormal);
  EXPECT_EQ(window_->geometry(), before);
}

// The visible controls of the window are exactly the placed ones of its mode,
// each at its place.
void ExpectControlsAtTheirPlaces(CSamplePlayerDlg& window) {
  const int w = window.WindowMode() == kModeEnlarged ? window.width() : MainLayout::kClientWidth;
  const int h = window.WindowMode() == kModeEnlarged ? window.height() : MainLayout::kClientHeight;
  std::set<int> placed;
  for (const PlacedControl& control : ControlPlaces::All(window.WindowMode(), w, h)) {
    placed.insert(control.id);
    QWidget* widget = window.Button(control.id);
    if (!widget) widget = window.Slider(control.id);
    if (!widget) widget = window.Label(control.id);
    if (control.id == kIdSmart) widget = window.SmartWidget();
    ASSERT_NE(widget, nullptr) << control.id;
    EXPECT_TRUE(widget->isVisible()) << control.id;
    const LayoutRect& r = control.rect;
    EXPECT_EQ(widget->geometry(), QRect(r.x, r.y, r.width, r.height)) << control.id;
  }
  for (int id : window.CommandIds()) {
    if (CSkinButton* button = window.Button(id)) {
      EXPECT_EQ(button->isVisible(), placed.count(id) == 1) << id;
    }
  }
}

TEST_F(MainWindowTest, ControlsSitAtTheirPlacesInBothWindowModes) {
  MakeWindow();
  window_->show();
  OpenThree();
  EXPECT_EQ(window_->size(), QSize(MainLayout::kClientWidth, MainLayout::kClientHeight));
  ExpectControlsAtTheirPlaces(*window_);
  const QString shots = qEnvironmentVariable("LUMORA_SHOT_DIR");
  if (!shots.isEmpty()) window_->GrabClient().save(shots + QStringLiteral("/window-mode1.png"));
  window_->OnCommand(kIdFullScreen);
  ASSERT_EQ(window_->WindowMode(), kModeEnlarged);
  ExpectControlsAtTheirPlaces(*window_);
  EXPECT_FALSE(window_->MapWidget()->isVisible());
  if (!shots.isEmpty()) window_->GrabClient().save(shots + QStringLiteral("/window-mode2.png"));
  window_->OnCommand(kIdPreviousSize);
  ExpectControlsAtTheirPlaces(*window_);
  EXPECT_TRUE(window_->MapWidget()->isVisible());
}

TEST_F(MainWindowTest, RemovingAnotherDriveChangesNothingRemovingTheCardResets) {
  MakeWindow();
  window_->OnCommand(kIdSdOpen);
  EXPECT_EQ(window_->CardRoot(), card_);
  EXPECT_TRUE(boxes_.Requests().empty());
  window_->OpenCard(card_);
  // The card has no recordings yet; list three through the card scan.
  MakeRecording("20240101_120000_N1.avi");
  MakeRecording("20240101_120100_N1.avi");
  window_->OpenCard(card_);
  ASSERT_EQ(window_->List()->RowCount(), 2);
  EXPECT_EQ(player_->state, kStatePlaying);
  player_->position = 5000;
  window_->OnTimer(kTimerUpdate);
  window_->Slider(kIdVolumeSlider)->setSliderPosition(80);
  window_->OnHScroll(kIdVolumeSlider, 5);

  window_->OnDriveAdded(QString::fromStdString(dir_.path().toStdString() + "/other"));
  window_->OnDriveRemoved(QString::fromStdString(dir_.path().toStdString() + "/other"));
  EXPECT_EQ(window_->List()->RowCount(), 2);
  EXPECT_TRUE(window_->IsTimerRunning(kTimerUpdate));
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:05"));
  EXPECT_EQ(window_->CardRoot(), card_);

  window_->OnDriveRemoved(QString::fromStdString(card_ + "/"));
  EXPECT_EQ(window_->List()->RowCount(), 0);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerUpdate));
  EXPECT_TRUE(window_->CardRoot().empty());
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:00"));
  EXPECT_EQ(LabelText(kIdDurationLabel), QStringLiteral("00:00:00"));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), 0);
  EXPECT_EQ(window_->Slider(kIdVolumeSlider)->value(), 50);
  EXPECT_EQ(window_->Slider(kIdSpeedSlider)->value(), 5);
  EXPECT_EQ(window_->OutputVolume(), 0x7FFF7FFFu);
}

TEST_F(MainWindowTest, SdOpenWithoutCardSaysSo) {
  cardFound_ = false;
  MakeWindow();
  window_->OnCommand(kIdSdOpen);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, QStringLiteral("There is no device SD card."));
  EXPECT_TRUE(window_->CardRoot().empty());
}

TEST_F(MainWindowTest, UnplayableFileIsInvalidAndTheNextOnePlays) {
  MakeWindow();
  // Newest first: the bad file is row 0, the good one row 1.
  std::filesystem::create_directories(card_ + "/NORMAL/unplayable");
  const std::string bad = MakeRecording("unplayable/20240101_120100_N1.avi");
  const std::string good = MakeRecording("20240101_120000_N1.avi");
  window_->OpenFiles({bad, good});
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, QString::fromStdString("Invalid File.\nFile name : " + bad));
  EXPECT_EQ(player_->opened.back(), good);
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_EQ(window_->CurrentIndex(), 1);
}

// No records, or 18000 and more (which count as none): the recording plays
// and the panel says it has no driving data; 17999 records load.
TEST_F(MainWindowTest, RecordingWithoutDrivingDataPlaysWithANotice) {
  MakeWindow();
  const std::string plain = MakeRecording("20240101_120000_N1.avi");
  track_->gpsFixes = 0;
  for (const int records : {0, 18000}) {
    player_->recordings[plain] = {60000, 2, records};
    window_->OpenFiles({plain});
    EXPECT_TRUE(boxes_.Requests().empty());
    EXPECT_EQ(player_->opened.back(), plain);
    EXPECT_EQ(player_->state, kStatePlaying);
    EXPECT_EQ(track_->decoded, 0);
    EXPECT_EQ(window_->PanelInput().notice, "No driving data");
  }
  player_->recordings[plain] = {60000, 2, 17999};
  track_->rows.assign(1, std::vector<std::uint16_t>(21, 0));
  window_->OpenFiles({plain});
  EXPECT_EQ(track_->decoded, 17999);
  EXPECT_EQ(window_->PanelInput().notice, "");
}

TEST_F(MainWindowTest, EndOfRecordingAdvancesToTheNextRow) {
  MakeWindow();
  OpenThree();
  const std::string second = window_->List()->RowPath(1);
  player_->position = 59990;
  window_->PostEndOfRecording();
  EXPECT_EQ(player_->state, kStatePlaying);  // queued, not yet run
  QApplication::processEvents();
  EXPECT_EQ(player_->state, kStateStopped);
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(player_->opened.back(), second);
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_EQ(window_->CurrentIndex(), 1);
}

TEST_F(MainWindowTest, HeldMouseButtonSuspendsTheUpdate) {
  MakeWindow();
  OpenThree();
  player_->position = 7000;
  buttonHeld_ = true;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:00"));
  buttonHeld_ = false;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:07"));
}

TEST_F(MainWindowTest, PausedAtTheStartKeepsTheRecording) {
  MakeWindow();
  OpenThree();
  window_->OnCommand(kIdPlay);  // paused at 0:00, as while the player primes
  ASSERT_EQ(player_->state, kStatePaused);
  player_->position = 3000;
  window_->OnCommand(kIdStepBack);  // stepped back to 0:00
  for (int i = 0; i < 3; ++i) window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(player_->opened.size(), 1u);
  EXPECT_EQ(window_->CurrentIndex(), 0);
  EXPECT_EQ(player_->state, kStatePaused);
}

TEST_F(MainWindowTest, SeekBarMouseJumpsWheelsAndTheReleasePlaceWins) {
  MakeWindow();
  OpenThree();
  window_->show();
  auto* seek = static_cast<CBitSlider*>(window_->Slider(kIdSeekSlider));
  auto mouse = [seek](QEvent::Type type, int x, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(x, 10), seek->mapToGlobal(QPointF(x, 10)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(seek, &event);
  };
  // A click at 80 % of the bar: the strip rule over the whole slider.
  mouse(QEvent::MouseButtonPress, 429, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, 429, Qt::NoButton);
  EXPECT_EQ(player_->seeks.back(), 60000 * 429 / 537);
  EXPECT_EQ(seek->GetPos(), 47932);
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:47"));
  QWheelEvent wheel(QPointF(20, 10), seek->mapToGlobal(QPointF(20, 10)), QPoint(), QPoint(0, 240),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(seek, &wheel);
  EXPECT_EQ(player_->seeks.back(), 57932);
  // A drag while the player still seeks asks nothing of it until that seek
  // ends; then only the place of the release.
  player_->seeking = 1;
  const std::size_t asked = player_->seeks.size();
  const int thumb = seek->Thumb()->geometry().center().x();
  mouse(QEvent::MouseButtonPress, thumb, Qt::LeftButton);
  mouse(QEvent::MouseMove, 100, Qt::LeftButton);
  mouse(QEvent::MouseMove, 200, Qt::LeftButton);
  mouse(QEvent::MouseButtonRelease, 200, Qt::NoButton);
  const int released = seek->GetPos();
  EXPECT_EQ(player_->seeks.size(), asked);
  EXPECT_TRUE(window_->SeekBusy());
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(seek->GetPos(), released);  // no snap back to the player's old place
  player_->seeking = 0;
  QElapsedTimer waited;
  waited.start();
  while (window_->SeekBusy() && waited.elapsed() < 2000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_EQ(player_->seeks.size(), asked + 1);
  EXPECT_EQ(player_->seeks.back(), released);
}

TEST_F(MainWindowTest, ClickingTheProgressStripSeeks) {
  MakeWindow();
  OpenThree();
  window_->OnTimer(kTimerUpdate);
  EXPECT_TRUE(window_->OnLButtonDown(105 + 537 / 2, 430));
  EXPECT_EQ(player_->seeks.back(), 60000 * 268 / 537);
  EXPECT_FALSE(window_->OnLButtonDown(700, 430));
  EXPECT_FALSE(window_->OnLButtonDown(300, 10));
}

TEST_F(MainWindowTest, SeekSliderCodesSeek) {
  MakeWindow();
  OpenThree();
  QSlider* seek = window_->Slider(kIdSeekSlider);
  seek->setSliderPosition(30000);
  window_->OnHScroll(kIdSeekSlider, 5);
  EXPECT_EQ(player_->seeks.back(), 30000);
  seek->setSliderPosition(40000);
  window_->OnHScroll(kIdSeekSlider, 3);
  EXPECT_EQ(player_->seeks.back(), 40000);
  const auto seeks = player_->seeks.size();
  window_->OnHScroll(kIdSeekSlider, 8);
  EXPECT_EQ(player_->seeks.size(), seeks);
}

TEST_F(MainWindowTest, SpeedTogglesOnlyWhilePlaying) {
  MakeWindow();
  OpenThree();
  window_->OnCommand(kIdSpeed);
  EXPECT_EQ(window_->SpeedMultiplier(), 2);
  EXPECT_FLOAT_EQ(player_->speeds.back(), 2.0f);
  window_->OnCommand(kIdSpeed);
  EXPECT_EQ(window_->SpeedMultiplier(), 1);
  EXPECT_FLOAT_EQ(player_->speeds.back(), 1.0f);
  window_->OnCommand(kIdPlay);  // pause
  window_->OnCommand(kIdSpeed);
  EXPECT_EQ(window_->SpeedMultiplier(), 1);
}

TEST_F(MainWindowTest, SmartIndicatorFollowsThePlayPosition) {
  MakeWindow();
  std::vector<std::uint16_t> row(21, 0);
  row[0] = 72;
  row[4] = 1;
  row[5] = 1;
  track_->rows.assign(100, row);
  OpenThree();
  player_->position = 30000;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(window_->LastSmartFrame().bitmap, 451);
  EXPECT_EQ(window_->LastSmartFrame().speedText, " 72");
  EXPECT_EQ(window_->LastSmartFrame().unitText, "km/h");
}

TEST_F(MainWindowTest, InfoShowsTheAboutBox) {
  MakeWindow();
  window_->show();
  window_->OnCommand(kIdInfo);
  auto* about = window_->findChild<QDialog*>(QStringLiteral("CAboutSoftwareDlg"));
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->isVisible());
  EXPECT_TRUE(about->isModal());
  auto* title = about->findChild<QLabel*>(QStringLiteral("title"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), QString::fromUtf8("QX-41α Viewer  v1.0.1"));
  about->accept();
}

TEST_F(MainWindowTest, MapToggleMovesTheMapOffScreenAndBack) {
  MakeWindow();
  window_->OnCommand(kIdMapToggle);
  EXPECT_FALSE(window_->MapShown());
  window_->OnCommand(kIdMapToggle);
  EXPECT_TRUE(window_->MapShown());
}

TEST_F(MainWindowTest, ExitStopsClosesAndKillsTimers) {
  MakeWindow();
  window_->show();
  OpenThree();
  window_->OnCommand(kIdExit);
  EXPECT_EQ(player_->state, kStateClosed);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerUpdate));
  EXPECT_FALSE(window_->IsTimerRunning(kTimerRecover));
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(MainWindowTest, FormatClosesThePlayingRecordingFirstAndReopensTheCard) {
  const std::string fresh = dir_.path().toStdString() + "/remounted";
  int stateAtFormat = -1;
  int rowsAtFormat = -1;
  adjustParts_ = [&](CSamplePlayerDlg::Parts& parts) {
    parts.drives = std::make_shared<CFixedDriveEnumerator>(
        std::vector<DriveInfo>{{card_, true, false, "/dev/sdx1", "vfat"}});
    parts.format.size = [](const std::filesystem::path&) {
      return std::optional<double>(7600.0 * 1048576.0);
    };
    parts.format.openFolder = [](const QString&) {};
    parts.format.format = [&](const DriveInfo&) {
      stateAtFormat = player_->state;
      rowsAtFormat = window_->List()->RowCount();
      std::filesystem::create_directories(fresh);
      FormatResult result;
      result.status = FormatStatus::Formatted;
      result.mountPath = fresh;
      return result;
    };
  };
  MakeWindow();
  MakeRecording("20240101_120000_N1.avi");
  window_->OpenCard(card_);
  ASSERT_EQ(player_->state, kStatePlaying);
  boxes_.QueueAnswer(kIdOk);
  window_->OnCommand(kIdFormat);
  EXPECT_EQ(stateAtFormat, kStateClosed);
  EXPECT_EQ(rowsAtFormat, 0);
  EXPECT_EQ(window_->CardRoot(), fresh);  // opened again at its new mount path
  ASSERT_EQ(boxes_.Requests().size(), 2u);
  EXPECT_EQ(boxes_.Requests()[1].text, QStringLiteral("Format Complete"));
}

}  // namespace
}  // namespace lumora
