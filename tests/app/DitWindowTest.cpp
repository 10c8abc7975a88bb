// DIT mode in the main window on a generated card: the commands reaching the
// replay, what the window shows around it, leaving (the replay is in tests/dit).
#include <QApplication>
#include <QLineEdit>
#include <QSlider>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>
#include <fstream>

#include "app/DitWindowHost.h"
#include "display/qt/CStillView.h"
#include "library/CDitFile.h"
#include "library/CDitReplay.h"
#include "library/qt/CDitMode.h"
#include "settings/qt/CDITSetupDlg.h"
#include "tests/app/WindowTest.h"
#include "tests/support/TestCard.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
using test::kRestCall;

const std::string kDeleteOverlay = "javascript:DeleteOverlay()";

std::string Call(const char* function, const DitPoint& p) {
  char text[128];
  std::snprintf(text, sizeof text, "javascript:%s('%f', '%f')", function, p.m_dLonDeg, p.m_dLatDeg);
  return text;
}

class DitWindowTest : public test::WindowTest {
 protected:
  static void SetUpTestSuite() {
    card_ = new test::TempFolder;
    truth_ = new CardTruth;
    std::string error;
    ASSERT_TRUE(MakeCard(Root(), test::SmallCard(), &error, truth_)) << error;
    card_->Write("card/DIT/GPS/20261206_000000.DIT",
                 std::string("\x7f"
                             "ELF\x01\x02 no points here\r\n2026120600000,3541.0,13946.0,5,1\r\n",
                             52));
  }
  static void TearDownTestSuite() {
    delete truth_;
    delete card_;
  }
  static std::string Root() { return (*card_ / "card").string(); }

  void SetUp() override {
    ASSERT_EQ(truth_->dit_files.size(), 2u);
    adjustParts_ = [](CSamplePlayerDlg::Parts& parts) { parts.findCard = [] { return Root(); }; };
    MakeWindow(9);
    window_->OnCommand(kIdSdOpen);
  }

  fs::path Drive(int i) const { return fs::path(Root()) / truth_->dit_files[i]; }
  std::vector<DitPoint> Points(int i) const {
    std::vector<DitPoint> points;
    EXPECT_TRUE(CDitFile::Read(Drive(i), &points));
    return points;
  }
  QTreeWidget* Drives() const { return window_->Dit()->DriveList(); }
  std::vector<std::string> ScriptsFrom(std::size_t from) const {
    return {map_->scripts.begin() + static_cast<std::ptrdiff_t>(from), map_->scripts.end()};
  }
  const CDitReplay& Replay() const { return window_->Dit()->Replay(); }
  void EnterAndPlay(bool play = true) {
    ASSERT_TRUE(window_->OnCommand(kIdDit));
    ASSERT_TRUE(window_->InDitMode());
    if (play) {
      ASSERT_TRUE(window_->OnCommand(kIdPlay));
    }
  }

  static test::TempFolder* card_;
  static CardTruth* truth_;
};

test::TempFolder* DitWindowTest::card_ = nullptr;
CardTruth* DitWindowTest::truth_ = nullptr;

TEST_F(DitWindowTest, EnteringShowsTheDrivesInPlaceOfTheVideo) {
  // The card's scan reported the malformed log once.
  int invalid = 0;
  for (const auto& r : boxes_.Requests())
    invalid += r.text == QStringLiteral("Invalid DIT Files :\n20261206_000000.DIT\n");
  EXPECT_EQ(invalid, 1);
  EXPECT_FALSE(Drives()->isVisible());
  ASSERT_TRUE(window_->List()->IsListVisible());
  EnterAndPlay(false);
  EXPECT_FALSE(Drives()->isHidden());
  EXPECT_EQ(Drives()->geometry(), QRect(16, 37, 640, 360));
  ASSERT_EQ(Drives()->topLevelItemCount(), 2);
  EXPECT_EQ(Drives()->topLevelItem(1)->text(2), QStringLiteral("1.83 km"));
  EXPECT_FALSE(window_->List()->IsListVisible());
  EXPECT_TRUE(window_->Button(kIdNext)->isHidden());
  EXPECT_TRUE(window_->Button(kIdStepForward)->isHidden());
  EXPECT_TRUE(window_->IsChecked(kIdDit));
  EXPECT_TRUE(window_->IsChecked(kIdMark));
  // The recording's route is cleared; the marker rests, then moves to the
  // selected drive's first point.
  EXPECT_EQ(std::count(map_->scripts.begin(), map_->scripts.end(), "javascript:DrawRoute()"), 1);
  ASSERT_GE(map_->scripts.size(), 2u);
  EXPECT_EQ(map_->scripts[map_->scripts.size() - 2], kRestCall);
  EXPECT_EQ(map_->scripts.back(), Call("DrawCurrent", Points(0).front()));
  // SDOPEN rescans the drives and plays no recording.
  const std::size_t opened = player_->opened.size();
  ASSERT_TRUE(window_->OnCommand(kIdSdOpen));
  EXPECT_EQ(player_->opened.size(), opened);
  EXPECT_EQ(Drives()->topLevelItemCount(), 2);
  EXPECT_FALSE(window_->List()->IsListVisible());
}

TEST_F(DitWindowTest, PlayReplaysTheDriveWithMarkersPicturesAndTimes) {
  const std::vector<DitPoint> points = Points(0);
  ASSERT_GE(points.size(), 60u);
  ASSERT_TRUE(window_->OnCommand(kIdDit));
  const std::size_t before = map_->scripts.size();
  const std::size_t calls = player_->calls.size();
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  EXPECT_TRUE(window_->IsTimerRunning(kTimerDit));
  EXPECT_EQ(window_->DitHost()->TimerPeriod(), 100);
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Pause"));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->maximum(), static_cast<int>(points.size()));
  // The route markers, one per point, then each tick of timer 1 moves the
  // marker to the next point.
  EXPECT_EQ(map_->scripts.size(), before + 1 + points.size());
  EXPECT_EQ(map_->scripts.back(), Call("IconMarker", points.back()));
  for (int i = 0; i < 5; ++i) window_->OnTimer(kTimerDit);
  EXPECT_EQ(map_->scripts.back(), Call("DrawCurrent", points[4]));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), 5);
  EXPECT_EQ(window_->Label(kIdPositionLabel)->text(), QStringLiteral("08:30:04"));
  EXPECT_EQ(window_->Label(kIdDurationLabel)->text(), QStringLiteral("08:30:59"));
  // The drive's picture of that time, decoded, in the small pane.
  const fs::path shown = window_->DitHost()->ShownPicture();
  EXPECT_EQ(shown.parent_path().filename(), "20261205_083000");
  EXPECT_FALSE(window_->DitPicture()->isHidden());
  EXPECT_FALSE(window_->DitPicture()->Bitmap().Empty());
  EXPECT_EQ(window_->DitPicture()->geometry(), QRect(684, 37, 320, 240));
  // The panel and the indicator show the same point's speed.
  for (int i = 5; i < 20; ++i) window_->OnTimer(kTimerDit);
  EXPECT_EQ(window_->DitPanel().lines[1], "08:30:19");
  EXPECT_EQ(window_->DitPanel().currentSpeedKmh, points[19].m_nSpeed);
  EXPECT_EQ(std::stoi(window_->LastSmartFrame().speedText), points[19].m_nSpeed);
  // The real timer keeps replaying on its own.
  ASSERT_TRUE(test::RunUntil([&] { return Replay().Index() >= 23; }, 3000));
  // Play pauses; Stop ends the replay and shows the first point.
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Play"));
  const std::size_t beforeStop = map_->scripts.size();
  ASSERT_TRUE(window_->OnCommand(kIdStop));
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_EQ(Replay().Index(), 0);
  EXPECT_EQ(ScriptsFrom(beforeStop),
            (std::vector<std::string>{kDeleteOverlay, Call("DrawCurrent", points[0])}));
  EXPECT_EQ(player_->calls.size(), calls);  // the video player was never asked
}

TEST_F(DitWindowTest, SpeedMarkAndSetupCommands) {
  EnterAndPlay();
  for (auto [multiplier, period] : {std::pair{2, 50}, {4, 25}, {8, 12}, {1, 100}}) {
    ASSERT_TRUE(window_->OnCommand(kIdSpeed));
    EXPECT_EQ(window_->SpeedMultiplier(), multiplier);
    EXPECT_EQ(window_->DitHost()->TimerPeriod(), period);
    EXPECT_TRUE(window_->IsTimerRunning(kTimerDit));
  }
  // Marks off removes the route markers, on draws them again.
  ASSERT_TRUE(window_->OnCommand(kIdMark));
  EXPECT_FALSE(window_->IsChecked(kIdMark));
  EXPECT_EQ(map_->scripts.back(), kDeleteOverlay);
  ASSERT_TRUE(window_->OnCommand(kIdMark));
  EXPECT_EQ(map_->scripts.back(), Call("IconMarker", Points(0).back()));
  // DITSTP stops the replay and counts the over-speed time anew.
  EXPECT_EQ(Drives()->topLevelItem(0)->text(4), QStringLiteral("00:00:15"));
  QTimer::singleShot(0, [] {
    auto* dialog = qobject_cast<CDITSetupDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->LimitEdit()->text(), QStringLiteral("60"));
    dialog->LimitEdit()->setText(QStringLiteral("10"));
    dialog->accept();
  });
  ASSERT_TRUE(window_->OnCommand(kIdDitSetup));
  EXPECT_EQ(window_->Dit()->Limit(), 10);
  EXPECT_EQ(Drives()->topLevelItem(0)->text(4), QStringLiteral("00:00:49"));
  EXPECT_EQ(Replay().GetState(), CDitReplay::kStopped);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
}

TEST_F(DitWindowTest, HiddenVideoCommandsDoNothingAndTheSeekControlsMoveTheReplay) {
  EnterAndPlay();
  const std::size_t calls = player_->calls.size();
  for (int id : {kIdNext, kIdStepForward, kIdStepBack, kIdFullScreen, kIdChangeScreen, kIdZoomIn,
                 kIdZoomOut, kIdMapSize, kIdLayoutMapCheck})
    EXPECT_TRUE(window_->OnCommand(id)) << id;
  EXPECT_EQ(window_->WindowMode(), kModeNormal);
  EXPECT_TRUE(window_->InDitMode());
  EXPECT_EQ(Replay().GetState(), CDitReplay::kRunning);
  EXPECT_EQ(player_->calls.size(), calls);
  // The progress strip: a click half-way picks the point half-way.
  const std::vector<DitPoint> points = Points(0);
  const int count = static_cast<int>(points.size());
  ASSERT_TRUE(window_->OnLButtonDown(105 + 268, 420));
  const int target = count * 268 / 537;
  EXPECT_EQ(Replay().Index(), target + 1);
  EXPECT_EQ(map_->scripts.back(), Call("DrawCurrent", points[static_cast<std::size_t>(target)]));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), target + 1);
  // The seek slider moves the index; the player is not asked to seek.
  window_->Slider(kIdSeekSlider)->setSliderPosition(30);
  const std::size_t seeks = player_->seeks.size();
  window_->OnHScroll(kIdSeekSlider, 5);
  EXPECT_EQ(Replay().Index(), 31);
  EXPECT_EQ(map_->scripts.back(), Call("DrawCurrent", points[30]));
  EXPECT_EQ(window_->Label(kIdPositionLabel)->text(), QStringLiteral("08:30:30"));
  EXPECT_EQ(player_->seeks.size(), seeks);
}

TEST_F(DitWindowTest, DriveClicksReplayToTheEndPreviousAndOpen) {
  EnterAndPlay(false);
  window_->Dit()->ClickDrive(1);
  EXPECT_EQ(window_->Dit()->SelectedRow(), 1);
  EXPECT_EQ(map_->scripts.back(), Call("DrawCurrent", Points(1).front()));
  // Played to the end, the replay stops and rewinds; this drive has no pictures.
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  const std::size_t count = Points(1).size();
  for (std::size_t i = 0; i <= count; ++i) window_->OnTimer(kTimerDit);
  EXPECT_EQ(Replay().GetState(), CDitReplay::kStopped);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_EQ(window_->Slider(kIdSeekSlider)->value(), 0);
  EXPECT_TRUE(window_->DitHost()->ShownPicture().empty());
  ASSERT_TRUE(window_->OnCommand(kIdPrevious));  // the row above, replayed
  EXPECT_EQ(window_->Dit()->SelectedRow(), 0);
  EXPECT_EQ(Replay().GetState(), CDitReplay::kRunning);
  EXPECT_EQ(Replay().Drive(), Drive(0));
  // Open adds the chosen logs (five passes of the first drive: over the 10
  // KiB an opened file needs) and selects the first row.
  test::TempFolder other;
  const std::string text = test::ReadFile(Drive(0));
  const fs::path copy = other.Write("20261207_101010.dit", text + text + text + text + text);
  window_->Dit()->SetFileAsker([&] { return std::vector<fs::path>{copy}; });
  ASSERT_TRUE(window_->OnCommand(kIdOpen));
  EXPECT_EQ(Replay().GetState(), CDitReplay::kStopped);
  ASSERT_EQ(Drives()->topLevelItemCount(), 3);
  EXPECT_EQ(Drives()->topLevelItem(2)->text(1), QStringLiteral("2026-12-07"));
  EXPECT_EQ(window_->Dit()->SelectedRow(), 0);
}

TEST_F(DitWindowTest, LeavingRestoresVideoMode) {
  EnterAndPlay();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(window_->OnCommand(kIdSpeed));
  for (int i = 0; i < 3; ++i) window_->OnTimer(kTimerDit);
  ASSERT_EQ(window_->SpeedMultiplier(), 8);
  const std::size_t before = map_->scripts.size();
  ASSERT_TRUE(window_->OnCommand(kIdDit));
  EXPECT_FALSE(window_->InDitMode());
  EXPECT_EQ(window_->SpeedMultiplier(), 2);  // eight comes back as two
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_FALSE(window_->IsChecked(kIdMark));  // the markers went with the route
  EXPECT_TRUE(Drives()->isHidden());
  EXPECT_TRUE(window_->DitPicture()->isHidden());
  EXPECT_FALSE(window_->Button(kIdNext)->isHidden());
  EXPECT_EQ(window_->Label(kIdPositionLabel)->text(), QStringLiteral("00:00:00"));
  EXPECT_EQ(window_->Label(kIdDurationLabel)->text(), QStringLiteral("00:00:00"));
  const std::vector<std::string> calls = ScriptsFrom(before);
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], kRestCall);
  EXPECT_EQ(calls.back(), kDeleteOverlay);
  // Video mode: Play goes to the player; coming back shows the marks on.
  ASSERT_TRUE(window_->OnCommand(kIdPlay));
  EXPECT_EQ(player_->calls.back(), "Play");
  EXPECT_TRUE(window_->IsTimerRunning(kTimerUpdate));
  EnterAndPlay(false);
  EXPECT_TRUE(window_->IsChecked(kIdMark));
}

TEST_F(DitWindowTest, PullingTheCardEndsTheReplayAndEmptiesTheDriveList) {
  EnterAndPlay();
  for (int i = 0; i < 3; ++i) window_->OnTimer(kTimerDit);
  ASSERT_FALSE(window_->DitHost()->ShownPicture().empty());
  // Working in the card's folder: no DIT folder is read relative to it.
  const fs::path cwd = fs::current_path();
  fs::current_path(Root());
  window_->OnDriveRemoved(QString::fromStdString(Root()));
  fs::current_path(cwd);
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_EQ(Replay().GetState(), CDitReplay::kStopped);
  EXPECT_EQ(Drives()->topLevelItemCount(), 0);
  EXPECT_TRUE(window_->DitHost()->ShownPicture().empty());
  ASSERT_TRUE(window_->OnCommand(kIdPlay));  // nothing left to play
  EXPECT_FALSE(window_->IsTimerRunning(kTimerDit));
  EXPECT_TRUE(window_->InDitMode());
}

}  // namespace
}  // namespace lumora
