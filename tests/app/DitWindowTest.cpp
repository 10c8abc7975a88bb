#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/AppIds.h"
#include "app/CSamplePlayerApp.h"
#include "app/CSamplePlayerDlg.h"
#include "app/DitLayout.h"
#include "app/DitWindowHost.h"
#include "app/MainLayout.h"
#include "display/DataPanelRules.h"
#include "display/qt/CStillView.h"
#include "library/CDitFile.h"
#include "library/CDitPanelText.h"
#include "library/CDitPictureList.h"
#include "library/CDitReplay.h"
#include "library/qt/CDitMode.h"
#include "platform/qt/MessageBox.h"
#include "settings/qt/CDITSetupDlg.h"
#include "tests/support/TestCard.h"
#include "tests/support/WindowHarness.h"
#include "tools/mkcard/SampleCard.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
using test::FakeMap;
using test::FakePlayer;
using test::FakeTrack;

const std::string kRestCall = "javascript:DrawCurrent('139.774494', '35.684066')";
const std::string kDeleteOverlay = "javascript:DeleteOverlay()";

using test::RunUntil;

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

// A generated card (two drives, stills of the first) plus one malformed
// drive log, and the main window with a recording map.
class DitWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    cardDir_ = new QTemporaryDir;
    ASSERT_TRUE(cardDir_->isValid());
    cardRoot_ = new std::string(cardDir_->path().toStdString() + "/card");
    std::string error;
    truth_ = new CardTruth;
    ASSERT_TRUE(MakeCard(*cardRoot_, test::SmallCard(), &error, truth_)) << error;
    std::ofstream(*cardRoot_ + "/DIT/GPS/20261206_000000.DIT", std::ios::binary) << std::string(
        "\x7f"
        "ELF\x01\x02 no points here\r\n2026120600000,3541.0,13946.0,5,1\r\n",
        52);
  }
  static void TearDownTestSuite() {
    delete truth_;
    delete cardRoot_;
    delete cardDir_;
  }

  void SetUp() override {
    ASSERT_EQ(truth_->dit_files.size(), 2u);
    test::FakeWindowParts fake;
    player_ = fake.player;
    map_ = fake.map;
    CSamplePlayerDlg::Parts parts = std::move(fake.parts);
    parts.languageProbe = [] { return 9; };
    parts.findCard = [] { return *cardRoot_; };
    window_ = std::make_unique<CSamplePlayerDlg>(std::move(parts));
    window_->OnInitDialog();
    window_->OnCommand(kIdSdOpen);
  }

  fs::path Drive(int i) const { return fs::path(*cardRoot_) / truth_->dit_files[i]; }
  std::vector<DitPoint> Points(int i) const {
    std::vector<DitPoint> points;
    EXPECT_TRUE(CDitFile::Read(Drive(i), &points));
    return points;
  }
  QString Cell(int row, int column) const {
    return window_->Dit()->DriveList()->topLevelItem(row)->text(column);
  }
  std::vector<std::string> ScriptsFrom(std::size_t from) const {
    return {map_->scripts.begin() + static_cast<std::ptrdiff_t>(from), map_->scripts.end()};
  }
  void Enter() {
    ASSERT_TRUE(window_->OnCommand(kIdDit));
    ASSERT_TRUE(window_->InDitMode());
  }

  static QTemporaryDir* cardDir_;
  static std::string* cardRoot_;
  static CardTruth* truth_;
  MessageBoxRecorder boxes_;
  FakePlayer* player_ = nullptr;
  FakeMap* map_ = nullptr;
  std::unique_ptr<CSamplePlayerDlg> window_;
};

QTemporaryDir* DitWindowTest::cardDir_ = nullptr;
std::string* DitWindowTest::cardRoot_ = nullptr;
CardTruth* DitWindowTest::truth_ = nullptr;

TEST_F(DitWindowTest, CardScanReportsTheMalformedLogOnceAndListsTheDrives) {
  int invalid = 0;
  for (const auto& r : boxes_.Requests()) {
    if (r.text.startsWith(QStringLiteral("Invalid DIT Files :\n"))) {
      ++invalid;
      EXPECT_EQ(r.text, QStringLiteral("Invalid DIT Files :\n20261206_000000.DIT\n"));
    }
  }
  EXPECT_EQ(invalid, 1);
  EXPECT_FALSE(window_->Dit()->DriveList()->isVisible());
  Enter();
  QTreeWidget* list = window_->Dit()->DriveList();
  EXPECT_FALSE(list->isHidden());
  EXPECT_EQ(list->geometry(), QRect(16, 37, 640, 360));
  ASSERT_EQ(list->topLevelItemCount(), 2);
  // Distance, moving / total and over-speed time of the card's two drives,
  // worked out from their logs outside the program.
  const char* expected[2][3] = {{"0.62 km", "00:00:59 / 00:00:59", "00:00:15"},
                                {"1.83 km", "00:02:56 / 00:02:59", "00:00:30"}};
  for (int row = 0; row < 2; ++row) {
    EXPECT_EQ(Cell(row, 0).toStdString(), row == 0 ? "0001" : "0002");
    EXPECT_EQ(Cell(row, 1), QStringLiteral("2026-12-05"));
    EXPECT_EQ(Cell(row, 2).toStdString(), expected[row][0]);
    EXPECT_EQ(Cell(row, 3).toStdString(), expected[row][1]);
    EXPECT_EQ(Cell(row, 4).toStdString(), expected[row][2]);
    EXPECT_EQ(Cell(row, 6).toStdString(), Drive(row).string());
  }
  // Video controls give way; DIT ones stay.
  EXPECT_TRUE(window_->Button(kIdNext)->isHidden());
  EXPECT_TRUE(window_->Button(kIdStepForward)->isHidden());
  EXPECT_FALSE(window_->Button(kIdMark)->isHidden());
  EXPECT_TRUE(window_->IsChecked(kIdDit));
  EXPECT_TRUE(window_->IsChecked(kIdMark));
  // The recording's route line is cleared from the map.
  EXPECT_EQ(std::count(map_->scripts.begin(), map_->scripts.end(), "javascript:DrawRoute()"), 1);
  // The marker rests, then moves to the selected drive's first point.
  const DitPoint first = Points(0).front();
  ASSERT_GE(map_->scripts.size(), 2u);
  EXPECT_EQ(map_->scripts[map_->scripts.size() - 2], kRestCall);
  EXPECT_EQ(map_->scripts.back(), CDitReplay::DrawCurrentCall(first.m_dLonDeg, first.m_dLatDeg));
}

TEST_F(DitWindowTest, PlayReplaysTheDriveWithMarkersAndPictures) {
  Enter();
  const std::size_t playerCalls = player_->calls.size();
  const std::vector<DitPoint> points = Points(0);
  ASSERT_GE(points.size(), 60u);
  const std::size_t before = map_->scripts.size();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  EXPECT_TRUE(window_->IsTimerRunning(kTimerDit));
  EXPECT_EQ(window_->DitHost()->TimerPeriod(), 100);
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Pause"));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->maximum(), static_cast<int>(points.size()));
  // All markers first, longitude first, in the drive's order.
  std::vector<std::string> expected = {kDeleteOverlay};
  for (const DitPoint& p : points)
    expected.push_back(CDitReplay::IconMarkerCall(p.m_dLonDeg, p.m_dLatDeg));
  EXPECT_EQ(ScriptsFrom(before), expected);

  // Each tick of timer 1 moves the marker to the next point.
  const std::size_t marks = map_->scripts.size();
  for (int i = 0; i < 5; ++i) window_->OnTimer(kTimerDit);
  std::vector<std::string> moves;
  for (int i = 0; i < 5; ++i)
    moves.push_back(CDitReplay::DrawCurrentCall(points[i].m_dLonDeg, points[i].m_dLatDeg));
  EXPECT_EQ(ScriptsFrom(marks), moves);
  EXPECT_EQ(window_->Dit()->Replay().Index(), 5);
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), 5);
  EXPECT_EQ(window_->Position(), 4);
  EXPECT_EQ(window_->Label(kIdPositionLabel)->text(), QStringLiteral("08:30:04"));
  EXPECT_EQ(window_->Label(kIdDurationLabel)->text().toStdString(),
            CDitPanelText::TimeLine(points.back()));
  EXPECT_EQ(window_->Duration(), static_cast<std::int64_t>(points.size()));

  // The picture of the drive is shown at its time and decoded for real.
  const fs::path shown = window_->DitHost()->ShownPicture();
  ASSERT_FALSE(shown.empty());
  EXPECT_EQ(shown.parent_path().filename(), "20261205_083000");
  const int hourMin = points[0].Hour() * 100 + points[0].Minute();
  EXPECT_LE(std::abs(CDitPictureList::HourSecOfName(shown.filename().string()) - hourMin), 10);
  EXPECT_FALSE(window_->DitPicture()->isHidden());
  EXPECT_FALSE(window_->DitPicture()->Bitmap().Empty());
  EXPECT_EQ(window_->DitPicture()->geometry(), QRect(684, 37, 320, 240));

  // The real timer keeps replaying on its own.
  ASSERT_TRUE(RunUntil([&] { return window_->Dit()->Replay().Index() >= 8; }, 3000));

  // Play pauses, Play resumes.
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_EQ(window_->Dit()->Replay().GetState(), CDitReplay::kPaused);
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Play"));
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  EXPECT_TRUE(window_->IsTimerRunning(kTimerDit));
  // Stop ends the replay, removes the markers and shows the first point.
  const std::size_t beforeStop = map_->scripts.size();
  ASSERT_TRUE(window_->OnCommand(kIdStop));
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_EQ(window_->Dit()->Replay().GetState(), CDitReplay::kStopped);
  EXPECT_EQ(window_->Dit()->Replay().Index(), 0);
  EXPECT_EQ(
      ScriptsFrom(beforeStop),
      (std::vector<std::string>{
          kDeleteOverlay, CDitReplay::DrawCurrentCall(points[0].m_dLonDeg, points[0].m_dLatDeg)}));
  // The video player was never asked to play in DIT mode.
  EXPECT_EQ(std::count(player_->calls.begin() + static_cast<std::ptrdiff_t>(playerCalls),
                       player_->calls.end(), "Play"),
            0);
}

TEST_F(DitWindowTest, ReplayToTheEndStopsAndRewinds) {
  Enter();
  window_->Dit()->ClickDrive(1);
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  const int count = window_->Dit()->Replay().PointCount();
  ASSERT_EQ(count, static_cast<int>(Points(1).size()));
  for (int i = 0; i < count; ++i) window_->OnTimer(kTimerDit);
  EXPECT_EQ(window_->Dit()->Replay().Index(), count);
  window_->OnTimer(kTimerDit);
  EXPECT_EQ(window_->Dit()->Replay().GetState(), CDitReplay::kStopped);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), 0);
  // This drive has no pictures: none was shown.
  EXPECT_TRUE(window_->DitHost()->ShownPicture().empty());
}

TEST_F(DitWindowTest, SpeedCyclesAndRestartsTheTimer) {
  Enter();
  EXPECT_EQ(window_->SpeedMultiplier(), 1);
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  const int periods[] = {50, 25, 12, 100};
  const int multipliers[] = {2, 4, 8, 1};
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(window_->OnCommand(kIdSpeed));
    EXPECT_EQ(window_->SpeedMultiplier(), multipliers[i]);
    EXPECT_EQ(window_->DitHost()->TimerPeriod(), periods[i]);
    EXPECT_TRUE(window_->IsTimerRunning(kTimerDit));
  }
  // Paused: the multiplier changes, the timer stays off.
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  ASSERT_TRUE(window_->OnCommand(kIdSpeed));
  EXPECT_EQ(window_->SpeedMultiplier(), 2);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  EXPECT_EQ(window_->DitHost()->TimerPeriod(), 50);
}

TEST_F(DitWindowTest, MarkTurnsTheRouteMarkersOffAndOn) {
  Enter();
  const std::vector<DitPoint> points = Points(0);
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  std::size_t before = map_->scripts.size();
  ASSERT_TRUE(window_->OnCommand(kIdMark));
  EXPECT_FALSE(window_->IsChecked(kIdMark));
  EXPECT_EQ(ScriptsFrom(before), std::vector<std::string>{kDeleteOverlay});
  before = map_->scripts.size();
  ASSERT_TRUE(window_->OnCommand(kIdMark));
  EXPECT_TRUE(window_->IsChecked(kIdMark));
  std::vector<std::string> expected;
  for (const DitPoint& p : points)
    expected.push_back(CDitReplay::IconMarkerCall(p.m_dLonDeg, p.m_dLatDeg));
  EXPECT_EQ(ScriptsFrom(before), expected);
  // Off, a new replay draws no markers.
  ASSERT_TRUE(window_->OnCommand(kIdMark));
  ASSERT_TRUE(window_->OnCommand(kIdStop));
  before = map_->scripts.size();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  for (const std::string& s : ScriptsFrom(before))
    EXPECT_FALSE(StartsWith(s, "javascript:IconMarker"));
}

TEST_F(DitWindowTest, DitSetupRecomputesTheOverspeedTime) {
  Enter();
  EXPECT_EQ(Cell(0, 4).toStdString(), "00:00:15");
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CDITSetupDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->LimitEdit()->text(), QStringLiteral("60"));
    dialog->LimitEdit()->setText(QStringLiteral("10"));
    dialog->accept();
  });
  ASSERT_TRUE(window_->OnCommand(kIdDitSetup));
  EXPECT_EQ(window_->Dit()->Limit(), 10);
  EXPECT_EQ(Cell(0, 4).toStdString(), "00:00:49");  // over 10 km/h
  // DITSTP stops the replay first.
  EXPECT_EQ(window_->Dit()->Replay().GetState(), CDitReplay::kStopped);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
}

TEST_F(DitWindowTest, LeavingRestoresVideoModeAndBringsEightDownToTwo) {
  Enter();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(window_->OnCommand(kIdSpeed));
  ASSERT_EQ(window_->SpeedMultiplier(), 8);
  const std::size_t before = map_->scripts.size();
  ASSERT_TRUE(window_->OnCommand(kIdDit));
  EXPECT_FALSE(window_->InDitMode());
  EXPECT_EQ(window_->SpeedMultiplier(), 2);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_FALSE(window_->IsChecked(kIdDit));
  EXPECT_TRUE(window_->Dit()->DriveList()->isHidden());
  EXPECT_TRUE(window_->DitPicture()->isHidden());
  EXPECT_FALSE(window_->Button(kIdNext)->isHidden());
  EXPECT_FALSE(window_->Button(kIdStepForward)->isHidden());
  const std::vector<std::string> calls = ScriptsFrom(before);
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], kRestCall);
  EXPECT_EQ(calls.back(), kDeleteOverlay);
  EXPECT_FALSE(window_->Dit()->Replay().HasBuffers());
  // Video mode again: Play goes to the player, timer 1 stays off.
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  EXPECT_EQ(player_->calls.back(), "Play");
  EXPECT_TRUE(window_->IsTimerRunning(kTimerUpdate));
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
}

TEST_F(DitWindowTest, LeavingTakesThePressedLookOffTheMarkerButton) {
  Enter();
  ASSERT_TRUE(window_->IsChecked(kIdMark));  // markers are on in DIT mode
  ASSERT_TRUE(window_->OnCommand(kIdDit));
  // The markers were removed with the route; the button must not say they are on.
  EXPECT_FALSE(window_->IsChecked(kIdMark));
  // Coming back, the button shows the replay's marker state again.
  Enter();
  EXPECT_TRUE(window_->IsChecked(kIdMark));
}

TEST_F(DitWindowTest, LeavingResetsTheTimeLabelsOfTheDrive) {
  Enter();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  for (int i = 0; i < 3; ++i) window_->OnTimer(kTimerDit);
  // The labels show the drive's times of day while it replays.
  ASSERT_NE(window_->Label(kIdPositionLabel)->text(), QStringLiteral("00:00:00"));
  ASSERT_TRUE(window_->OnCommand(kIdDit));
  // Back in video mode with nothing open, they show no time, as after Stop.
  EXPECT_EQ(window_->Label(kIdPositionLabel)->text(), QStringLiteral("00:00:00"));
  EXPECT_EQ(window_->Label(kIdDurationLabel)->text(), QStringLiteral("00:00:00"));
}

TEST_F(DitWindowTest, CommandsOfHiddenVideoControlsDoNothingInDitMode) {
  Enter();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  const int index = window_->CurrentIndex();
  const std::size_t calls = player_->calls.size();
  for (int id : {kIdNext, kIdStepForward, kIdStepBack, kIdFullScreen, kIdChangeScreen, kIdZoomIn,
                 kIdZoomOut, kIdMapSize, kIdLayoutMapCheck})
    EXPECT_TRUE(window_->OnCommand(id)) << id;
  EXPECT_EQ(window_->CurrentIndex(), index);
  EXPECT_EQ(window_->WindowMode(), kModeNormal);
  EXPECT_TRUE(window_->InDitMode());
  EXPECT_EQ(window_->Dit()->Replay().GetState(), CDitReplay::kRunning);
  EXPECT_EQ(player_->calls.size(), calls);
}

TEST_F(DitWindowTest, ProgressStripSeeksTheReplay) {
  Enter();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  const int count = window_->Dit()->Replay().PointCount();
  const LayoutRect strip = MainLayout::ProgressStrip(kModeNormal, window_->height());
  const int x = strip.x + strip.width / 2;
  ASSERT_TRUE(window_->OnLButtonDown(x, strip.y + 5));
  const int target = count * (x - strip.x) / strip.width;
  EXPECT_EQ(window_->Dit()->Replay().Index(), target + 1);
  const DitPoint p = Points(0)[static_cast<std::size_t>(target)];
  EXPECT_EQ(map_->scripts.back(), CDitReplay::DrawCurrentCall(p.m_dLonDeg, p.m_dLatDeg));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), target + 1);
}

TEST_F(DitWindowTest, SeekSliderMovesTheReplayIndex) {
  Enter();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  const std::vector<DitPoint> points = Points(0);
  QSlider* seek = window_->Slider(kIdSeekSlider);
  seek->setSliderPosition(30);
  window_->OnHScroll(kIdSeekSlider, 5);
  EXPECT_EQ(window_->Dit()->Replay().Index(), 31);
  EXPECT_EQ(map_->scripts.back(),
            CDitReplay::DrawCurrentCall(points[30].m_dLonDeg, points[30].m_dLatDeg));
  EXPECT_EQ(window_->Label(kIdPositionLabel)->text().toStdString(),
            CDitPanelText::TimeLine(points[30]));
  // The video player is not asked to seek in DIT mode.
  const std::size_t seeks = player_->seeks.size();
  window_->OnHScroll(kIdSeekSlider, 2);
  EXPECT_EQ(player_->seeks.size(), seeks);
}

TEST_F(DitWindowTest, EnteringHidesTheRecordingListWindow) {
  ASSERT_TRUE(window_->List()->IsListVisible());
  Enter();
  EXPECT_FALSE(window_->List()->IsListVisible());
  // SDOPEN in DIT mode rescans the drives and plays no recording.
  const std::size_t opened = player_->opened.size();
  ASSERT_TRUE(window_->OnCommand(kIdSdOpen));
  EXPECT_EQ(player_->opened.size(), opened);
  EXPECT_EQ(window_->Dit()->DriveList()->topLevelItemCount(), 2);
  EXPECT_FALSE(window_->List()->IsListVisible());
}

TEST_F(DitWindowTest, DriveClicksPreviousAndOpen) {
  Enter();
  const DitPoint second = Points(1).front();
  window_->Dit()->ClickDrive(1);
  EXPECT_EQ(window_->Dit()->SelectedRow(), 1);
  EXPECT_EQ(map_->scripts.back(), CDitReplay::DrawCurrentCall(second.m_dLonDeg, second.m_dLatDeg));
  // Previous selects the row above and replays it.
  ASSERT_TRUE(window_->OnCommand(kIdPrevious));
  EXPECT_EQ(window_->Dit()->SelectedRow(), 0);
  EXPECT_EQ(window_->Dit()->Replay().GetState(), CDitReplay::kRunning);
  EXPECT_EQ(window_->Dit()->Replay().Drive(), Drive(0));
  // Open adds the chosen drive logs and selects the first row.
  QTemporaryDir other;
  const fs::path copy = fs::path(other.path().toStdString()) / "20261207_101010.dit";
  {
    // Five passes over the first drive: well above the 10 KiB an opened file needs.
    std::ifstream in(Drive(0), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream out(copy, std::ios::binary);
    for (int i = 0; i < 5; ++i) out << text;
  }
  ASSERT_GT(fs::file_size(copy), 10u * 1024u);
  window_->Dit()->SetFileAsker([&] { return std::vector<fs::path>{copy}; });
  ASSERT_TRUE(window_->OnCommand(kIdOpen));
  EXPECT_EQ(window_->Dit()->Replay().GetState(), CDitReplay::kStopped);
  ASSERT_EQ(window_->Dit()->DriveList()->topLevelItemCount(), 3);
  EXPECT_EQ(Cell(2, 1), QStringLiteral("2026-12-07"));
  EXPECT_EQ(window_->Dit()->SelectedRow(), 0);
}

TEST_F(DitWindowTest, StopRecentresOnTheSelectedDrive) {
  Enter();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  window_->Dit()->DriveList()->setCurrentItem(window_->Dit()->DriveList()->topLevelItem(1));
  ASSERT_TRUE(window_->OnCommand(kIdStop));
  const DitPoint second = Points(1).front();
  EXPECT_EQ(map_->scripts.back(), CDitReplay::DrawCurrentCall(second.m_dLonDeg, second.m_dLatDeg));
}

TEST_F(DitWindowTest, PullingTheCardEndsTheReplayAndEmptiesTheDriveList) {
  Enter();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  for (int i = 0; i < 3; ++i) window_->OnTimer(kTimerDit);
  ASSERT_FALSE(window_->DitHost()->ShownPicture().empty());
  // Working in the card's folder: no DIT folder is read relative to it.
  const fs::path cwd = fs::current_path();
  fs::current_path(*cardRoot_);
  window_->OnDriveRemoved(QString::fromStdString(*cardRoot_));
  fs::current_path(cwd);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_EQ(window_->Dit()->Replay().GetState(), CDitReplay::kStopped);
  EXPECT_EQ(window_->Dit()->DriveList()->topLevelItemCount(), 0);
  EXPECT_TRUE(window_->DitHost()->ShownPicture().empty());
  // Nothing left to play.
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_TRUE(window_->InDitMode());
}

// The DIT panel: speed curve from x = 260 in green, the axis labels and the
// current point's texts on the panel's grey.
TEST_F(DitWindowTest, PanelShowsTheDriveInsteadOfTheRecording) {
  window_->show();
  Enter();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  for (int i = 0; i < 20; ++i) window_->OnTimer(kTimerDit);
  const DitPanelValues values = window_->DitPanel();
  const DitPoint current = Points(0)[19];
  EXPECT_EQ(values.lines[0], "2026-12-05");
  EXPECT_EQ(values.lines[1], "08:30:19");
  EXPECT_EQ(values.currentSpeedKmh, current.m_nSpeed);
  // The indicator shows the same point's speed as the needle.
  ASSERT_NE(Points(0)[18].m_nSpeed, current.m_nSpeed);
  char speedText[16];
  std::snprintf(speedText, sizeof speedText, "%3d", current.m_nSpeed);
  EXPECT_EQ(window_->LastSmartFrame().speedText, speedText);
  EXPECT_EQ(values.speedsKmh.size(), Points(0).size());

  const QImage image = window_->GrabClient();
  if (const char* keep = std::getenv("LUMORA_DIT_GRAB")) image.save(QString::fromUtf8(keep));
  ASSERT_GE(image.width(), 1020);
  const QColor green(0, 255, 0);
  int greenRight = 0, greenLeft = 0;
  for (int y = 575; y < 660; ++y) {
    for (int x = 216; x < 647; ++x) {
      if (image.pixelColor(x, y) != green) continue;
      (x >= DataPanelRules::kDitCurveLeft ? greenRight : greenLeft)++;
    }
  }
  EXPECT_GT(greenRight, 50);
  EXPECT_EQ(greenLeft, 0);
  // The text lines: white glyphs on (50, 50, 50).
  auto countIn = [&](QRect r, QColor c) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += image.pixelColor(x, y) == c ? 1 : 0;
    return n;
  };
  auto lightIn = [&](QRect r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += image.pixelColor(x, y).lightness() > 200;
    return n;
  };
  const QRect timeLine(500, 490, 100, 20);
  EXPECT_GT(countIn(timeLine, QColor(50, 50, 50)), 300);
  EXPECT_GT(lightIn(timeLine), 30);
  // Axis labels: light text on (12, 12, 12) left of the curve.
  const QRect labels(216, 575, 39, 90);
  EXPECT_GT(countIn(labels, QColor(12, 12, 12)), 300);
  EXPECT_GT(lightIn(labels), 60);

  // Leaving DIT mode brings back the recording's panel: no DIT curve.
  ASSERT_TRUE(window_->OnCommand(kIdDit));
  const QImage video = window_->GrabClient();
  int greenAfter = 0;
  for (int y = 575; y < 660; ++y)
    for (int x = 216; x < 647; ++x) greenAfter += video.pixelColor(x, y) == green ? 1 : 0;
  EXPECT_LT(greenAfter, greenRight / 4);
}

// The viewer runs commands given on its command line (DIT mode for the
// screenshot script).
TEST(ViewerCommandsArgument, ParsesIdsAndRefusesOthers) {
  CSamplePlayerApp::Options options;
  std::string error;
  ASSERT_TRUE(CSamplePlayerApp::ParseArguments({"--card", "/c", "--commands", "8200,1006"},
                                               &options, &error));
  EXPECT_EQ(options.commands, (std::vector<int>{8200, 1006}));
  for (const char* bad : {"", "8200,", ",1006", "DIT", "8200;1006", "-5", "99999999"}) {
    CSamplePlayerApp::Options o;
    EXPECT_FALSE(CSamplePlayerApp::ParseArguments({"--commands", bad}, &o, &error)) << bad;
    EXPECT_NE(error.find("--commands"), std::string::npos);
  }
  CSamplePlayerApp::Options missing;
  EXPECT_FALSE(CSamplePlayerApp::ParseArguments({"--commands"}, &missing, &error));
}

TEST(DitLayoutRules, SpeedBitmapsAndVideoOnlyControls) {
  EXPECT_EQ(DitLayout::SpeedBitmap(1), 912);
  EXPECT_EQ(DitLayout::SpeedBitmap(2), 916);
  EXPECT_EQ(DitLayout::SpeedBitmap(4), 920);
  EXPECT_EQ(DitLayout::SpeedBitmap(8), 924);
  EXPECT_EQ(DitLayout::SpeedBitmap(3), 912);
  const auto& ids = DitLayout::VideoOnlyControls();
  for (int id :
       {kIdPlay, kIdStop, kIdPrevious, kIdSpeed, kIdOpen, kIdDit, kIdMark, kIdDitSetup, kIdSdOpen})
    EXPECT_EQ(std::count(ids.begin(), ids.end(), id), 0) << id;
  EXPECT_FALSE(DitLayout::kDriveList.width == 0);
}

}  // namespace
}  // namespace lumora
