// Damaged recordings on a card played through the main window: each plays
// what it holds without a crash or hang, and the window moves on to the next
// recording of the list.

#include <gtest/gtest.h>

#include <QLabel>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>

#include "FaultCard.h"
#include "app/AppIds.h"
#include "platform/qt/MessageBox.h"

namespace lumora::faults {
namespace {

class PlaybackFault : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    card_ = dir_.path().toStdString() + "/card";
    std::filesystem::create_directories(card_ + "/NORMAL");
  }

  // Writes a recording; the newest one is row 0 of the list (newest first).
  std::filesystem::path Write(const RecordingOptions& r) {
    const std::filesystem::path file = card_ / NormalName(r);
    std::string error;
    EXPECT_TRUE(WriteRecording(file, r, &error)) << error;
    return file;
  }

  // A sound recording of `seconds` at 08:00 (row 1, played after row 0).
  void WriteFollower() { follower_ = Write(SmallRecording(2, 8 * 60)); }

  void OpenWindow() {
    window_ = std::make_unique<CSamplePlayerDlg>(RealParts(card_));
    window_->OnInitDialog();
    window_->show();
    window_->OnCommand(kIdSdOpen);
  }

  // Plays row 0 until the window has moved on to row 1 and plays it; returns
  // the furthest position seen while row 0 was current.
  std::int64_t PlayFirstThenNext() {
    std::int64_t furthest = -1;
    bool movedOn = false;
    RunUntil(
        [&] {
          if (window_->CurrentIndex() == 0) {
            furthest = std::max(furthest, window_->Position());
          } else if (window_->CurrentIndex() == 1 && window_->Position() > 0) {
            movedOn = true;
          }
          return movedOn;
        },
        15000);
    for (const MessageBoxRequest& box : boxes_.Requests())
      std::printf("message: %s\n", box.text.toUtf8().constData());
    std::printf("furthest position of row 0: %lld ms\n", static_cast<long long>(furthest));
    EXPECT_TRUE(movedOn) << "the window did not go on to the next recording";
    EXPECT_EQ(window_->List()->RowPath(1), follower_.string());
    return furthest;
  }

  QTemporaryDir dir_;
  std::string card_;
  std::filesystem::path follower_;
  MessageBoxRecorder boxes_;
  std::unique_ptr<CSamplePlayerDlg> window_;
};

class TruncatedRecording : public PlaybackFault, public ::testing::WithParamInterface<int> {};

TEST_P(TruncatedRecording, PlaysWhatItHoldsAndMovesOn) {
  const int percent = GetParam();
  WriteFollower();
  const std::filesystem::path cut = Write(SmallRecording(4, 9 * 60));
  Truncate(cut, percent);
  OpenWindow();
  ASSERT_EQ(window_->List()->RowCount(), 2);
  ASSERT_EQ(window_->List()->RowPath(0), cut.string());
  const std::int64_t furthest = PlayFirstThenNext();
  // The part that is left plays: at least half of what the cut kept (the
  // header and the missing index take a share of the bytes).
  if (percent >= 50) {
    EXPECT_GE(furthest, 4000 * percent / 100 / 2);
  }
  window_->OnCommand(kIdExit);
}

INSTANTIATE_TEST_SUITE_P(Faults, TruncatedRecording, ::testing::Values(10, 50, 90));

TEST_F(PlaybackFault, CorruptVideoStreamPlaysOnAndMovesOn) {
  WriteFollower();
  const std::filesystem::path bad = Write(SmallRecording(3, 9 * 60));
  ASSERT_GT(CorruptVideoChunks(bad, 0, 7), 20);
  OpenWindow();
  ASSERT_EQ(window_->List()->RowCount(), 2);
  const std::int64_t furthest = PlayFirstThenNext();
  EXPECT_GT(furthest, 0);
  window_->OnCommand(kIdExit);
}

TEST_F(PlaybackFault, RecordingWithoutSoundPlaysAndMovesOn) {
  WriteFollower();
  RecordingOptions silent = SmallRecording(3, 9 * 60);
  silent.audio = false;
  Write(silent);
  OpenWindow();
  ASSERT_EQ(window_->List()->RowCount(), 2);
  EXPECT_EQ(window_->Label(kIdDurationLabel)->text(), QStringLiteral("00:00:03"));
  const std::int64_t furthest = PlayFirstThenNext();
  EXPECT_GE(furthest, 1500);
  EXPECT_TRUE(boxes_.Requests().empty());
  window_->OnCommand(kIdExit);
}

TEST_F(PlaybackFault, RearChannelOnlyPlaysInTheLargePaneAndMovesOn) {
  WriteFollower();
  RecordingOptions rear = SmallRecording(3, 9 * 60);
  rear.channels = ChannelLayout::kRearOnly;
  rear.audio = false;
  Write(rear);
  OpenWindow();
  ASSERT_EQ(window_->List()->RowCount(), 2);
  EXPECT_EQ(window_->FrontPlacement(), kPaneLarge);
  EXPECT_EQ(window_->RearPlacement(), kPaneHidden);
  EXPECT_TRUE(window_->FrontPane()->isVisible());
  EXPECT_FALSE(window_->RearPane()->isVisible());
  const std::int64_t furthest = PlayFirstThenNext();
  EXPECT_GE(furthest, 1500);
  window_->OnCommand(kIdExit);
}

}  // namespace
}  // namespace lumora::faults
