// The main window's EXPORT command on a sample card: the button's place and
// tooltip, the in and out marks, the default span over consecutive
// recordings, and an export through the progress dialog to the offer to
// open the clip.

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <filesystem>

#include <unistd.h>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/ExportMarks.h"
#include "app/MainLayout.h"
#include "app/ViewerParts.h"
#include "library/CClipExportJob.h"
#include "platform/qt/MessageBox.h"
#include "tools/mkcard/SampleCard.h"

namespace lumora {
namespace {

TEST(ExportWindow, ButtonSitsClearOfEveryOtherControl) {
  const auto placed = ControlPlaces::All(kModeNormal, 1020, 760);
  const auto mine = std::find_if(placed.begin(), placed.end(),
                                 [](const PlacedControl& c) { return c.id == kIdExport; });
  ASSERT_NE(mine, placed.end());
  const QRect rect(mine->rect.x, mine->rect.y, mine->rect.width, mine->rect.height);
  for (const PlacedControl& c : placed) {
    if (c.id == kIdExport) continue;
    EXPECT_FALSE(rect.intersects(QRect(c.rect.x, c.rect.y, c.rect.width, c.rect.height))) << c.id;
  }
  EXPECT_TRUE(QRect(0, 0, 1020, 760).contains(rect));
}

TEST(ExportWindow, MarksSpanAndExportOfThePlayingRecording) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string card = dir.path().toStdString() + "/card";
  CardOptions options;
  options.seconds = 2;
  options.recordings = 3;
  options.fps = 10;
  options.front_width = 160;
  options.front_height = 90;
  options.rear_width = 96;
  options.rear_height = 54;
  options.channels = 1;  // every recording alike, so that they join
  options.with_mp4 = false;
  options.with_stills = false;
  std::string error;
  ASSERT_TRUE(MakeCard(card, options, &error)) << error;
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  MessageBoxRecorder boxes;
  CSamplePlayerDlg window(MakeViewerParts(card));
  window.OnInitDialog();
  window.show();
  EXPECT_FALSE(window.ToolTipOf(kIdExport).isEmpty());
  window.OnCommand(kIdSdOpen);
  ASSERT_GT(window.List()->RowCount(), 1);
  QElapsedTimer clock;
  clock.start();
  while (window.Duration() <= 0 && clock.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  ASSERT_GT(window.Duration(), 0);
  window.OnCommand(kIdExportIn);
  ASSERT_TRUE(window.ExportIn().has_value());
  EXPECT_EQ(*window.ExportIn(), window.Position());
  EXPECT_TRUE(window.ExportMarksWidget()->isVisible());
  EXPECT_FALSE(window.ExportMarksWidget()->Out().has_value());
  const std::int64_t in = *window.ExportIn();
  clock.restart();
  while (window.Position() <= in && clock.elapsed() < 3000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  window.OnCommand(kIdExportOut);
  ASSERT_TRUE(window.ExportMarksWidget()->Out().has_value());
  // The marks cut inside the playing recording.
  ExportSpan span = window.ExportSpanNow();
  ASSERT_EQ(span.files.size(), 1u);
  EXPECT_EQ(span.fromMs, in);
  EXPECT_EQ(span.toMs, *window.ExportOut());
  EXPECT_GT(span.toMs, span.fromMs);
  // A recording of the list that starts where this one ends is joined when
  // the default 30 s reach past its end.
  CSamplePlayerDlg fresh(MakeViewerParts(card));
  fresh.OnInitDialog();
  fresh.OnCommand(kIdSdOpen);
  clock.restart();
  while (fresh.Duration() <= 0 && clock.elapsed() < 5000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  span = fresh.ExportSpanNow();
  EXPECT_GE(span.files.size(), 2u);
  EXPECT_EQ(span.fromMs, 0);
  ClipExportRequest request;
  for (const std::string& f : span.files) request.inputs.emplace_back(f);
  request.fromUs = span.fromMs * 1000;
  request.toUs = span.toMs * 1000;
  request.output = dir.path().toStdString() + "/clip.avi";
  boxes.QueueAnswer(kIdNo);
  fresh.RunExport(request, false, ClipOverlayOptions{});
  EXPECT_TRUE(std::filesystem::exists(request.output));
  ASSERT_FALSE(boxes.Requests().empty());
  EXPECT_TRUE(boxes.Requests().back().text.contains(QStringLiteral("clip.avi")));
  EXPECT_EQ(boxes.Requests().back().buttons, kMbYesNo);
}

}  // namespace
}  // namespace lumora
