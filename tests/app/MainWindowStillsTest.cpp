// The main window's thumbnail page, still window, reload mark and print
// command, driven through OnCommand as a user's button presses.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QTimer>
#include <QTreeWidget>

#include <filesystem>
#include <fstream>

#include "TestSupport.h"
#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/CThumbnailView.h"
#include "app/ListDlgPort.h"
#include "display/qt/CStillView.h"
#include "library/qt/CListDlg.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "tests/support/FakeParts.h"
#include "tests/support/WindowHarness.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

bool Near(QColor a, QColor b, int tolerance) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

class MainWindowStillsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // One card for the whole group: two real recordings, a captured still,
    // a damaged recording and nine more damaged ones to fill a second page.
    card_ = new test::TempFolder;
    const fs::path root = card_->path() / "card";
    fs::create_directories(root / "NORMAL");
    RecordingOptions options;
    options.seconds = 1;
    std::string error;
    ASSERT_TRUE(WriteRecording(root / "NORMAL" / "20240101_120000_N1.avi", options, &error))
        << error;
    options.seed = 5;
    ASSERT_TRUE(WriteRecording(root / "NORMAL" / "20240101_120100_N1.avi", options, &error))
        << error;
    for (int i = 2; i < 12; ++i) {
      char name[40];
      std::snprintf(name, sizeof name, "20240101_12%02d00_N1.avi", i);
      test::WriteText(root / "NORMAL" / name, std::string(30 * 1024, static_cast<char>('a' + i)));
    }
    fs::create_directories(root / "CAPTURE" / "20240101_120000");
    ASSERT_FALSE(test::MakeJpeg(root / "CAPTURE" / "20240101_120000", 320, 240).empty());
    fs::remove(root / "CAPTURE" / "20240101_120000" / "pic320x240.ppm");
  }
  static void TearDownTestSuite() {
    delete card_;
    card_ = nullptr;
  }

  void SetUp() override {
    StringTable::Instance().SetLanguage(1033);
    test::FakeWindowParts fake;
    player_ = fake.player;
    fake.parts.languageProbe = [] { return 1; };
    fake.parts.findCard = [this] { return cardFound_ ? Root().string() : std::string(); };
    window_ = std::make_unique<CSamplePlayerDlg>(std::move(fake.parts));
    window_->OnInitDialog();
  }

  static fs::path Root() { return card_->path() / "card"; }
  static fs::path Recording(int minute) {
    char name[40];
    std::snprintf(name, sizeof name, "20240101_12%02d00_N1.avi", minute);
    return Root() / "NORMAL" / name;
  }
  CThumbnailView* Thumbs() { return window_->Thumbnails(); }
  void Click(QWidget* widget, QPoint at) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), widget->mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
  }

  static test::TempFolder* card_;
  bool cardFound_ = true;
  MessageBoxRecorder boxes_;
  test::FakePlayer* player_ = nullptr;
  std::unique_ptr<CSamplePlayerDlg> window_;
};

test::TempFolder* MainWindowStillsTest::card_ = nullptr;

TEST_F(MainWindowStillsTest, WithoutACardThePageSaysSo) {
  cardFound_ = false;
  EXPECT_TRUE(window_->OnCommand(kIdThumbList));
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, QStringLiteral("There is no device SD card."));
  EXPECT_FALSE(Thumbs()->IsShowing());
  EXPECT_TRUE(window_->OnCommand(kIdThumbNext));  // nothing shown: paging does nothing
  EXPECT_FALSE(Thumbs()->IsShowing());
}

TEST_F(MainWindowStillsTest, PageShowsPicturesPlaceholdersAndNamesInTheArea) {
  ASSERT_TRUE(window_->OnCommand(kIdThumbFile));
  ASSERT_TRUE(Thumbs()->IsShowing());
  EXPECT_TRUE(boxes_.Requests().empty());
  EXPECT_EQ(Thumbs()->geometry(), QRect(23, 100, 605, 250));
  ASSERT_EQ(Thumbs()->SlotCount(), 10);
  ASSERT_TRUE(Thumbs()->WaitForPage(20000));
  // Slot 0: the captured still; 1 and 2: the recordings; 3: a damaged file.
  EXPECT_EQ(Thumbs()->SlotFile(0).filename(), "pic320x240.jpg");
  EXPECT_EQ(Thumbs()->SlotFile(1), Recording(0));
  EXPECT_EQ(Thumbs()->SlotPicture(0).size(), QSize(104, 78));
  EXPECT_EQ(Thumbs()->SlotPicture(1).size(), QSize(104, 59));
  EXPECT_EQ(Thumbs()->SlotPicture(2).size(), QSize(104, 59));
  EXPECT_TRUE(Thumbs()->SlotDone(3));
  EXPECT_TRUE(Thumbs()->SlotPicture(3).isNull());

  const QImage page = Thumbs()->grab().toImage();
  for (int slot : {0, 1}) {
    const QImage picture = Thumbs()->SlotPicture(slot);
    const QRect box = CThumbnailView::PictureBox(slot);
    QRect drawn(QPoint(0, 0), picture.size());
    drawn.moveCenter(box.center());
    for (QPoint p : {QPoint(10, 10), QPoint(60, 30), QPoint(100, 55)}) {
      EXPECT_TRUE(Near(page.pixelColor(drawn.topLeft() + p), picture.pixelColor(p), 8))
          << "slot " << slot << " at " << p.x() << "," << p.y();
    }
  }
  // The placeholder: a grey cross on black.
  const QRect cross = CThumbnailView::PictureBox(3);
  EXPECT_TRUE(
      Near(page.pixelColor(cross.topLeft() + QPoint(20, 15)), QColor(0x80, 0x80, 0x80), 40));
  EXPECT_TRUE(Near(page.pixelColor(cross.topLeft() + QPoint(56, 10)), Qt::black, 10));
  // File names are written under the pictures.
  auto brightIn = [&](const QRect& r) {
    int bright = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) bright += page.pixelColor(x, y).lightness() > 160;
    return bright;
  };
  EXPECT_GT(brightIn(CThumbnailView::NameRect(1)), 20);
  // The view sits at (23, 100) of the window's picture.
  const QImage client = window_->GrabClient();
  const QPoint inWindow = QPoint(23, 100) + CThumbnailView::PictureBox(0).center();
  EXPECT_TRUE(Near(client.pixelColor(inWindow),
                   page.pixelColor(CThumbnailView::PictureBox(0).center()), 8));
}

TEST(ThumbnailView, CellsFollowTheBackgroundFramesAndNamesFit) {
  // Five frames across, two down, inside the 605 x 250 area.
  EXPECT_EQ(CThumbnailView::CellRect(0), QRect(10, 10, 110, 110));
  EXPECT_EQ(CThumbnailView::CellRect(4), QRect(486, 10, 110, 110));
  EXPECT_EQ(CThumbnailView::CellRect(9), QRect(486, 130, 110, 110));
  for (int slot = 0; slot < 10; ++slot) {
    EXPECT_TRUE(QRect(0, 0, 605, 250).contains(CThumbnailView::CellRect(slot))) << slot;
    EXPECT_TRUE(CThumbnailView::CellRect(slot).contains(CThumbnailView::PictureBox(slot)));
    EXPECT_TRUE(CThumbnailView::CellRect(slot).contains(CThumbnailView::NameRect(slot)));
  }
  QFont font;
  font.setPixelSize(10);
  const QFontMetrics metrics(font);
  const QString name = QStringLiteral("20261205_083004_N1.avi");
  EXPECT_EQ(CThumbnailView::ShownName(name, metrics, 1000), name);
  const int stem = metrics.horizontalAdvance(QStringLiteral("20261205_083004_N1"));
  EXPECT_EQ(CThumbnailView::ShownName(name, metrics, stem), QStringLiteral("20261205_083004_N1"));
  const QString tight = CThumbnailView::ShownName(name, metrics, stem / 2);
  EXPECT_LE(metrics.horizontalAdvance(tight), stem / 2);
  EXPECT_TRUE(tight.contains(QChar(0x2026)));
}

TEST_F(MainWindowStillsTest, PagingStaysInBoundsAndOtherCommandsLeave) {
  ASSERT_TRUE(window_->OnCommand(kIdThumbList));
  EXPECT_EQ(Thumbs()->Pages().Files().size(), 13u);
  EXPECT_TRUE(window_->OnCommand(kIdThumbPrevious));
  EXPECT_EQ(Thumbs()->Pages().Page(), 0);
  EXPECT_TRUE(window_->OnCommand(kIdThumbNext));
  EXPECT_EQ(Thumbs()->Pages().Page(), 1);
  EXPECT_EQ(Thumbs()->SlotCount(), 3);
  EXPECT_EQ(Thumbs()->SlotFile(0), Recording(9));
  EXPECT_TRUE(window_->OnCommand(kIdThumbNext));
  EXPECT_EQ(Thumbs()->Pages().Page(), 1);
  EXPECT_TRUE(window_->OnCommand(kIdThumbPrevious));
  EXPECT_EQ(Thumbs()->Pages().Page(), 0);
  EXPECT_EQ(Thumbs()->SlotCount(), 10);
  EXPECT_TRUE(Thumbs()->WaitForPage(20000));
  EXPECT_TRUE(Thumbs()->isVisible() || !window_->isVisible());
  // Paging back shows the kept pictures without decoding them again.
  EXPECT_TRUE(window_->OnCommand(kIdThumbNext));
  ASSERT_TRUE(Thumbs()->WaitForPage(20000));
  const int requests = Thumbs()->DecodeRequests();
  EXPECT_TRUE(window_->OnCommand(kIdThumbPrevious));
  EXPECT_EQ(Thumbs()->DecodeRequests(), requests);
  EXPECT_TRUE(window_->OnCommand(kIdThumbNext));
  EXPECT_EQ(Thumbs()->DecodeRequests(), requests);
  EXPECT_TRUE(Thumbs()->SlotDone(2));
  EXPECT_TRUE(window_->OnCommand(kIdThumbPrevious));
  EXPECT_TRUE(Thumbs()->SlotDone(0));
  EXPECT_FALSE(Thumbs()->SlotPicture(1).isNull());
  EXPECT_TRUE(Thumbs()->SlotPicture(3).isNull());
  // Name, date and size with each thumbnail.
  const QStringList details = Thumbs()->SlotDetails(3).split(QLatin1Char('\n'));
  ASSERT_EQ(details.size(), 2);
  EXPECT_EQ(details[0], QStringLiteral("20240101_120200_N1.avi"));
  EXPECT_TRUE(details[1].endsWith(QStringLiteral("  30 KB"))) << details[1].toStdString();
  EXPECT_EQ(details[1].size(), 8 + 2 + 5);  // "YY.MM.DD  30 KB"

  EXPECT_TRUE(window_->OnCommand(kIdStop));
  EXPECT_FALSE(Thumbs()->IsShowing());
  EXPECT_FALSE(Thumbs()->isVisible());
  EXPECT_EQ(Thumbs()->SlotCount(), 0);
}

TEST_F(MainWindowStillsTest, RemovingTheCardClosesThePage) {
  window_->OpenCard(Root().string());
  ASSERT_TRUE(window_->OnCommand(kIdThumbList));
  window_->OnDriveRemoved(QStringLiteral("/media/other"));
  EXPECT_TRUE(Thumbs()->IsShowing());
  window_->OnDriveRemoved(QString::fromStdString(Root().string()));
  EXPECT_FALSE(Thumbs()->IsShowing());
}

TEST_F(MainWindowStillsTest, ClickingARecordingPlaysItAndAStillShowsIt) {
  window_->OpenCard(Root().string());
  ASSERT_GT(window_->List()->RowCount(), 1);
  ASSERT_TRUE(window_->OnCommand(kIdThumbList));
  // The page replaces the video: playback stops and stays stopped meanwhile.
  EXPECT_EQ(player_->GetState(), kStateClosed);
  ASSERT_TRUE(Thumbs()->WaitForPage(20000));
  window_->OnTimer(kTimerUpdate);
  EXPECT_TRUE(Thumbs()->IsShowing());
  Click(Thumbs(), CThumbnailView::PictureBox(2).center());
  EXPECT_FALSE(Thumbs()->IsShowing());
  ASSERT_FALSE(player_->opened.empty());
  EXPECT_EQ(player_->opened.back(), Recording(1).string());
  EXPECT_EQ(player_->GetState(), kStatePlaying);
  EXPECT_EQ(window_->List()->RowPath(window_->List()->SelectionMark()), Recording(1).string());

  ASSERT_TRUE(window_->OnCommand(kIdThumbList));
  ASSERT_TRUE(Thumbs()->WaitForPage(20000));
  Click(Thumbs(), CThumbnailView::PictureBox(0).center());
  ASSERT_NE(window_->StillWindow(), nullptr);
  EXPECT_TRUE(window_->StillWindow()->isVisible());
  auto* still = window_->StillWindow()->findChild<CStillView*>();
  ASSERT_NE(still, nullptr);
  EXPECT_EQ(still->Picture().size(), QSize(320, 240));
  EXPECT_EQ(window_->StillWindow()->windowTitle(), QStringLiteral("pic320x240.jpg"));
  // Clicking outside the slots in use does nothing.
  EXPECT_TRUE(window_->OnCommand(kIdThumbNext));
  const std::size_t opened = player_->opened.size();
  Click(Thumbs(), CThumbnailView::PictureBox(8).center());
  EXPECT_TRUE(Thumbs()->IsShowing());
  EXPECT_EQ(player_->opened.size(), opened);
}

TEST_F(MainWindowStillsTest, DownloadMessageSetsTheReloadMark) {
  window_->OpenCard(Root().string());
  ASSERT_EQ(player_->GetState(), kStatePlaying);
  const std::size_t opened = player_->opened.size();
  auto* port = dynamic_cast<ListDlgPort*>(window_->List());
  ASSERT_NE(port, nullptr);
  QTreeWidget* tree = port->Dialog()->List(CListDlg::kIdVisibleList);
  // Choosing the playing recording again is ignored without the mark.
  emit tree->itemClicked(tree->topLevelItem(0), 0);
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(player_->opened.size(), opened);

  window_->List()->ClearSelection();
  window_->List()->SetSelectionMark(-1);
  ASSERT_EQ(window_->List()->SelectionMark(), -1);  // else the folder picker would wait
  EXPECT_FALSE(window_->ReloadMark());
  window_->OnCommand(kIdDownload);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, QStringLiteral("File is not selected."));
  EXPECT_TRUE(window_->ReloadMark());
  window_->List()->SetSelectionMark(0);
  emit tree->itemClicked(tree->topLevelItem(0), 0);
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(player_->opened.size(), opened + 1);
  EXPECT_FALSE(window_->ReloadMark());
}

TEST_F(MainWindowStillsTest, PrintWithTheDialogCancelledPrintsAndShowsNothing) {
  window_->show();
  // Cancels the print dialog as soon as it is up.
  auto sawDialog = std::make_shared<bool>(false);
  auto* closer = new QTimer(window_.get());
  QObject::connect(closer, &QTimer::timeout, closer, [closer, sawDialog] {
    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      *sawDialog = true;
      dialog->reject();
      closer->stop();
    }
  });
  closer->start(50);
  EXPECT_TRUE(window_->OnCommand(kIdPrint));
  closer->stop();
  EXPECT_TRUE(*sawDialog);
  EXPECT_TRUE(boxes_.Requests().empty());
}

}  // namespace
}  // namespace lumora
