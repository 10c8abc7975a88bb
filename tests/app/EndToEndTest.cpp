// The main window on its real parts and a generated card: the list toggle's
// look, end notices of a former recording, clip export (playing on: tests/faults).
#include <gtest/gtest.h>

#include <QLabel>

#include <unistd.h>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/ExportMarks.h"
#include "app/ViewerParts.h"
#include "library/CClipExportJob.h"
#include "platform/qt/MessageBox.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestCard.h"
#include "tests/support/WindowHarness.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

using test::RunUntil;

class EndToEnd : public ::testing::Test {
 protected:
  // The card, and the window on it (not yet opened).
  std::unique_ptr<CSamplePlayerDlg> MakeWindow(const CardOptions& options) {
    std::string error;
    EXPECT_TRUE(MakeCard(Card(), options, &error)) << error;
    // The web map's browser refuses to start as root with its sandbox on.
    if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    auto window = std::make_unique<CSamplePlayerDlg>(MakeViewerParts(Card()));
    window->OnInitDialog();
    window->show();
    return window;
  }
  std::string Card() const { return (dir_ / "card").string(); }

  test::TempFolder dir_;
  MessageBoxRecorder boxes_;
};

TEST_F(EndToEnd, ListToggleLookAndAFormerRecordingsEndNotice) {
  CardOptions options = test::SmallCard(3);
  options.with_stills = false;
  auto window = MakeWindow(options);
  window->OpenCard(Card());
  ASSERT_GT(window->List()->RowCount(), 2);
  CSkinButton* toggle = window->Button(kIdListToggle);
  const QImage open = toggle->grab().toImage();
  window->OnCommand(kIdListToggle);
  ASSERT_FALSE(window->List()->IsListVisible());
  const QImage closed = toggle->grab().toImage();
  ASSERT_NE(open, closed);
  window->OnCommand(kIdListToggle);
  // Full screen hides the list; the toggle says so, there and back.
  window->OnCommand(kIdFullScreen);
  window->OnCommand(kIdFullScreen);
  EXPECT_EQ(toggle->grab().toImage(), window->List()->IsListVisible() ? open : closed);
  if (!window->List()->IsListVisible()) window->OnCommand(kIdListToggle);
  EXPECT_TRUE(window->List()->IsListVisible());
  EXPECT_EQ(toggle->grab().toImage(), open);

  // The end notice of row 0 served after Next opened row 1 leaves row 1
  // playing; a notice of the recording now open moves on.
  ASSERT_EQ(window->CurrentIndex(), 0);
  window->PostEndOfRecording();
  window->OnCommand(kIdNext);
  ASSERT_EQ(window->CurrentIndex(), 1);
  RunUntil([] { return false; }, 600);
  EXPECT_EQ(window->CurrentIndex(), 1);
  EXPECT_FALSE(window->Stopped());
  window->PostEndOfRecording();
  EXPECT_TRUE(RunUntil([&] { return window->CurrentIndex() == 2; }, 3000));
}

TEST_F(EndToEnd, ExportMarksSpanAndClip) {
  CardOptions options = test::SmallCard(3);
  options.front_height = 90;
  options.channels = 1;  // every recording alike, so that they join
  options.with_stills = false;
  auto window = MakeWindow(options);
  window->OnCommand(kIdSdOpen);
  ASSERT_TRUE(RunUntil([&] { return window->Position() > 0; }, 5000));
  window->OnCommand(kIdExportIn);
  ASSERT_TRUE(window->ExportIn().has_value());
  EXPECT_EQ(*window->ExportIn(), window->Position());
  EXPECT_TRUE(window->ExportMarksWidget()->isVisible());
  EXPECT_FALSE(window->ExportMarksWidget()->Out().has_value());
  const std::int64_t in = *window->ExportIn();
  ASSERT_TRUE(RunUntil([&] { return window->Position() > in; }, 3000));
  window->OnCommand(kIdExportOut);
  // The marks cut inside the playing recording.
  ExportSpan span = window->ExportSpanNow();
  ASSERT_EQ(span.files.size(), 1u);
  EXPECT_EQ(span.fromMs, in);
  EXPECT_EQ(span.toMs, *window->ExportOut());
  EXPECT_GT(span.toMs, span.fromMs);
  // Without marks the default 30 s from the start reach into the recordings
  // that follow on the card.
  CSamplePlayerDlg fresh(MakeViewerParts(Card()));
  fresh.OnInitDialog();
  fresh.OnCommand(kIdSdOpen);
  ASSERT_TRUE(RunUntil([&] { return fresh.Duration() > 0; }, 5000));
  span = fresh.ExportSpanNow();
  EXPECT_GE(span.files.size(), 2u);
  EXPECT_EQ(span.fromMs, 0);
  ClipExportRequest request;
  for (const std::string& f : span.files) request.inputs.emplace_back(f);
  request.fromUs = span.fromMs * 1000;
  request.toUs = span.toMs * 1000;
  request.output = (dir_ / "clip.avi").string();
  boxes_.QueueAnswer(kIdNo);
  fresh.RunExport(request, false, ClipOverlayOptions{});
  EXPECT_TRUE(std::filesystem::exists(request.output));
  ASSERT_FALSE(boxes_.Requests().empty());
  EXPECT_TRUE(boxes_.Requests().back().text.contains(QStringLiteral("clip.avi")));
  EXPECT_EQ(boxes_.Requests().back().buttons, kMbYesNo);
}

}  // namespace
}  // namespace lumora
