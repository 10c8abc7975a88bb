// Window placement rules (the list window beside the main window where the
// screen has room, the main window moved to make room for the pair, centring,
// keeping windows on screen) and the recording list window's bindings: rows,
// buttons, play and hide requests, docking, dragging, the list drawn.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTreeWidget>

#include <tuple>

#include "library/qt/CListDlg.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WidgetInput.h"
#include "ui/CSkinButton.h"
#include "ui/WindowPlacement.h"

namespace lumora {
namespace {

TEST(WindowPlacement, BesideRoomForThePairCentredAndInside) {
  // Main window, screen area, list window beside it, main window making room.
  const std::tuple<QRect, QRect, QRect, QRect> rows[] = {
      // Wide screen: right of the main window, same top.
      {{450, 160, 1020, 760}, {0, 0, 1920, 1080}, {1470, 160, 256, 760}, {450, 160, 1020, 760}},
      // Main window at the right edge: on its left.
      {{900, 20, 1020, 760}, {0, 0, 1920, 1080}, {644, 20, 256, 760}, {900, 20, 1020, 760}},
      // 1280 x 800, main window centred: no room on either side; the list at
      // the area's right edge, the pair of 1276 centred.
      {{130, 20, 1020, 760}, {0, 0, 1280, 800}, {1024, 20, 256, 760}, {2, 20, 1020, 760}},
      // A top panel of 30 pixels: the list is kept below it.
      {{130, 0, 1020, 760}, {0, 30, 1280, 770}, {1024, 30, 256, 760}, {2, 0, 1020, 760}},
      // The pair never fits.
      {{0, 0, 1020, 760}, {0, 0, 1024, 768}, {768, 0, 256, 760}, {0, 0, 1020, 760}},
  };
  for (const auto& [main, area, list, room] : rows) {
    SCOPED_TRACE(testing::Message() << main.x() << " in " << area.width());
    EXPECT_EQ(WindowPlacement::Beside(main, QSize(256, 760), area), list);
    EXPECT_EQ(WindowPlacement::RoomForList(main, 256, area), room);
  }
  const QRect screen(0, 0, 1280, 800);
  EXPECT_EQ(WindowPlacement::Centred({1020, 760}, screen), QRect(130, 20, 1020, 760));
  EXPECT_EQ(WindowPlacement::Inside({-10, 790, 100, 50}, screen), QRect(0, 750, 100, 50));
  // Larger than the area: the area's top-left corner.
  EXPECT_EQ(WindowPlacement::Inside({300, 300, 1400, 900}, screen), QRect(0, 0, 1400, 900));
  // A small window centred on its owner near the screen's edge stays on screen.
  EXPECT_EQ(WindowPlacement::CentredOn({521, 249}, {1100, 20, 400, 300}, screen),
            QRect(759, 46, 521, 249));
}

using test::TempFolder;

class ListDlg : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"NORMAL/20150102_030405_N1.avi", "NORMAL/20150102_030405_N2.avi",
                             "EVENT/20150102_040000_E1.avi", "PARKING/20150101_235959_P1.avi",
                             "NORMAL/20150103_101010_N1.avi"})
      card_.File(name);
    QObject::connect(&dlg_, &CListDlg::CardScanned, [&](const QString& root) { scanned_ = root; });
    dlg_.ScanCard(card_.path());
    QApplication::processEvents();
  }
  CSkinButton* Button(int id) {
    return dlg_.findChild<CSkinButton*>(QStringLiteral("button%1").arg(id));
  }
  void ClickButton(int id) {
    ASSERT_NE(Button(id), nullptr) << id;
    test::Click(Button(id), QPoint(3, 3));
    QApplication::processEvents();
  }

  TempFolder card_;
  QWidget main_;
  CListDlg dlg_{&main_};
  QString scanned_;
};

TEST_F(ListDlg, RowsButtonsAndRequests) {
  EXPECT_EQ(scanned_.toStdString(), card_.path().string());
  ASSERT_EQ(dlg_.List(CListDlg::kIdMasterList)->topLevelItemCount(), 5);
  EXPECT_EQ(QStringList({dlg_.RowText(0, 0), dlg_.RowText(0, 1), dlg_.RowText(0, 2)}),
            QStringList({"2015-01-03", "10:10:10", "NORMAL"}));
  EXPECT_EQ(dlg_.RowPath(0).toStdString(), (card_ / "NORMAL/20150103_101010_N1.avi").string());
  const std::pair<int, int> categories[] = {{CListDlg::kIdEvent, 1},
                                            {CListDlg::kIdParking, 1},
                                            {CListDlg::kIdContinuous, 3},
                                            {CListDlg::kIdAll, 5}};
  for (auto [id, rows] : categories) {
    ClickButton(id);
    EXPECT_EQ(dlg_.RowCount(), rows) << id;
    EXPECT_TRUE(Button(id)->GetCheck()) << id;
  }
  EXPECT_FALSE(Button(CListDlg::kIdEvent)->GetCheck());
  dlg_.ShowCategory(CListDlg::kIdMainEvent);
  EXPECT_EQ(dlg_.RowText(0, 2), QStringLiteral("EVENT"));
  dlg_.ShowCategory(CListDlg::kIdAll);
  // The order bar keeps the same recording selected.
  dlg_.SelectRow(1);
  const QString chosen = dlg_.RowPath(1);
  ClickButton(CListDlg::kIdOrder);
  EXPECT_EQ(dlg_.SelectedRow(), 3);
  EXPECT_EQ(dlg_.RowPath(3), chosen);
  ClickButton(CListDlg::kIdClose);
  EXPECT_TRUE(dlg_.TakeHideRequest());
  EXPECT_FALSE(dlg_.HideRequested());
  // A click on a row selects it and asks the main window to play it.
  QTreeWidget* visible = dlg_.List(CListDlg::kIdVisibleList);
  test::Click(visible->viewport(), visible->visualItemRect(visible->topLevelItem(2)).center());
  EXPECT_EQ(dlg_.SelectedRow(), 2);
  EXPECT_TRUE(dlg_.TakePlayRequest());
  EXPECT_FALSE(dlg_.TakePlayRequest());
}

TEST_F(ListDlg, DocksBesideTheMainWindowDragsAndDrawsWhiteRowsOnDark) {
  const QRect main(100, 50, 1020, 594);
  ASSERT_TRUE(dlg_.ToggleBeside(main));
  EXPECT_EQ(dlg_.geometry(),  // the placement rule's table is in the ui tests
            WindowPlacement::Beside(main, QSize(256, 760), dlg_.screen()->availableGeometry()));
  const QPoint start = dlg_.pos();
  test::Press(&dlg_, QPoint(100, 20));
  test::DragTo(&dlg_, QPoint(130, 60));
  test::Release(&dlg_, QPoint(130, 60));
  test::Hover(&dlg_, QPoint(10, 10));
  EXPECT_EQ(dlg_.pos(), start + QPoint(30, 40));
  dlg_.SelectRow(-1);
  QTreeWidget* visible = dlg_.List(CListDlg::kIdVisibleList);
  EXPECT_EQ(visible->geometry(), QRect(0, 48, 256, 675));
  const QImage picture = dlg_.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(picture.pixel(128, 600), qRgb(0x33, 0x33, 0x33));  // below the last row
  const QRect row = visible->visualItemRect(visible->topLevelItem(0)).translated(0, 48);
  int white = 0;
  for (int y = row.top(); y <= row.bottom(); ++y)
    for (int x = 0; x < 230; ++x) white += qGray(picture.pixel(x, y)) > 200 ? 1 : 0;
  EXPECT_GT(white, 20);
  EXPECT_FALSE(dlg_.ToggleBeside(main));
  EXPECT_FALSE(dlg_.isVisible());
  EXPECT_EQ(CListDlg::QtOpenFilter(), QStringLiteral("mp4 files(*.mp4, *.avi) (*.mp4 *.avi)"));
}

}  // namespace
}  // namespace lumora
