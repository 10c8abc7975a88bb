#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTreeWidget>
#include <QWidget>

#include <algorithm>

#include "library/qt/CDitMode.h"
#include "platform/qt/MessageBox.h"
#include "settings/qt/CDITSetupDlg.h"
#include "tests/dit/DitTestSupport.h"

namespace lumora {
namespace {

using test::DitLine;
using test::TempFolder;
using test::RecordingHost;

QStringList Headers(QTreeWidget* list) {
  QStringList out;
  for (int i = 0; i < list->columnCount(); ++i) out << list->headerItem()->text(i);
  return out;
}

// A card with two drives, an empty, a binary and a huge-line DIT file, and
// the pictures of the first drive.
struct Card {
  Card() {
    std::string a;
    for (int i = 0; i < 30; ++i) a += DitLine(i * 40, 3541.0 + i * 0.05, 13946.0 + i * 0.05, 50 + i);
    first = dir.Write("DIT/GPS/20261205_083000.DIT", a);
    std::string b;
    for (int i = 0; i < 5; ++i) b += DitLine(i, 3541.0, 13946.0, 0);
    second = dir.Write("DIT/GPS/20261205_083100.DIT", b);
    dir.Write("DIT/GPS/20261206_000000.DIT", "");
    dir.Write("DIT/GPS/20261206_000100.DIT", std::string("\x7f" "ELF\0\0\x01\xfe", 8));
    dir.Write("DIT/GPS/20261206_000200.DIT", std::string(3 * 1024 * 1024, 'x'));
    dir.Write("CAPTURE/20261205_083000/20261205_083010.jpg", "jpeg");
    dir.Write("CAPTURE/20261205_083000/20261205_084500.jpg", "jpeg");
  }
  TempFolder dir;
  std::filesystem::path first, second;
};

TEST(DitMode, ListsHaveTheirColumns) {
  QWidget owner;
  RecordingHost host;
  CDitMode mode(&owner, &host);
  EXPECT_EQ(mode.DriveList()->objectName(), "5014");
  EXPECT_EQ(Headers(mode.DriveList()),
            QStringList({"No.", "Recorded Date", "Driving Distance", "Driving Time",
                         "Overspeed Time", "ImgFolderPath", "Path"}));
  EXPECT_EQ(mode.DriveList()->columnWidth(0), 40);
  EXPECT_EQ(mode.DriveList()->columnWidth(3), 160);
  EXPECT_TRUE(mode.DriveList()->isColumnHidden(6));
  EXPECT_EQ(Headers(mode.PointList()), QStringList({"Time", "Min", "Lat", "Lon", "Speed", "TTC"}));
  EXPECT_EQ(Headers(mode.PictureList()), QStringList({"Path", "HourSec"}));
  EXPECT_EQ(Headers(mode.PictureMinuteList()),
            QStringList({"Path", "HourMin", "revd", "revd", "revd", "revd"}));
  EXPECT_EQ(mode.PointList()->objectName(), "5017");
}

TEST(DitMode, ScanListsDrivesAndReportsBadFilesOnce) {
  MessageBoxRecorder boxes;
  Card card;
  QWidget owner;
  RecordingHost host;
  CDitMode mode(&owner, &host);
  mode.ScanCard(card.dir.path());
  ASSERT_EQ(mode.DriveList()->topLevelItemCount(), 2);
  QTreeWidgetItem* row = mode.DriveList()->topLevelItem(0);
  EXPECT_EQ(row->text(0), "0001");
  EXPECT_EQ(row->text(1), "2026-12-05");
  EXPECT_EQ(row->text(3), "00:19:20 / 00:19:20");
  EXPECT_EQ(row->text(6).toStdString(), card.first.string());
  EXPECT_EQ(mode.DriveList()->topLevelItem(1)->text(4), "00:00:00");
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text,
            "Invalid DIT Files :\n20261206_000000.DIT\n20261206_000100.DIT\n20261206_000200.DIT\n");
  EXPECT_EQ(mode.SelectedRow(), 0);
  // A second scan of a clean folder shows nothing.
  boxes.Clear();
  TempFolder clean;
  clean.Write("DIT/GPS/20261205_083000.DIT", DitLine(0, 3541.0, 13946.0, 10));
  mode.ScanCard(clean.path());
  EXPECT_EQ(mode.DriveList()->topLevelItemCount(), 1);
  EXPECT_TRUE(boxes.Requests().empty());
}

TEST(DitMode, EnterReplayAndLeave) {
  MessageBoxRecorder boxes;
  Card card;
  QWidget owner;
  RecordingHost host;
  CDitMode mode(&owner, &host);
  mode.ScanCard(card.dir.path());
  mode.Enter();
  EXPECT_TRUE(mode.InMode());
  EXPECT_FALSE(mode.DriveList()->isHidden());
  EXPECT_EQ(mode.PictureList()->topLevelItemCount(), 2);
  EXPECT_EQ(mode.PictureList()->topLevelItem(1)->text(1), "845");
  mode.DoubleClickDrive(0);
  EXPECT_EQ(mode.Replay().GetState(), CDitReplay::kRunning);
  ASSERT_EQ(mode.PointList()->topLevelItemCount(), 30);
  EXPECT_EQ(mode.PointList()->topLevelItem(1)->text(0), "083040");
  EXPECT_EQ(mode.PointList()->topLevelItem(1)->text(1), "0830");
  EXPECT_EQ(mode.PointList()->topLevelItem(1)->text(4), "51");
  EXPECT_EQ(host.Count("javascript:IconMarker"), 30);
  mode.Speed();
  mode.Speed();
  mode.Speed();
  EXPECT_EQ(host.periods.back(), 12);
  for (int i = 0; i < 31; ++i) mode.OnTimer();
  EXPECT_EQ(mode.Replay().GetState(), CDitReplay::kStopped);
  // 08:45 takes over once 08:30:10 is more than 10 away (point 17 at 08:41:20).
  // (The double click's Stop already showed the selected drive's first picture.)
  const auto later = std::find(host.pictures.begin(), host.pictures.end(), "20261205_084500.jpg");
  ASSERT_NE(later, host.pictures.end());
  ASSERT_NE(later, host.pictures.begin());
  EXPECT_EQ(*(later - 1), "20261205_083010.jpg");
  EXPECT_EQ(host.pictureAtIndex[static_cast<std::size_t>(later - host.pictures.begin())], 17);
  mode.Mark();
  EXPECT_FALSE(mode.Replay().MarkersOn());
  mode.Leave();
  EXPECT_FALSE(mode.InMode());
  EXPECT_TRUE(mode.DriveList()->isHidden());
  EXPECT_EQ(mode.Replay().Multiplier(), 2);
  EXPECT_EQ(host.scripts.back(), "javascript:DeleteOverlay()");
}

TEST(DitMode, PreviousAndClicks) {
  MessageBoxRecorder boxes;
  Card card;
  QWidget owner;
  RecordingHost host;
  CDitMode mode(&owner, &host);
  mode.ScanCard(card.dir.path());
  mode.ClickDrive(1);
  EXPECT_EQ(mode.SelectedRow(), 1);
  EXPECT_EQ(mode.Replay().Drive(), card.second);
  EXPECT_EQ(mode.Replay().GetState(), CDitReplay::kStopped);
  mode.Previous();
  EXPECT_EQ(mode.SelectedRow(), 0);
  EXPECT_EQ(mode.Replay().Drive(), card.first);
  EXPECT_EQ(mode.Replay().GetState(), CDitReplay::kRunning);
  // Clicks while running change nothing.
  mode.ClickDrive(1);
  EXPECT_EQ(mode.SelectedRow(), 0);
  mode.Play();
  EXPECT_EQ(mode.Replay().GetState(), CDitReplay::kPaused);
  mode.Stop();
  EXPECT_EQ(mode.Replay().GetState(), CDitReplay::kStopped);
  mode.Previous();  // no row above
  EXPECT_EQ(mode.Replay().GetState(), CDitReplay::kStopped);
}

TEST(DitMode, SetupTakesTheDialogsLimitAndRecomputes) {
  MessageBoxRecorder boxes;
  Card card;
  QWidget owner;
  RecordingHost host;
  CDitMode mode(&owner, &host);
  mode.ScanCard(card.dir.path());
  EXPECT_EQ(mode.DriveList()->topLevelItem(0)->text(4), "00:12:40");
  mode.SetLimitAsker([&](int current) {
    CDITSetupDlg dlg(current, &owner);
    EXPECT_EQ(dlg.LimitEdit()->text(), "60");
    dlg.LimitEdit()->setText("70");
    dlg.accept();
    return dlg.Result();
  });
  mode.Setup();
  EXPECT_EQ(mode.Limit(), 70);
  // Speeds 50..79: over 70 from point 21 on, 9 steps of 40 s.
  EXPECT_EQ(mode.DriveList()->topLevelItem(0)->text(4), "00:06:00");
  mode.SetLimitAsker([](int) { return -1; });
  mode.Setup();
  EXPECT_EQ(mode.Limit(), 70);
}

TEST(DitMode, OpenedFilesFollowTheSizeRule) {
  MessageBoxRecorder boxes;
  TempFolder dir;
  std::string big;
  for (int i = 0; i < 400; ++i) big += DitLine(i, 3541.0 + i * 0.001, 13946.0, 30);
  const auto large = dir.Write("20261205_083000.dit", big);
  const auto small = dir.Write("20261205_090000.DIT", DitLine(0, 3541.0, 13946.0, 30));
  const auto junk = dir.Write("20261205_100000.DIT", std::string(20000, '\xff'));
  QWidget owner;
  RecordingHost host;
  CDitMode mode(&owner, &host);
  mode.AddOpenedFiles({small, large, junk});
  ASSERT_EQ(mode.DriveList()->topLevelItemCount(), 1);
  EXPECT_EQ(mode.SelectedRow(), 0);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, "Invalid DIT Files :\n20261205_100000.DIT\n");
}

}  // namespace
}  // namespace lumora
