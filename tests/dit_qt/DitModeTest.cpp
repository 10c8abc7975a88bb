// The DIT mode's lists and the invalid-log message box; its flows are checked
// through the main window in tests/app.
#include <gtest/gtest.h>

#include <QTreeWidget>
#include <QWidget>

#include "library/qt/CDitMode.h"
#include "platform/qt/MessageBox.h"
#include "tests/dit/DitTestSupport.h"

namespace lumora {
namespace {

TEST(DitMode, ListsAndOpenedFiles) {
  MessageBoxRecorder boxes;
  QWidget owner;
  test::RecordingHost host;
  CDitMode mode(&owner, &host);
  const std::pair<QTreeWidget*, QStringList> lists[] = {
      {mode.DriveList(),
       {"No.", "Recorded Date", "Driving Distance", "Driving Time", "Overspeed Time",
        "ImgFolderPath", "Path"}},
      {mode.PointList(), {"Time", "Min", "Lat", "Lon", "Speed", "TTC"}},
      {mode.PictureList(), {"Path", "HourSec"}},
      {mode.PictureMinuteList(), {"Path", "HourMin", "revd", "revd", "revd", "revd"}}};
  for (const auto& [list, headers] : lists) {
    QStringList shown;
    for (int i = 0; i < list->columnCount(); ++i) shown << list->headerItem()->text(i);
    EXPECT_EQ(shown, headers);
  }
  EXPECT_EQ(mode.DriveList()->objectName() + mode.PointList()->objectName(), "50145017");
  EXPECT_EQ(mode.DriveList()->columnWidth(0), 40);
  EXPECT_EQ(mode.DriveList()->columnWidth(3), 160);
  EXPECT_TRUE(mode.DriveList()->isColumnHidden(6));

  test::TempFolder dir;
  std::string big;
  for (int i = 0; i < 400; ++i) big += test::DitLine(i, 3541.0 + i * 0.001, 13946.0, 30);
  const auto large = dir.Write("20261205_083000.dit", big);
  const auto junk = dir.Write("20261205_100000.DIT", std::string(20000, '\xff'));
  mode.AddOpenedFiles({large, junk});
  ASSERT_EQ(mode.DriveList()->topLevelItemCount(), 1);
  EXPECT_EQ(mode.SelectedRow(), 0);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, "Invalid DIT Files :\n20261205_100000.DIT\n");
  // A card whose logs are all good shows no box.
  boxes.Clear();
  dir.Write("card/DIT/GPS/20261205_083000.DIT", test::DitLine(0, 3541.0, 13946.0, 10));
  mode.ScanCard(dir / "card");
  EXPECT_EQ(mode.DriveList()->topLevelItemCount(), 1);
  EXPECT_TRUE(boxes.Requests().empty());
}

}  // namespace
}  // namespace lumora
