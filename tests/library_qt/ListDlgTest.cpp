// The recording list window: SDOPEN through fake drives, the no-card message,
// category buttons, the order bar keeping the selection, row clicks setting
// the play request, the close button's hide request, the toggle beside the
// main window, window dragging and the rows of the open dialog.
#include "library/qt/CListDlg.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "tests/support/TempFolder.h"
#include "ui/CSkinButton.h"
#include "ui/WindowPlacement.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QScreen>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>
#include <random>

namespace lumora {
namespace {

using Folder = test::TempFolder;

void Mouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
  const QPointF local(pos);
  QMouseEvent event(type, local, local, QPointF(widget->mapToGlobal(pos)),
                    type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

void Click(QWidget* widget, QPoint pos) {
  Mouse(widget, QEvent::MouseButtonPress, pos, Qt::LeftButton);
  Mouse(widget, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

void ClickButton(CListDlg& dlg, int id) {
  auto* button = dlg.findChild<CSkinButton*>(QStringLiteral("button%1").arg(id));
  ASSERT_NE(button, nullptr) << id;
  Click(button, QPoint(3, 3));
  QApplication::processEvents();
}

class ListDlg : public testing::Test {
 protected:
  void SetUp() override {
    StringTable::Instance().SetLanguage(kLangEnglish);
    card_.File("NORMAL/20150102_030405_N1.avi");
    card_.File("NORMAL/20150102_030405_N2.avi");
    card_.File("EVENT/20150102_040000_E1.avi");
    card_.File("PARKING/20150101_235959_P1.avi");
    card_.File("NORMAL/20150103_101010_N1.avi");
    empty_.File("DCIM/picture.jpg");
  }
  void TearDown() override { StringTable::Instance().SetLanguage(kLangJapanese); }

  std::vector<QString> Paths() {
    std::vector<QString> paths;
    for (int row = 0; row < dlg_.RowCount(); ++row) paths.push_back(dlg_.RowPath(row));
    return paths;
  }

  Folder card_, empty_;
  QWidget main_;
  CListDlg dlg_{&main_};
};

TEST_F(ListDlg, ScanningTheCardListsItsRowsNewestFirst) {
  QString scanned;
  QObject::connect(&dlg_, &CListDlg::CardScanned, [&](const QString& root) { scanned = root; });
  dlg_.ScanCard(card_.path());
  dlg_.SelectRow(0);
  EXPECT_EQ(scanned, QString::fromStdString(card_.path().string()));
  EXPECT_EQ(dlg_.CardRoot(), scanned);
  EXPECT_TRUE(dlg_.CardPresent());
  EXPECT_TRUE(dlg_.Loaded());
  EXPECT_EQ(dlg_.RowCount(), 5);
  EXPECT_EQ(dlg_.SelectedRow(), 0);
  EXPECT_TRUE(dlg_.RowPath(0).endsWith(QStringLiteral("20150103_101010_N1.avi")));
  EXPECT_EQ(dlg_.RowText(0, 0), QStringLiteral("2015-01-03"));
  EXPECT_EQ(dlg_.RowText(0, 1), QStringLiteral("10:10:10"));
  EXPECT_EQ(dlg_.RowText(0, 2), QStringLiteral("NORMAL"));
  EXPECT_EQ(dlg_.List(CListDlg::kIdMasterList)->topLevelItemCount(), 5);
}

TEST_F(ListDlg, ListsHaveTheirColumnsColoursAndPlaces) {
  QTreeWidget* visible = dlg_.List(CListDlg::kIdVisibleList);
  EXPECT_EQ(visible->geometry(), QRect(0, 48, 256, 675));
  EXPECT_EQ(visible->columnWidth(0), 80);
  EXPECT_EQ(visible->columnWidth(1), 80);
  EXPECT_EQ(visible->columnWidth(2), 70);
  EXPECT_TRUE(visible->isColumnHidden(3));
  EXPECT_TRUE(visible->isHeaderHidden());
  EXPECT_EQ(visible->palette().color(QPalette::Base), QColor(0x33, 0x33, 0x33));
  EXPECT_EQ(visible->palette().color(QPalette::Text), QColor(Qt::white));
  EXPECT_EQ(visible->palette().color(QPalette::Inactive, QPalette::Highlight),
            visible->palette().color(QPalette::Active, QPalette::Highlight));
  EXPECT_EQ(visible->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(dlg_.List(CListDlg::kIdMasterList)->geometry(), QRect(5000, 5000, 272, 647));
  EXPECT_EQ(dlg_.List(CListDlg::kIdStagingList)->geometry(), QRect(10000, 10000, 272, 647));
  QTreeWidget* second = dlg_.List(CListDlg::kIdSecondList);
  EXPECT_EQ(second->headerItem()->text(1), QStringLiteral("Recorded Date"));
  EXPECT_EQ(second->columnWidth(0), 40);
  EXPECT_TRUE(second->isColumnHidden(2));
  EXPECT_TRUE(second->isHidden());
  EXPECT_EQ(dlg_.List(42), nullptr);
}

TEST_F(ListDlg, CategoryButtonsFilterAndFileRowsAlwaysShow) {
  dlg_.ScanCard(card_.path());
  ClickButton(dlg_, CListDlg::kIdEvent);
  EXPECT_EQ(dlg_.RowCount(), 1);
  EXPECT_EQ(dlg_.RowText(0, 2), QStringLiteral("EVENT"));
  EXPECT_FALSE(dlg_.Filter().continuous);
  auto* event = dlg_.findChild<CSkinButton*>(QStringLiteral("button%1").arg(CListDlg::kIdEvent));
  auto* all = dlg_.findChild<CSkinButton*>(QStringLiteral("button%1").arg(CListDlg::kIdAll));
  EXPECT_TRUE(event->GetCheck());
  EXPECT_FALSE(all->GetCheck());
  ClickButton(dlg_, CListDlg::kIdParking);
  EXPECT_EQ(dlg_.RowCount(), 1);
  EXPECT_EQ(dlg_.RowText(0, 2), QStringLiteral("PARKING"));
  ClickButton(dlg_, CListDlg::kIdContinuous);
  EXPECT_EQ(dlg_.RowCount(), 3);
  // Files opened by hand pass every filter.
  ClickButton(dlg_, CListDlg::kIdEvent);
  Folder chosen;
  EXPECT_EQ(dlg_.OpenFiles({chosen.File("20150105_000000_N1.avi")}), 1);
  EXPECT_EQ(dlg_.RowCount(), 1);
  EXPECT_EQ(dlg_.RowText(0, 2), QStringLiteral("File"));
  ClickButton(dlg_, CListDlg::kIdAll);
  EXPECT_TRUE(all->GetCheck());
  EXPECT_FALSE(event->GetCheck());
  // The main window's category buttons act the same way.
  dlg_.ScanCard(card_.path());
  dlg_.ShowCategory(CListDlg::kIdMainEvent);
  EXPECT_EQ(dlg_.RowCount(), 1);
  dlg_.ShowCategory(CListDlg::kIdMainManual);
  EXPECT_TRUE(dlg_.ManualRecording());
  EXPECT_EQ(dlg_.RowCount(), 1);
}

TEST_F(ListDlg, OrderBarKeepsTheSameRecordingSelected) {
  dlg_.ScanCard(card_.path());
  dlg_.SelectRow(1);
  const QString chosen = dlg_.RowPath(1);
  ClickButton(dlg_, CListDlg::kIdOrder);
  EXPECT_EQ(dlg_.Rows().Order(), 0);
  EXPECT_EQ(dlg_.SelectedRow(), 3);
  EXPECT_EQ(dlg_.RowPath(dlg_.SelectedRow()), chosen);
  EXPECT_TRUE(dlg_.RowPath(0).endsWith(QStringLiteral("20150101_235959_P1.avi")));
  ClickButton(dlg_, CListDlg::kIdOrder);
  EXPECT_EQ(dlg_.SelectedRow(), 1);
  EXPECT_EQ(dlg_.RowPath(1), chosen);
}

TEST_F(ListDlg, ClickingARowSetsThePlayRequest) {
  dlg_.ScanCard(card_.path());
  QApplication::processEvents();
  QTreeWidget* visible = dlg_.List(CListDlg::kIdVisibleList);
  int activated = -1;
  QObject::connect(&dlg_, &CListDlg::RowActivated, [&](int row) { activated = row; });
  const QRect second = visible->visualItemRect(visible->topLevelItem(2));
  ASSERT_FALSE(second.isEmpty());
  Click(visible->viewport(), second.center());
  EXPECT_EQ(activated, 2);
  EXPECT_EQ(dlg_.SelectedRow(), 2);
  EXPECT_TRUE(dlg_.PlayRequested());
  EXPECT_TRUE(dlg_.TakePlayRequest());
  EXPECT_FALSE(dlg_.TakePlayRequest());
}

TEST_F(ListDlg, CloseButtonSetsTheHideRequestAndTheToggleDocksBesideTheMainWindow) {
  EXPECT_TRUE(dlg_.ToggleBeside(QRect(100, 50, 1020, 594)));
  // Beside the main window as far as the screen has room (the rule's own table
  // is in the ui tests).
  EXPECT_EQ(dlg_.geometry(), WindowPlacement::Beside(QRect(100, 50, 1020, 594), QSize(256, 760),
                                                     dlg_.screen()->availableGeometry()));
  ClickButton(dlg_, CListDlg::kIdClose);
  EXPECT_TRUE(dlg_.HideRequested());
  EXPECT_TRUE(dlg_.isVisible());
  EXPECT_TRUE(dlg_.TakeHideRequest());
  EXPECT_FALSE(dlg_.HideRequested());
  EXPECT_FALSE(dlg_.ToggleBeside(QRect(100, 50, 1020, 594)));
  EXPECT_FALSE(dlg_.isVisible());
}

TEST_F(ListDlg, PressingTheBackgroundDragsTheWindow) {
  dlg_.ToggleBeside(QRect(0, 0, 400, 300));
  const QPoint start = dlg_.pos();
  Mouse(&dlg_, QEvent::MouseButtonPress, QPoint(100, 20), Qt::LeftButton);
  Mouse(&dlg_, QEvent::MouseMove, QPoint(130, 60), Qt::LeftButton);
  Mouse(&dlg_, QEvent::MouseButtonRelease, QPoint(130, 60), Qt::NoButton);
  EXPECT_EQ(dlg_.pos(), start + QPoint(30, 40));
  Mouse(&dlg_, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton);
  EXPECT_EQ(dlg_.pos(), start + QPoint(30, 40));
}

TEST_F(ListDlg, OpenFilesListsRecordingRowsAndNothingUsableGivesAnEmptyList) {
  dlg_.ScanCard(card_.path());
  Folder chosen;
  const auto small = chosen.File("20150102_030405_N1.avi", 10 * 1024);
  const auto ok = chosen.File("20150102_030406_N1.avi", 11 * 1024);
  const auto other = chosen.File("20150102_030407_N1.avi", 50 * 1024);
  std::filesystem::permissions(other, std::filesystem::perms::owner_read);
  EXPECT_EQ(dlg_.OpenFiles({small, ok, other}), 2);
  EXPECT_EQ(dlg_.RowCount(), 2);
  EXPECT_EQ(dlg_.SelectedRow(), 0);
  EXPECT_EQ(dlg_.Rows().OpenedSizes().size(), 2u);
  EXPECT_EQ(dlg_.OpenFiles({chosen.File("a.mp4", 50 * 1024), chosen.File("b.MP4", 50 * 1024)}), 2);
  EXPECT_EQ(dlg_.OpenFiles({chosen.File("a.txt", 50 * 1024), chosen.File("c.mp4", 10 * 1024)}), 0);
  EXPECT_EQ(dlg_.RowCount(), 0);
  EXPECT_EQ(dlg_.List(CListDlg::kIdMasterList)->topLevelItemCount(), 0);
  EXPECT_EQ(dlg_.SelectedRow(), -1);
  EXPECT_TRUE(dlg_.RowPath(0).isEmpty());
  EXPECT_TRUE(dlg_.isVisible());
}

TEST_F(ListDlg, ClearListsEmptiesVisibleAndMasterLists) {
  dlg_.ScanCard(card_.path());
  dlg_.ClearLists();
  EXPECT_EQ(dlg_.RowCount(), 0);
  EXPECT_EQ(dlg_.List(CListDlg::kIdMasterList)->topLevelItemCount(), 0);
  dlg_.ClearCard();
  EXPECT_FALSE(dlg_.CardPresent());
}

TEST_F(ListDlg, DrawsWhiteRowsOnTheDarkListBackground) {
  dlg_.ScanCard(card_.path());
  dlg_.SelectRow(-1);
  QApplication::processEvents();
  const QImage picture = dlg_.grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (!qEnvironmentVariableIsEmpty("LUMORA_SHOT_DIR")) {
    picture.save(qEnvironmentVariable("LUMORA_SHOT_DIR") + QStringLiteral("/list-window.png"));
  }
  EXPECT_EQ(picture.size(), QSize(256, 760));
  // Below the last row the list shows its background colour.
  EXPECT_EQ(picture.pixel(128, 600), qRgb(0x33, 0x33, 0x33));
  // The first row carries white text.
  QTreeWidget* visible = dlg_.List(CListDlg::kIdVisibleList);
  const QRect row = visible->visualItemRect(visible->topLevelItem(0)).translated(0, 48);
  int white = 0;
  for (int y = row.top(); y <= row.bottom(); ++y)
    for (int x = 0; x < 230; ++x)
      if (qGray(picture.pixel(x, y)) > 200) ++white;
  EXPECT_GT(white, 20);
}

TEST(ListDlgFilter, OpenDialogFilterKeepsThePatterns) {
  EXPECT_EQ(CListDlg::QtOpenFilter(), QStringLiteral("mp4 files(*.mp4, *.avi) (*.mp4 *.avi)"));
}

}  // namespace
}  // namespace lumora
