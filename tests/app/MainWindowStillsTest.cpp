// The main window's thumbnail page, still window, reload mark and print command
// (pages, decoders and printing themselves: tests/thumbs, tests/stills).
#include <QApplication>
#include <QPrintDialog>
#include <QTimer>
#include <QTreeWidget>

#include "app/CThumbnailView.h"
#include "app/ListDlgPort.h"
#include "display/qt/CStillView.h"
#include "library/qt/CListDlg.h"
#include "tests/app/WindowTest.h"
#include "tests/support/Pictures.h"
#include "tests/support/WidgetInput.h"
#include "tools/mkcard/SampleRecording.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;

class MainWindowStillsTest : public test::WindowTest {
 protected:
  static void SetUpTestSuite() {
    // One card for the group: two real recordings, a captured still, and ten
    // damaged recordings (a second page).
    card_ = new test::TempFolder;
    card_->Dir("card/NORMAL");
    RecordingOptions options;
    options.seconds = 1;
    std::string error;
    ASSERT_TRUE(WriteRecording(Recording(0), options, &error)) << error;
    options.seed = 5;
    ASSERT_TRUE(WriteRecording(Recording(1), options, &error)) << error;
    for (int i = 2; i < 12; ++i)
      test::WriteFile(Recording(i), std::string(30 * 1024, static_cast<char>('a' + i)));
    const fs::path capture = card_->Dir("card/CAPTURE/20240101_120000");
    ASSERT_FALSE(test::MakeJpeg(capture, 320, 240).empty());
    fs::remove(capture / "pic320x240.ppm");
  }
  static void TearDownTestSuite() { delete card_; }

  void SetUp() override {
    adjustParts_ = [](CSamplePlayerDlg::Parts& parts) {
      parts.findCard = [] { return Root().string(); };
    };
    MakeWindow();
  }

  static fs::path Root() { return card_->path() / "card"; }
  static fs::path Recording(int minute) {
    return Root() / "NORMAL" / QString::asprintf("20240101_12%02d00_N1.avi", minute).toStdString();
  }
  CThumbnailView* Thumbs() { return window_->Thumbnails(); }
  void Click(int slot) { test::Press(Thumbs(), CThumbnailView::PictureBox(slot).center()); }

  static test::TempFolder* card_;
};

test::TempFolder* MainWindowStillsTest::card_ = nullptr;

TEST_F(MainWindowStillsTest, PageShowsPicturesAndPlaceholdersInItsArea) {
  ASSERT_TRUE(window_->OnCommand(kIdThumbFile));
  ASSERT_TRUE(Thumbs()->IsShowing());
  EXPECT_EQ(Thumbs()->geometry(), QRect(23, 100, 605, 250));
  ASSERT_EQ(Thumbs()->SlotCount(), 10);
  ASSERT_TRUE(Thumbs()->WaitForPage(20000));
  // Slot 0: the captured still; 1 and 2: the recordings; 3: a damaged file.
  EXPECT_EQ(Thumbs()->SlotFile(0).filename(), "pic320x240.jpg");
  EXPECT_EQ(Thumbs()->SlotFile(1), Recording(0));
  EXPECT_EQ(Thumbs()->SlotPicture(0).size(), QSize(104, 78));
  EXPECT_EQ(Thumbs()->SlotPicture(2).size(), QSize(104, 59));
  EXPECT_TRUE(Thumbs()->SlotDone(3));
  EXPECT_TRUE(Thumbs()->SlotPicture(3).isNull());
  // The placeholder: a grey cross on black; the page drawn into the window.
  const QImage client = window_->GrabClient();
  const QPoint cross = QPoint(23, 100) + CThumbnailView::PictureBox(3).topLeft();
  EXPECT_NEAR(qGray(client.pixel(cross + QPoint(20, 15))), 0x80, 40);
  EXPECT_LE(qGray(client.pixel(cross + QPoint(56, 10))), 10);
  const QImage picture = Thumbs()->SlotPicture(0);
  QRect drawn(QPoint(0, 0), picture.size());
  drawn.moveCenter(CThumbnailView::PictureBox(0).center());
  for (QPoint p : {QPoint(10, 10), QPoint(60, 30), QPoint(100, 55)})
    EXPECT_NEAR(qGray(client.pixel(QPoint(23, 100) + drawn.topLeft() + p)), qGray(picture.pixel(p)),
                8);
}

TEST_F(MainWindowStillsTest, PagingStaysInBoundsKeepsPicturesAndOtherCommandsLeave) {
  ASSERT_TRUE(window_->OnCommand(kIdThumbList));
  EXPECT_EQ(Thumbs()->Pages().Files().size(), 13u);
  for (auto [command, page, count] : {std::tuple{kIdThumbPrevious, 0, 10},
                                      {kIdThumbNext, 1, 3},
                                      {kIdThumbNext, 1, 3},
                                      {kIdThumbPrevious, 0, 10}}) {
    EXPECT_TRUE(window_->OnCommand(command));
    EXPECT_EQ(Thumbs()->Pages().Page(), page);
    EXPECT_EQ(Thumbs()->SlotCount(), count);
  }
  ASSERT_TRUE(Thumbs()->WaitForPage(20000));
  // Paging back shows the kept pictures without decoding them again.
  EXPECT_TRUE(window_->OnCommand(kIdThumbNext));
  EXPECT_EQ(Thumbs()->SlotFile(0), Recording(9));
  ASSERT_TRUE(Thumbs()->WaitForPage(20000));
  const int requests = Thumbs()->DecodeRequests();
  EXPECT_TRUE(window_->OnCommand(kIdThumbPrevious));
  EXPECT_TRUE(window_->OnCommand(kIdThumbNext));
  EXPECT_TRUE(window_->OnCommand(kIdThumbPrevious));
  EXPECT_EQ(Thumbs()->DecodeRequests(), requests);
  EXPECT_FALSE(Thumbs()->SlotPicture(1).isNull());
  // Name, date and size with each thumbnail: "YY.MM.DD  30 KB".
  const QStringList details = Thumbs()->SlotDetails(3).split(QLatin1Char('\n'));
  ASSERT_EQ(details.size(), 2);
  EXPECT_EQ(details[0], QStringLiteral("20240101_120200_N1.avi"));
  EXPECT_TRUE(details[1].endsWith(QStringLiteral("  30 KB"))) << details[1].toStdString();
  EXPECT_EQ(details[1].size(), 8 + 2 + 5);
  EXPECT_TRUE(window_->OnCommand(kIdStop));
  EXPECT_FALSE(Thumbs()->isVisible());
  EXPECT_EQ(Thumbs()->SlotCount(), 0);
}

TEST_F(MainWindowStillsTest, ClicksPlayARecordingOrShowAStillAndTheCardsRemovalCloses) {
  window_->OpenCard(Root().string());
  ASSERT_GT(window_->List()->RowCount(), 1);
  ASSERT_TRUE(window_->OnCommand(kIdThumbList));
  // The page replaces the video: playback stops and stays stopped meanwhile.
  EXPECT_EQ(player_->GetState(), kStateClosed);
  ASSERT_TRUE(Thumbs()->WaitForPage(20000));
  window_->OnTimer(kTimerUpdate);
  EXPECT_TRUE(Thumbs()->IsShowing());
  Click(2);
  EXPECT_FALSE(Thumbs()->IsShowing());
  ASSERT_FALSE(player_->opened.empty());
  EXPECT_EQ(player_->opened.back(), Recording(1).string());
  EXPECT_EQ(player_->GetState(), kStatePlaying);
  EXPECT_EQ(window_->List()->RowPath(window_->List()->SelectionMark()), Recording(1).string());

  ASSERT_TRUE(window_->OnCommand(kIdThumbList));
  ASSERT_TRUE(Thumbs()->WaitForPage(20000));
  Click(0);
  ASSERT_NE(window_->StillWindow(), nullptr);
  auto* still = window_->StillWindow()->findChild<CStillView*>();
  ASSERT_NE(still, nullptr);
  EXPECT_EQ(still->Picture().size(), QSize(320, 240));
  EXPECT_EQ(window_->StillWindow()->windowTitle(), QStringLiteral("pic320x240.jpg"));
  // Clicking outside the slots in use does nothing.
  EXPECT_TRUE(window_->OnCommand(kIdThumbNext));
  const std::size_t opened = player_->opened.size();
  Click(8);
  EXPECT_TRUE(Thumbs()->IsShowing());
  EXPECT_EQ(player_->opened.size(), opened);
  // Another drive going away leaves the page; the card going away closes it.
  window_->OnDriveRemoved(QStringLiteral("/media/other"));
  EXPECT_TRUE(Thumbs()->IsShowing());
  window_->OnDriveRemoved(QString::fromStdString(Root().string()));
  EXPECT_FALSE(Thumbs()->IsShowing());
}

TEST_F(MainWindowStillsTest, DownloadMessageSetsTheReloadMarkAndPrintAsks) {
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
  window_->List()->SetSelectionMark(-1);  // else the folder picker would wait
  window_->OnCommand(kIdDownload);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, QStringLiteral("File is not selected."));
  EXPECT_TRUE(window_->ReloadMark());
  window_->List()->SetSelectionMark(0);
  emit tree->itemClicked(tree->topLevelItem(0), 0);
  window_->OnTimer(kTimerUpdate);
  EXPECT_EQ(player_->opened.size(), opened + 1);
  EXPECT_FALSE(window_->ReloadMark());
  // Print opens the print dialog (cancelled here as soon as it is up).
  window_->show();
  bool sawDialog = false;
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
      sawDialog = true;
      dialog->reject();
    }
  });
  closer.start(50);
  EXPECT_TRUE(window_->OnCommand(kIdPrint));
  EXPECT_TRUE(sawDialog);
  EXPECT_EQ(boxes_.Requests().size(), 1u);
}

}  // namespace
}  // namespace lumora
