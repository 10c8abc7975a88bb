// The main window on fake parts: each command reaches its effect and the flows
// of playing a list hold together (the rules' values are in RulesTest).
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QSlider>
#include <QWheelEvent>

#include <set>

#include "app/ListDlgPort.h"
#include "app/MainLayout.h"
#include "app/SmartView.h"
#include "data/qt/CGSensorDlg.h"
#include "data/qt/CGraphDlg.h"
#include "library/qt/CListDlg.h"
#include "res/SkinIds.h"
#include "res/StringTable.h"
#include "tests/app/WindowTest.h"
#include "tests/support/WidgetInput.h"
#include "ui/CBitSlider.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

using MainWindowTest = test::WindowTest;
using test::kRestCall;

TEST_F(MainWindowTest, LanguageFollowsTheCameraAndFallsBackToJapanese) {
  for (int code : {-1, 0, 5, 2}) {
    MakeWindow(code);
    EXPECT_EQ(StringTable::Instance().Language(), kLangJapanese) << code;
    EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("QX-41α ビューアー"));
  }
  MakeWindow(1);
  EXPECT_EQ(window_->windowTitle(), QString::fromUtf8("QX-41α Viewer"));
  EXPECT_EQ(window_->ToolTipOf(kIdPrevious), QStringLiteral("Show previous file"));
  window_->ApplyLanguage(9);
  EXPECT_EQ(window_->ToolTipOf(kIdPrevious), StringTable::Instance().Load(613, kLangKorean));
}

TEST_F(MainWindowTest, StartUpStateAndCommandTable) {
  MakeWindow();
  EXPECT_EQ(window_->MapState(), 0);
  EXPECT_TRUE(window_->IsTimerRunning(kTimerRecover));
  EXPECT_FALSE(window_->IsTimerRunning(kTimerUpdate));
  EXPECT_EQ(window_->Slider(kIdVolumeSlider)->maximum(), 99);
  EXPECT_EQ(window_->Slider(kIdVolumeSlider)->value(), 50);
  // The map page is loaded once, with the map in its place in the window.
  EXPECT_EQ(map_->pageLoads, 1);
  EXPECT_EQ(window_->MapWidget()->geometry(), QRect(680, 354, 326, 353));
  EXPECT_EQ(player_->calls.front(), "Create2");
  window_->OnTimer(kTimerRecover);
  EXPECT_EQ(player_->calls.back(), "Recover-1");
  // The program icon on both windows; tooltips also while inactive.
  QWidget* list = window_->findChild<QDialog*>(QStringLiteral("CListDlg"));
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(window_->windowIcon().isNull());
  EXPECT_EQ(list->windowIcon().cacheKey(), window_->windowIcon().cacheKey());
  EXPECT_TRUE(window_->testAttribute(Qt::WA_AlwaysShowToolTips));
  EXPECT_TRUE(list->testAttribute(Qt::WA_AlwaysShowToolTips));

  const std::set<int> ids = {1000,  1001,  1005,  1006,  1007,  1008,  1009,  1010,  1011,  1012,
                             1016,  1017,  1018,  1020,  1023,  1025,  1041,  1097,  1098,  1099,
                             1100,  1101,  1110,  1111,  1121,  1137,  1150,  1151,  1152,  4153,
                             1154,  1155,  1156,  1157,  1158,  1193,  1194,  1195,  1196,  1197,
                             1198,  1199,  3021,  4200,  4201,  5005,  5019,  5206,  8200,  8201,
                             1202,  32771, 32772, 32774, 8210,  8211,  8212,  40001, 40002, 40003,
                             40004, 40005, 40006, 40007, 40008, 40009, 40010, 40011, 40012, 40013};
  const std::vector<int> wired = window_->CommandIds();
  EXPECT_EQ(std::set<int>(wired.begin(), wired.end()), ids);
  EXPECT_FALSE(window_->OnCommand(4242));
  // Accelerators, FPS, capture and the two check boxes do nothing.
  OpenRecordings();
  const auto calls = player_->calls.size();
  for (int id :
       {kIdAccelF8, kIdAccelF9, kIdAccelF10, kIdFps, kIdCapture, kIdCheck1110, kIdCheck1111})
    EXPECT_TRUE(window_->OnCommand(id));
  EXPECT_EQ(player_->calls.size(), calls);
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_TRUE(boxes_.Requests().empty());
}

TEST_F(MainWindowTest, CommandsThatCannotRunSaySo) {
  for (auto [id, card, text] : {std::tuple{kIdVideoRecovery, true, "Disabled(Recovery)"},
                                {kIdSdOpen, false, "There is no device SD card."},
                                {kIdThumbList, false, "There is no device SD card."},
                                {kIdFullScreen, true, "File is not selected."},
                                {kIdGraph, true, "File is not selected."}}) {
    cardFound_ = card;
    MakeWindow();
    window_->show();
    boxes_.Clear();
    window_->OnCommand(id);
    ASSERT_EQ(boxes_.Requests().size(), 1u) << id;
    EXPECT_EQ(boxes_.Requests()[0].text, QString::fromUtf8(text));
    EXPECT_EQ(window_->WindowMode(), kModeNormal);
    EXPECT_EQ(window_->GraphDialog(), nullptr);
    EXPECT_TRUE(window_->CardRoot().empty());
  }
}

TEST_F(MainWindowTest, PlayPauseNextPreviousStepAndStop) {
  MakeWindow();
  OpenRecordings();
  ASSERT_EQ(window_->List()->RowCount(), 3);
  const std::string second = window_->List()->RowPath(1);
  EXPECT_EQ(player_->opened.back(), window_->List()->RowPath(0));
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_TRUE(window_->IsTimerRunning(kTimerUpdate));
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Pause"));
  EXPECT_EQ(LabelText(kIdDurationLabel), QStringLiteral("00:01:00"));
  EXPECT_EQ(track_->decoded, 10);
  EXPECT_EQ(track_->finishedWith, 60000);

  window_->OnCommand(kIdPlay);
  EXPECT_EQ(player_->state, kStatePaused);
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Play"));
  window_->OnCommand(kIdPlay);  // resumes without reopening
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_EQ(player_->opened.size(), 1u);
  window_->OnCommand(kIdPrevious);  // on the first row: nothing
  EXPECT_EQ(player_->opened.size(), 1u);
  window_->OnCommand(kIdNext);
  window_->OnCommand(kIdNext);
  window_->OnCommand(kIdPrevious);
  EXPECT_EQ(player_->opened.back(), second);
  EXPECT_EQ(window_->CurrentIndex(), 1);
  EXPECT_EQ(window_->List()->SelectionMark(), 1);
  // Steps ask the player for 5 s; the update shows where it is.
  player_->position = 20000;
  window_->OnCommand(kIdStepForward);
  EXPECT_EQ(player_->seeks.back(), 25000);
  window_->OnCommand(kIdStepBack);
  EXPECT_EQ(player_->seeks.back(), 20000);
  player_->position = 12000;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), 12000);

  // Stop rewinds, clears the labels and rests the map marker.
  window_->OnCommand(kIdStop);
  EXPECT_EQ(player_->state, kStateClosed);
  EXPECT_EQ(player_->seeks.back(), 0);
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:00"));
  EXPECT_EQ(LabelText(kIdDurationLabel), QStringLiteral("00:00:00"));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), 0);
  EXPECT_EQ(window_->MapState(), 4);
  EXPECT_EQ(map_->scripts.back(), kRestCall);
  const auto seeks = player_->seeks.size();
  window_->OnCommand(kIdStepForward);  // only while playing or paused
  EXPECT_EQ(player_->seeks.size(), seeks);
  // Play after Stop reopens the selected row; Next on the last row stops.
  window_->OnCommand(kIdPlay);
  EXPECT_EQ(player_->opened.back(), second);
  window_->OnCommand(kIdNext);
  ASSERT_EQ(window_->CurrentIndex(), 2);
  map_->scripts.clear();
  window_->OnCommand(kIdNext);
  EXPECT_EQ(player_->state, kStateClosed);
  EXPECT_TRUE(window_->Stopped());
  EXPECT_EQ(map_->scripts.back(), kRestCall);
}

TEST_F(MainWindowTest, EndOfRecordingOpensTheNextRowAndAHeldButtonWaits) {
  MakeWindow();
  OpenRecordings();
  const std::string second = window_->List()->RowPath(1);
  player_->position = 7000;
  buttonHeld_ = true;  // the update waits while the mouse button is held
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:00"));
  buttonHeld_ = false;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:07"));
  window_->PostEndOfRecording();
  EXPECT_EQ(player_->state, kStatePlaying);  // queued, not yet run
  QApplication::processEvents();
  EXPECT_EQ(player_->state, kStateStopped);
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(player_->opened.back(), second);
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_EQ(window_->CurrentIndex(), 1);
  // Exit stops, closes and ends the timers.
  window_->show();
  window_->OnCommand(kIdExit);
  EXPECT_EQ(player_->state, kStateClosed);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerUpdate));
  EXPECT_FALSE(window_->IsTimerRunning(kTimerRecover));
  EXPECT_FALSE(window_->isVisible());
}

TEST_F(MainWindowTest, ListOrderFlipsUnderThePlayingRecording) {
  MakeWindow();
  OpenRecordings(5);
  window_->OnCommand(kIdNext);
  const std::string playing = window_->List()->RowPath(1);
  auto* port = dynamic_cast<ListDlgPort*>(window_->List());
  ASSERT_NE(port, nullptr);
  port->Dialog()->ToggleOrder();
  // The playing recording moved from row 1 to row 3 and stays marked.
  ASSERT_EQ(window_->List()->RowPath(3), playing);
  EXPECT_EQ(window_->List()->SelectionMark(), 3);
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(port->Dialog()->SelectedRow(), 3);
  // Previous opens the row above it in the new order; after flipping back,
  // Next opens the row below that one.
  const std::string above = window_->List()->RowPath(2);
  window_->OnCommand(kIdPrevious);
  EXPECT_EQ(player_->opened.back(), above);
  port->Dialog()->ToggleOrder();
  window_->OnCommand(kIdNext);
  EXPECT_EQ(window_->CurrentIndex(), 3);
  EXPECT_EQ(window_->List()->SelectionMark(), 3);
}

TEST_F(MainWindowTest, UnplayableFilesAndRecordingsWithoutDrivingData) {
  MakeWindow();
  // Newest first: the bad file is row 0, the good one row 1.
  const std::string bad = MakeRecording("unplayable/20240101_120100_N1.avi");
  const std::string good = MakeRecording("20240101_120000_N1.avi");
  window_->OpenFiles({bad, good});
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, QString::fromStdString("Invalid File.\nFile name : " + bad));
  EXPECT_EQ(player_->opened.back(), good);
  EXPECT_EQ(player_->state, kStatePlaying);
  EXPECT_EQ(window_->CurrentIndex(), 1);
  // No records, or 18000 and more: it plays with a notice on the panel.
  boxes_.Clear();
  const std::string& plain = good;
  track_->gpsFixes = 0;
  for (const int records : {0, 18000}) {
    player_->recordings[plain] = {60000, 2, records};
    window_->OpenFiles({plain});
    EXPECT_EQ(player_->state, kStatePlaying);
    EXPECT_EQ(track_->decoded, 0);
    EXPECT_EQ(window_->PanelInput().notice, "No driving data");
  }
  player_->recordings[plain] = {60000, 2, 17999};
  track_->rows.assign(1, std::vector<std::uint16_t>(21, 0));
  window_->OpenFiles({plain});
  EXPECT_EQ(track_->decoded, 17999);
  EXPECT_EQ(window_->PanelInput().notice, "");
  EXPECT_TRUE(boxes_.Requests().empty());
}

TEST_F(MainWindowTest, VolumeSliderKeysAndMute) {
  MakeWindow();
  OpenRecordings();
  QSlider* volume = window_->Slider(kIdVolumeSlider);
  volume->setSliderPosition(0);
  window_->OnHScroll(kIdVolumeSlider, 5);
  EXPECT_TRUE(window_->IsChecked(kIdMute));
  EXPECT_EQ(player_->volumes.back(), 0u);
  volume->setSliderPosition(30);
  window_->OnHScroll(kIdVolumeSlider, 4);
  EXPECT_FALSE(window_->IsChecked(kIdMute));
  EXPECT_EQ(player_->volumes.back(), 0x4CCC4CCCu);
  // The mute box silences and restores the slider's level.
  window_->SetChecked(kIdMute, true);
  window_->OnCommand(kIdMute);
  EXPECT_EQ(window_->OutputVolume(), 0u);
  window_->SetChecked(kIdMute, false);
  window_->OnCommand(kIdMute);
  EXPECT_EQ(window_->OutputVolume(), 0x4CCC4CCCu);
  // Opening a recording sets the level the slider shows, not half.
  window_->OnCommand(kIdNext);
  EXPECT_EQ(volume->value(), 30);
  EXPECT_EQ(player_->volumes.back(), 0x4CCC4CCCu);
  // Keys: M mutes, Up unmutes and adds 5, Down to 0 mutes.
  window_->OnKey(Qt::Key_M, 0);
  EXPECT_TRUE(window_->IsChecked(kIdMute));
  window_->OnKey(Qt::Key_Up, 0);
  EXPECT_EQ(volume->value(), 35);
  EXPECT_FALSE(window_->IsChecked(kIdMute));
  EXPECT_EQ(player_->volumes.back(), 0x59995999u);
  for (int i = 0; i < 8; ++i) window_->OnKey(Qt::Key_Down, 0);
  EXPECT_EQ(volume->value(), 0);
  EXPECT_TRUE(window_->IsChecked(kIdMute));
}

TEST_F(MainWindowTest, PanesFollowTheChannelsAndThePaneButtons) {
  MakeWindow();
  window_->show();
  player_->defaults.channels = 1;
  OpenRecordings();
  EXPECT_EQ(window_->FrontPlacement(), kPaneLarge);
  EXPECT_EQ(window_->RearPlacement(), kPaneHidden);
  EXPECT_FALSE(window_->RearPane()->isVisible());
  for (int id : {kIdChangeScreen, kIdMapSize}) {  // need a rear pane
    window_->OnCommand(id);
    EXPECT_EQ(window_->FrontPlacement(), kPaneLarge) << id;
    EXPECT_EQ(window_->MapState(), 4) << id;
  }
  player_->defaults.channels = 2;
  window_->OnCommand(kIdNext);
  EXPECT_EQ(window_->RearPlacement(), kPaneSmall);
  EXPECT_TRUE(window_->RearPane()->isVisible());
  EXPECT_EQ(window_->RearPane()->parentWidget()->geometry(), QRect(684, 37, 320, 240));
  window_->OnCommand(kIdFrontRearSwitch);
  EXPECT_EQ(window_->FrontPlacement(), kPaneSmall);
  EXPECT_EQ(window_->RearPane()->parentWidget()->geometry(), QRect(16, 37, 640, 360));
  window_->OnCommand(kIdFrontRearSwitch);
  // The layout check boxes act as a pair: map state 4 -> 2 empties the small
  // pane, 2 -> 0 brings the rear back.
  window_->OnCommand(kIdLayoutMapCheck);
  EXPECT_TRUE(window_->IsChecked(kIdLayoutMapCheck));
  EXPECT_FALSE(window_->IsChecked(kIdLayoutVideoCheck));
  EXPECT_EQ(window_->MapState(), 2);
  EXPECT_EQ(window_->RearPlacement(), kPaneHidden);
  window_->OnCommand(kIdLayoutVideoCheck);
  EXPECT_FALSE(window_->IsChecked(kIdLayoutMapCheck));
  EXPECT_EQ(window_->MapState(), 0);
  EXPECT_EQ(window_->RearPlacement(), kPaneSmall);
}

// The visible controls are exactly the placed ones of the mode, at their places.
void ExpectControlsAtTheirPlaces(CSamplePlayerDlg& window) {
  const bool enlarged = window.WindowMode() == kModeEnlarged;
  std::set<int> placed;
  for (const PlacedControl& control :
       ControlPlaces::All(window.WindowMode(), enlarged ? window.width() : 1020,
                          enlarged ? window.height() : 760)) {
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
    const CSkinButton* button = window.Button(id);
    EXPECT_TRUE(!button || button->isVisible() == (placed.count(id) == 1)) << id;
  }
}

TEST_F(MainWindowTest, FullScreenAndBackKeepControlsAtTheirPlaces) {
  MakeWindow();
  window_->show();
  OpenRecordings();
  EXPECT_EQ(window_->size(), QSize(1020, 760));
  ExpectControlsAtTheirPlaces(*window_);
  const QRect before = window_->geometry();
  window_->OnCommand(kIdFullScreen);
  ASSERT_EQ(window_->WindowMode(), kModeEnlarged);
  ExpectControlsAtTheirPlaces(*window_);
  EXPECT_FALSE(window_->MapWidget()->isVisible());
  EXPECT_FALSE(window_->List()->IsListVisible());
  for (int id : {kIdFullScreen, kIdPreviousSize}) {  // both lead back
    if (id == kIdPreviousSize) window_->OnCommand(kIdFullScreen);
    window_->OnCommand(id);
    EXPECT_EQ(window_->WindowMode(), kModeNormal);
    EXPECT_EQ(window_->geometry(), before);
    EXPECT_TRUE(window_->List()->IsListVisible());
    EXPECT_TRUE(window_->MapWidget()->isVisible());
    ExpectControlsAtTheirPlaces(*window_);
  }
}

TEST_F(MainWindowTest, SeekBarStripSliderAndSpeed) {
  MakeWindow();
  OpenRecordings();
  window_->show();
  auto* seek = static_cast<CBitSlider*>(window_->Slider(kIdSeekSlider));

  // A click at 80 % of the bar: 429 of 537 pixels of 60 s.
  test::Click(seek, {429, 10});
  EXPECT_EQ(player_->seeks.back(), 47932);
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
  test::Press(seek, {thumb, 10});
  test::DragTo(seek, {100, 10});
  test::DragTo(seek, {200, 10});
  test::Release(seek, {200, 10});
  const int released = seek->GetPos();
  EXPECT_EQ(player_->seeks.size(), asked);
  EXPECT_TRUE(window_->SeekBusy());
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(seek->GetPos(), released);  // no snap back to the player's old place
  player_->seeking = 0;
  ASSERT_TRUE(test::RunUntil([&] { return !window_->SeekBusy(); }, 2000));
  ASSERT_EQ(player_->seeks.size(), asked + 1);
  EXPECT_EQ(player_->seeks.back(), released);
  // The progress strip and the slider's thumb and end-of-tracking codes seek.
  EXPECT_TRUE(window_->OnLButtonDown(373, 430));  // 268 of 537 pixels
  EXPECT_EQ(player_->seeks.back(), 29944);
  EXPECT_FALSE(window_->OnLButtonDown(700, 430));
  for (int code : {5, 3}) {
    seek->setSliderPosition(30000 + code);
    window_->OnHScroll(kIdSeekSlider, code);
    EXPECT_EQ(player_->seeks.back(), 30000 + code);
  }
  const auto seeks = player_->seeks.size();
  window_->OnHScroll(kIdSeekSlider, 8);
  EXPECT_EQ(player_->seeks.size(), seeks);
  // Speed toggles 1x / 2x only while playing.
  for (float speed : {2.0f, 1.0f}) {
    window_->OnCommand(kIdSpeed);
    EXPECT_FLOAT_EQ(player_->speeds.back(), speed);
  }
  window_->OnCommand(kIdPlay);
  window_->OnCommand(kIdSpeed);
  EXPECT_EQ(window_->SpeedMultiplier(), 1);
}

TEST_F(MainWindowTest, PanelIndicatorAndGraphModeFollowThePlayingRecording) {
  MakeWindow();
  std::vector<std::uint16_t> row = {72, 0, 0, 0, 1, 1};  // speed 72, both groups on
  row.resize(21);
  track_->rows.assign(100, row);
  OpenRecordings();
  // The panel is drawn in the window: the strip's grid line, the play cursor
  // of position 0.
  const QImage image = window_->GrabClient();
  EXPECT_EQ(image.pixel(600, 659), qRgb(28, 77, 91));
  EXPECT_EQ(image.pixel(255, 600), qRgb(255, 169, 9));
  player_->position = 30000;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(window_->LastSmartFrame().bitmap, 451);
  EXPECT_EQ(window_->LastSmartFrame().speedText, " 72");
  EXPECT_EQ(window_->PanelInput().label, "20240101_120200_N1.avi");
  EXPECT_EQ(window_->PanelInput().duration, 60000);
  // The graph mode button cycles 0, 1, 2 with its look; opening resets it.
  const int skins[] = {kBmpGMode0, kBmpGMode1, kBmpGMode2};
  for (int mode : {1, 2, 0, 1}) {
    window_->OnCommand(kIdGraphMode);
    EXPECT_EQ(window_->GraphMode(), mode);
    EXPECT_EQ(window_->Button(kIdGraphMode)->SkinBase(), skins[mode]);
  }
  window_->OnCommand(kIdNext);
  EXPECT_EQ(window_->Button(kIdGraphMode)->SkinBase(), kBmpGMode0);
}

TEST_F(MainWindowTest, GraphWindowsAndMapFollowPlayback) {
  MakeWindow();
  OpenRecordings(2);
  window_->OnCommand(kIdGraph);
  CGraphDlg* graph = window_->GraphDialog();
  ASSERT_NE(graph, nullptr);
  EXPECT_TRUE(graph->isModal());
  EXPECT_TRUE(window_->IsTimerRunning(kTimerUpdate));
  // The next recording opened behind it redraws it for its own duration.
  player_->defaults.duration = 20000;
  window_->PostEndOfRecording();
  QApplication::processEvents();
  window_->OnTimer(kTimerUpdate);
  ASSERT_EQ(window_->GraphDialog(), graph);
  EXPECT_EQ(graph->Duration(), 20000);
  graph->reject();
  EXPECT_EQ(window_->GraphDialog(), nullptr);
  // The acceleration graph is made once, follows the position, hides on Stop.
  window_->OnCommand(kIdAccelGraph);
  CGSensorDlg* accel = window_->GSensorDialog();
  ASSERT_NE(accel, nullptr);
  EXPECT_FALSE(accel->isModal());
  player_->position = 12000;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(accel->Position(), 12000);
  window_->OnCommand(kIdStop);
  EXPECT_FALSE(accel->isVisible());
  window_->OnCommand(kIdAccelGraph);
  EXPECT_EQ(window_->GSensorDialog(), accel);
  EXPECT_TRUE(accel->isVisible());
  // A hidden map or a paused player gets no marker calls.
  window_->OnCommand(kIdPlay);
  window_->OnCommand(kIdMapToggle);
  EXPECT_FALSE(window_->MapShown());
  EXPECT_EQ(window_->MapWidget()->pos(), QPoint(5000, 5000));
  const std::size_t marks = map_->marks.size();
  player_->position = 6000;
  window_->OnTimer(kTimerUpdate);
  player_->Pause();
  player_->position = 7000;
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(map_->marks.size(), marks);
  window_->OnCommand(kIdMapToggle);
  EXPECT_EQ(window_->MapWidget()->geometry(), QRect(680, 354, 326, 353));
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(map_->marks.size(), marks + 1);
  EXPECT_EQ(map_->marks.back(), 7000);
}

TEST_F(MainWindowTest, KeysReachTheirCommandsFromBothWindowsButNotFromTextFields) {
  MakeWindow();
  std::vector<int> commands;
  window_->SetCommandObserver([&commands](int id) { commands.push_back(id); });
  QWidget* listWindow = window_->findChild<QDialog*>(QStringLiteral("CListDlg"));
  ASSERT_NE(listWindow, nullptr);

  for (const KeyBinding& b : window_->Keys().Bindings()) {
    if (b.key == Qt::Key_F1 || b.key == Qt::Key_G || b.key == Qt::Key_S || b.key == Qt::Key_E) {
      continue;  // they open windows
    }
    for (QWidget* target : {static_cast<QWidget*>(window_.get()), listWindow}) {
      commands.clear();
      test::Key(target, b.key);
      EXPECT_EQ(commands, std::vector<int>{b.videoCommand}) << b.key;
    }
  }
  auto* field = new QLineEdit(window_.get());
  window_->show();
  QApplication::setActiveWindow(window_.get());
  field->setFocus();
  commands.clear();
  test::Key(field, Qt::Key_Space);
  EXPECT_TRUE(commands.empty());
}

TEST_F(MainWindowTest, PictureStepAndZoomKeysAskThePlayer) {
  MakeWindow();
  OpenRecordings(1);
  window_->OnKey(Qt::Key_Period, 0);  // pauses first
  EXPECT_EQ(player_->state, kStatePaused);
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Play"));
  EXPECT_EQ(player_->calls.back(), "Step1");
  window_->OnKey(Qt::Key_Comma, 0);
  EXPECT_EQ(player_->calls.back(), "Step-1");
  // Home while paused rests on the first picture instead of moving on.
  window_->OnKey(Qt::Key_Home, 0);
  EXPECT_EQ(player_->seeks.back(), 0);
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(player_->opened.size(), 1u);
  EXPECT_EQ(player_->state, kStatePaused);
  // Zoom acts on the pane shown large.
  window_->OnKey(Qt::Key_Plus, 0);
  EXPECT_EQ(player_->calls.back(), "ZoomIn0");
  window_->OnCommand(kIdChangeScreen);
  window_->OnKey(Qt::Key_Minus, 0);
  EXPECT_EQ(player_->calls.back(), "ZoomOut1");
}

TEST_F(MainWindowTest, KeyListAboutBoxAndDrops) {
  MakeWindow();
  window_->ApplyLanguage(9);  // Korean
  window_->OnKey(Qt::Key_F1, 0);
  QWidget* keys = window_->KeyListWindow();
  ASSERT_NE(keys, nullptr);
  EXPECT_EQ(keys->windowTitle(), QString::fromUtf8("키 조작"));
  QStringList texts;
  for (auto* label : keys->findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("F, F11")));
  EXPECT_TRUE(texts.contains(QString::fromUtf8("클립 내보내기")));
  EXPECT_EQ(texts.size(), 2 * 23 + 1);
  // The wrapped DIT note at the bottom is shown whole.
  const QLabel* note = keys->findChildren<QLabel*>().back();
  EXPECT_GE(keys->height(), note->geometry().top() + note->heightForWidth(note->width()));

  window_->ApplyLanguage(1);
  window_->show();
  window_->OnCommand(kIdInfo);
  auto* about = window_->findChild<QDialog*>(QStringLiteral("CAboutSoftwareDlg"));
  ASSERT_NE(about, nullptr);
  EXPECT_TRUE(about->isModal());
  auto* title = about->findChild<QLabel*>(QStringLiteral("title"));
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->text(), QString::fromUtf8("QX-41α Viewer  v1.0.1"));
  about->accept();

  // A drop opens its recordings and names what it ignores.
  const std::string path = MakeRecording("20240101_130000_N1.avi");
  window_->OnDrop({path, (dir_ / "readme.txt").string()});
  EXPECT_EQ(player_->opened.back(), path);
  EXPECT_TRUE(window_->StatusText().contains(QStringLiteral("readme.txt")));
  EXPECT_TRUE(boxes_.Requests().empty());
}

TEST_F(MainWindowTest, SnapshotSaysWhyItSavesNothing) {
  MakeWindow();
  window_->OnKey(Qt::Key_S, 0);
  EXPECT_EQ(window_->StatusText(), QStringLiteral("No picture to save: no recording is open."));
  // A pictures folder that cannot be made: a clear message, no file.
  const QByteArray home = qgetenv("HOME");
  qputenv("HOME", QByteArray::fromStdString(dir_.path().string()));
  qunsetenv("XDG_CONFIG_HOME");
  dir_.Write("Pictures", "a file, not a folder");
  OpenRecordings(1);
  window_->OnCommand(kIdSnapshot);
  qputenv("HOME", home);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text,
            QStringLiteral("Cannot save the pictures: %1/Pictures/Lumora cannot be written.")
                .arg(QString::fromStdString(dir_.path().string())));
  EXPECT_EQ(test::CountEntries(dir_.path()), 2);
}

TEST_F(MainWindowTest, OtherDrivesChangeNothingAndTheCardsRemovalResets) {
  MakeWindow();
  MakeRecording("20240101_120000_N1.avi");
  MakeRecording("20240101_120100_N1.avi");
  window_->OpenCard(Card());
  ASSERT_EQ(window_->List()->RowCount(), 2);
  player_->position = 5000;
  window_->OnTimer(kTimerUpdate);
  const QString other = QString::fromStdString((dir_ / "other").string());
  window_->OnDriveAdded(other);
  window_->OnDriveRemoved(other);
  EXPECT_EQ(window_->List()->RowCount(), 2);
  EXPECT_EQ(LabelText(kIdPositionLabel), QStringLiteral("00:00:05"));
  window_->OnDriveRemoved(QString::fromStdString(Card() + "/"));  // the card, named as a folder
  EXPECT_EQ(window_->List()->RowCount(), 0);
  EXPECT_TRUE(window_->CardRoot().empty());
}

TEST_F(MainWindowTest, FormatClosesThePlayingRecordingFirstAndReopensTheCard) {
  const std::string fresh = (dir_ / "remounted").string();
  int stateAtFormat = -1;
  int rowsAtFormat = -1;
  adjustParts_ = [&](CSamplePlayerDlg::Parts& parts) {
    parts.drives = std::make_shared<CFixedDriveEnumerator>(
        std::vector<DriveInfo>{{Card(), true, false, "/dev/sdx1", "vfat"}});
    parts.format.size = [](const std::filesystem::path&) {
      return std::optional<double>(7600.0 * 1048576.0);
    };
    parts.format.openFolder = [](const QString&) {};
    parts.format.format = [&](const DriveInfo&) {
      stateAtFormat = player_->state;
      rowsAtFormat = window_->List()->RowCount();
      std::filesystem::create_directories(fresh);
      return FormatResult{FormatStatus::Formatted, fresh, {}};
    };
  };
  MakeWindow();
  MakeRecording("20240101_120000_N1.avi");
  window_->OpenCard(Card());
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
