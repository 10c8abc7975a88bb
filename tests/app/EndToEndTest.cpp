#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QThread>

#include <filesystem>

#include <unistd.h>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/ListDlgPort.h"
#include "app/ViewerParts.h"
#include "library/qt/CListDlg.h"
#include "platform/qt/MessageBox.h"
#include "tests/support/TestCard.h"
#include "tests/support/WindowHarness.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

using test::RunUntil;

class EndToEnd : public ::testing::Test {
 protected:
  void MakeSampleCard(int channels, int recordings = 2) {
    ASSERT_TRUE(dir_.isValid());
    card_ = dir_.path().toStdString() + "/card";
    CardOptions options = test::SmallCard(recordings);
    options.front_width = 320;
    options.front_height = 180;
    options.channels = channels;
    options.with_stills = false;
    std::string error;
    ASSERT_TRUE(MakeCard(card_, options, &error, &truth_)) << error;
  }
  void MakeWindow() {
    // The web map's browser refuses to start as root with its sandbox on.
    if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    CSamplePlayerDlg::Parts parts = MakeViewerParts(card_);
    window_ = std::make_unique<CSamplePlayerDlg>(std::move(parts));
    window_->OnInitDialog();
    window_->show();
  }

  QTemporaryDir dir_;
  std::string card_;
  CardTruth truth_;
  MessageBoxRecorder boxes_;
  std::unique_ptr<CSamplePlayerDlg> window_;
};

TEST_F(EndToEnd, SdOpenPlaysTheCardRecordingAfterRecording) {
  MakeSampleCard(2);
  MakeWindow();
  window_->OnCommand(kIdSdOpen);
  ASSERT_GT(window_->List()->RowCount(), 1);
  EXPECT_EQ(window_->CardRoot(), card_);
  EXPECT_EQ(window_->CurrentIndex(), 0);
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Pause"));
  EXPECT_TRUE(window_->IsTimerRunning(kTimerUpdate));
  EXPECT_EQ(window_->Label(kIdDurationLabel)->text(), QStringLiteral("00:00:02"));
  // The first recording plays through, then the update opens row 1.
  ASSERT_TRUE(RunUntil([&] { return window_->Position() > 500; }, 8000));
  ASSERT_TRUE(RunUntil([&] { return window_->CurrentIndex() == 1; }, 10000));
  const std::string second = window_->List()->RowPath(1);
  EXPECT_FALSE(second.empty());
  EXPECT_TRUE(boxes_.Requests().empty()) << boxes_.Requests()[0].text.toStdString();
  window_->OnCommand(kIdStop);
  EXPECT_EQ(window_->Label(kIdPositionLabel)->text(), QStringLiteral("00:00:00"));
  EXPECT_EQ(window_->Label(kIdDurationLabel)->text(), QStringLiteral("00:00:00"));
  window_->OnCommand(kIdExit);
}

TEST_F(EndToEnd, StepsPauseAndTheLastRowStops) {
  MakeSampleCard(2);
  MakeWindow();
  window_->OpenCard(card_);
  const int rows = window_->List()->RowCount();
  ASSERT_GT(rows, 1);
  EXPECT_TRUE(window_->FrontPane()->isVisible());
  EXPECT_EQ(window_->RearPane()->isVisible(), window_->RearPlacement() != kPaneHidden);
  window_->OnCommand(kIdPlay);  // pause
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Play"));
  window_->OnCommand(kIdPlay);  // resume
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Pause"));
  // Jump to the last row, then Next on it stops and closes.
  for (int i = 1; i < rows; ++i) window_->OnCommand(kIdNext);
  EXPECT_EQ(window_->CurrentIndex(), rows - 1);
  window_->OnCommand(kIdNext);
  EXPECT_TRUE(window_->Stopped());
  EXPECT_EQ(window_->Label(kIdPositionLabel)->text(), QStringLiteral("00:00:00"));
  // Previous from the first row does nothing.
  window_->OpenCard(card_);
  window_->OnCommand(kIdPrevious);
  EXPECT_EQ(window_->CurrentIndex(), 0);
}

TEST_F(EndToEnd, FrontOnlyCardHidesTheRearPane) {
  MakeSampleCard(1);
  MakeWindow();
  window_->OpenCard(card_);
  ASSERT_GT(window_->List()->RowCount(), 0);
  // Find a row whose recording has one video stream.
  ASSERT_TRUE(
      RunUntil([&] { return window_->Position() > 0 || window_->CurrentIndex() >= 0; }, 3000));
  EXPECT_EQ(window_->RearPlacement(), kPaneHidden);
  EXPECT_FALSE(window_->RearPane()->isVisible());
  EXPECT_TRUE(window_->FrontPane()->isVisible());
}

TEST_F(EndToEnd, NextAndPreviousFollowThePlayingRecordingAfterTheOrderFlips) {
  MakeSampleCard(2, 5);
  MakeWindow();
  window_->OpenCard(card_);
  const int rows = window_->List()->RowCount();
  ASSERT_GT(rows, 3);
  // Play the second row, then flip the list to the other order.
  window_->OnCommand(kIdNext);
  ASSERT_EQ(window_->CurrentIndex(), 1);
  const std::string playing = window_->List()->RowPath(1);
  auto* port = dynamic_cast<ListDlgPort*>(window_->List());
  ASSERT_NE(port, nullptr);
  port->Dialog()->ToggleOrder();
  const int moved = rows - 2;
  ASSERT_EQ(window_->List()->RowPath(moved), playing);
  // The list keeps the playing recording marked, also after the update timer ran.
  EXPECT_EQ(window_->List()->SelectionMark(), moved);
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(port->Dialog()->SelectedRow(), moved);
  // Previous opens the row above the playing recording in the new order...
  const std::string above = window_->List()->RowPath(moved - 1);
  window_->OnCommand(kIdPrevious);
  EXPECT_EQ(window_->CurrentIndex(), moved - 1);
  EXPECT_EQ(window_->List()->RowPath(window_->CurrentIndex()), above);
  // ...and after flipping back, Next opens the row below it.
  port->Dialog()->ToggleOrder();
  const int back = rows - 1 - (moved - 1);
  ASSERT_EQ(window_->List()->RowPath(back), above);
  window_->OnCommand(kIdNext);
  EXPECT_EQ(window_->CurrentIndex(), back + 1);
  EXPECT_EQ(window_->List()->SelectionMark(), back + 1);
}

TEST_F(EndToEnd, ListToggleShowsTheClosedLookAfterFullScreenHidTheList) {
  MakeSampleCard(2);
  MakeWindow();
  window_->OpenCard(card_);
  ASSERT_TRUE(window_->List()->IsListVisible());
  CSkinButton* toggle = window_->Button(kIdListToggle);
  ASSERT_NE(toggle, nullptr);
  const QImage open = toggle->grab().toImage();
  window_->OnCommand(kIdListToggle);
  ASSERT_FALSE(window_->List()->IsListVisible());
  const QImage closed = toggle->grab().toImage();
  ASSERT_NE(open, closed);
  window_->OnCommand(kIdListToggle);
  ASSERT_TRUE(window_->List()->IsListVisible());
  // Full screen hides the list; the toggle must say so, there and back.
  window_->OnCommand(kIdFullScreen);
  EXPECT_FALSE(window_->List()->IsListVisible());
  window_->OnCommand(kIdFullScreen);
  EXPECT_EQ(window_->WindowMode(), kModeNormal);
  EXPECT_EQ(toggle->grab().toImage(), window_->List()->IsListVisible() ? open : closed);
  // One press of the toggle then shows the list again.
  if (!window_->List()->IsListVisible()) window_->OnCommand(kIdListToggle);
  EXPECT_TRUE(window_->List()->IsListVisible());
  EXPECT_EQ(toggle->grab().toImage(), open);
}

TEST_F(EndToEnd, AnEndNoticeOfTheFormerRecordingDoesNotStopTheNextOne) {
  MakeSampleCard(2, 3);
  MakeWindow();
  window_->OpenCard(card_);
  ASSERT_GT(window_->List()->RowCount(), 2);
  ASSERT_EQ(window_->CurrentIndex(), 0);
  // The player posts the end of row 0, and Next opens row 1 before the notice
  // is served: the notice belongs to row 0 and must leave row 1 playing.
  window_->PostEndOfRecording();
  window_->OnCommand(kIdNext);
  ASSERT_EQ(window_->CurrentIndex(), 1);
  RunUntil([] { return false; }, 600);
  EXPECT_EQ(window_->CurrentIndex(), 1);
  EXPECT_FALSE(window_->Stopped());
  EXPECT_EQ(window_->ButtonText(kIdPlay), QStringLiteral("Pause"));
  // A notice posted for the recording now open still stops it.
  window_->PostEndOfRecording();
  EXPECT_TRUE(RunUntil([&] { return window_->CurrentIndex() == 2; }, 3000));
}

}  // namespace
}  // namespace lumora
