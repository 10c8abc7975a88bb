// The card commands (Format's steps are the format flow test's), printing a
// window (to PDF, read back with pdftoppm) and the still window.
#include "display/qt/CPrintScreen.h"
#include "display/qt/CStillView.h"
#include "library/qt/CCardCommands.h"
#include "library/qt/CSelectDriveDlg.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "tests/support/Cli.h"
#include "tests/support/Pictures.h"
#include "tests/support/TempFolder.h"
#include "tests/support/WidgetInput.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

namespace lumora {
namespace {

namespace fs = std::filesystem;
using Format = CCardCommands::FormatOutcome;
using Download = CCardCommands::DownloadOutcome;
const QString kCaption = QStringLiteral("QX-41a");

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

TEST(SelectDriveDlg, ListsDisksThenCardsAndReturnsTheChoice) {
  const CFixedDriveEnumerator drives({{"/a", false, true, "/dev/sda1", "ext4"},
                                      {"/dvd", true, false, "/dev/sr0", "udf"},
                                      {"/card", true, false, "/dev/sdc1", "vfat"}});
  CSelectDriveDlg dlg(drives);
  ASSERT_EQ(dlg.DriveList()->count(), 2);
  EXPECT_EQ(dlg.DriveList()->objectName(), QStringLiteral("3024"));
  QTimer::singleShot(0, &dlg, [&] {
    dlg.DriveList()->setCurrentIndex(1);
    dlg.OnOK();
  });
  EXPECT_EQ(dlg.Run(), QStringLiteral("/card SD CARD"));
  EXPECT_EQ(dlg.ChosenRoot(), "/card");
}

// A card at dir/card (7600 MiB unless a test says otherwise) whose format
// succeeds and mounts it at dir/remounted; a download source on it.
class CardCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    StringTable::Instance().SetLanguage(1033);
    dir.Dir("card/NORMAL");
    format.size = [this](const fs::path&) { return std::optional<double>(mib * 1048576.0); };
    format.format = [this](const DriveInfo& d) {
      formatted.push_back(d.device);
      return FormatResult{FormatStatus::Formatted, (dir / "remounted").string()};
    };
    format.openFolder = [this](const QString& root) { opened.push_back(root); };
    source = dir.File("card/NORMAL/20150102_030405_N1.avi", 3 * CFileDownload::kChunkBytes);
    Into(dir.Dir("pc"));
  }
  CFixedDriveEnumerator Card(bool removable = true) {
    return CFixedDriveEnumerator({{dir / "card", removable, false, "/dev/sdc1", "vfat"}});
  }
  // Downloads pick `folder` (empty: the picker is cancelled).
  void Into(const fs::path& folder) {
    download.pickFolder = [this, folder](QWidget*, const QString& title) {
      titles.push_back(title);
      return folder.empty() ? QString() : Q(folder);
    };
    download.showProgress = false;
  }
  Download Run(const std::string& file) {
    return CCardCommands::Download(nullptr, kCaption, file, download);
  }
  const QString& Text(std::size_t i) { return boxes.Requests().at(i).text; }

  test::TempFolder dir;
  MessageBoxRecorder boxes;
  CCardCommands::FormatHooks format;
  CCardCommands::DownloadHooks download;
  double mib = 7600;
  fs::path source;
  std::vector<std::string> formatted;
  std::vector<QString> opened;
  std::vector<QString> titles;
};

TEST_F(CardCommands, FormatRefusalsSayWhyAndFormatNothing) {
  const std::vector<MountEntry> rootOnCardDisk{{.mountPoint = "/", .source = "/dev/sdc2"}};
  const struct {
    bool removable;
    double mib;
    std::vector<MountEntry> mounts;
    Format outcome;
    const char* text;
  } rows[] = {
      {false, 7600, {}, Format::NoCard, "There is no device SD card."},
      {true, 30500, {}, Format::TooLarge, "This SD Card should be formatted on device."},
      {true, 7600, rootOnCardDisk, Format::NoCard,
       "This device holds system files and cannot be formatted."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    boxes.Clear();
    mib = row.mib;
    EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, Card(row.removable), row.mounts, format),
              row.outcome);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(Text(0), QString::fromUtf8(row.text));
    EXPECT_EQ(boxes.Requests()[0].caption, kCaption);
  }
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconError);  // the system disk's message
  EXPECT_TRUE(formatted.empty());
}

TEST_F(CardCommands, FormatAsksFirstThenFormatsAndOpensTheCard) {
  boxes.QueueAnswer(kIdCancel);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, Card(), {}, format), Format::Cancelled);
  EXPECT_EQ(
      Text(0),
      QStringLiteral("Do you want to format the drive %1 of LUMORA SD Card?").arg(Q(dir / "card")));
  EXPECT_EQ(boxes.Requests()[0].buttons, kMbOkCancel);
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconWarning);
  EXPECT_TRUE(formatted.empty());
  boxes.QueueAnswer(kIdOk);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, Card(), {}, format), Format::Formatted);
  EXPECT_EQ(formatted, std::vector<std::string>{"/dev/sdc1"});
  EXPECT_EQ(opened, std::vector<QString>{Q(dir / "remounted")});
  EXPECT_EQ(Text(2), QStringLiteral("Format Complete"));
}

// Only cards are offered; the one chosen is formatted; no choice, no format.
TEST_F(CardCommands, FormatOfSeveralCardsTheUserPicksWhichOne) {
  dir.Dir("second/NORMAL");
  dir.Dir("disk");  // no camera folders
  const CFixedDriveEnumerator drives({{dir / "disk", false, false, "/dev/sda1", "ext4"},
                                      {dir / "card", true, false, "/dev/sdc1", "vfat"},
                                      {dir / "second", true, false, "/dev/sdd1", "vfat"}});
  std::vector<std::string> offered;
  format.chooseDrive = [&](QWidget*, const IDriveEnumerator& list) {
    for (const DriveInfo& d : list.GetDrives()) offered.push_back(d.root.string());
    return std::optional<fs::path>(dir / "second");
  };
  boxes.QueueAnswer(kIdOk);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, drives, {}, format), Format::Formatted);
  EXPECT_EQ(offered,
            (std::vector<std::string>{(dir / "card").string(), (dir / "second").string()}));
  EXPECT_EQ(formatted, std::vector<std::string>{"/dev/sdd1"});
  EXPECT_TRUE(Text(0).contains(Q(dir / "second")));
  boxes.Clear();
  format.chooseDrive = [](QWidget*, const IDriveEnumerator&) { return std::optional<fs::path>(); };
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, drives, {}, format), Format::Cancelled);
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_EQ(formatted.size(), 1u);
}

// Nothing selected (the main window test shows its message), no folder
// picked, a cancelled copy: nothing is copied or said; a failure is reported.
TEST_F(CardCommands, DownloadStopsWithoutFileFolderOrWhenCancelledOrFailed) {
  EXPECT_EQ(Run(""), Download::NotSelected);
  EXPECT_TRUE(titles.empty());
  boxes.Clear();
  download.progress = [](std::uint64_t, std::uint64_t) { return false; };
  EXPECT_EQ(Run(source.string()), Download::Cancelled);
  Into({});
  EXPECT_EQ(Run(source.string()), Download::NoFolder);
  EXPECT_EQ(titles.back(), QStringLiteral("Select Download Target folder"));
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_TRUE(fs::is_empty(dir / "pc"));
  download.progress = nullptr;
  Into(dir / "gone");
  EXPECT_EQ(Run(source.string()), Download::Failed);
  EXPECT_EQ(boxes.Requests().at(0).icon, kMbIconError);
  EXPECT_TRUE(Text(0).startsWith(QStringLiteral("The file could not be copied.")))
      << Text(0).toStdString();
  EXPECT_FALSE(fs::exists(dir / "gone"));
}

// Over an earlier copy, with the progress dialog in the camera's language.
TEST_F(CardCommands, DownloadCopiesOverAnEarlierCopyWithProgress) {
  const fs::path target = dir.Write("pc/20150102_030405_N1.avi", "old");
  download.showProgress = true;
  StringTable::Instance().SetLanguage(1041);
  QStringList buttons;
  download.progress = [&buttons](std::uint64_t, std::uint64_t) {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QProgressDialog*>(top))
        for (auto* button : dialog->findChildren<QPushButton*>()) buttons << button->text();
    return true;
  };
  EXPECT_EQ(Run(source.string()), Download::Copied);
  ASSERT_FALSE(buttons.isEmpty());
  EXPECT_EQ(buttons.front(), QStringLiteral("キャンセル"));
  StringTable::Instance().SetLanguage(1033);
  download.progress = nullptr;
  EXPECT_EQ(Run(source.string()), Download::Copied);
  EXPECT_EQ(Text(1), QStringLiteral("The Selected File was copied to %1.").arg(Q(target)));
}

// The card's file read-only (a write-protected card) and held open as the
// player holds what it plays: the copy is a new file of the user's.
TEST_F(CardCommands, DownloadedCopyBelongsToTheUserAndThePlayingFileStaysOpen) {
  test::MakeReadOnly(source);
  std::ifstream playing(source, std::ios::binary);
  ASSERT_TRUE(playing);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(Run(source.string()), Download::Copied);
  struct stat st {};
  ASSERT_EQ(stat((dir / "pc" / source.filename()).c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, geteuid());
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
  char first = 0;
  EXPECT_TRUE(playing.read(&first, 1));
}

bool Near(QRgb c, int r, int g, int b) {
  return std::abs(qRed(c) - r) < 40 && std::abs(qGreen(c) - g) < 40 && std::abs(qBlue(c) - b) < 40;
}

// A 400 x 300 window against the 1024 x 768 reference on a landscape A4 page:
// about 37% of the page width and 39% of its height, at the top left. A
// cancelled dialog prints and says nothing; without a printer: "Print Fail".
TEST(PrintScreen, PrintsTheWindowScaledOntoAWhitePage) {
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  QLabel window;  // 400 x 300, its left half red and its right half blue
  window.setPixmap(test::Strip(QSize(200, 300), {Qt::red, Qt::blue}));
  window.show();
  CPrintScreen printer(QString(), kCaption);
  bool accept = true;  // the dialog's answer; it asks for a landscape A4 PDF
  printer.SetDialog([&](QPrinter& p, QWidget*) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(Q(dir / (accept ? "print.pdf" : "never.pdf")));
    p.setPageSize(QPageSize(QPageSize::A4));
    p.setPageOrientation(QPageLayout::Landscape);
    return accept;
  });
  ASSERT_TRUE(printer.Print(CPrintScreen::kWindow, CPrintScreen::kPortrait, true, &window));
  EXPECT_TRUE(boxes.Requests().empty());
  ASSERT_EQ(test::RunCommand("pdftoppm -png -r 20 -singlefile " + test::Quote(dir / "print.pdf") +
                             " " + test::Quote(dir / "page"))
                .exitCode,
            0);
  const QImage page(Q(dir / "page.png"));
  ASSERT_GT(page.width(), page.height());
  const auto at = [&](int xPercent, int yPercent) {
    return page.pixel(page.width() * xPercent / 100, page.height() * yPercent / 100);
  };
  EXPECT_TRUE(Near(at(5, 10), 255, 0, 0));
  EXPECT_TRUE(Near(at(30, 30), 0, 0, 255));
  for (const auto& [x, y] : {std::pair{60, 20}, {10, 70}, {90, 90}})
    EXPECT_TRUE(Near(at(x, y), 255, 255, 255)) << x << "," << y;
  accept = false;
  EXPECT_FALSE(printer.Print(CPrintScreen::kWindow, CPrintScreen::kPortrait, true, &window));
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_FALSE(fs::exists(dir / "never.pdf"));
  if (!QPrinterInfo::defaultPrinterName().isEmpty()) GTEST_SKIP() << "a printer is installed";
  EXPECT_FALSE(printer.Print(CPrintScreen::kClient, CPrintScreen::kLandscape, false, &window));
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("Print Fail"));
  EXPECT_EQ(boxes.Requests()[0].caption, kCaption);
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconError);
}

// Top left of the test picture has no red or green, bottom right both, drawn
// stretched to 320 x 240; the decoder's messages are shown, a bad file leaves
// the view empty.
TEST(StillView, ShowsTheDecodedPictureOrTheDecodersMessages) {
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  ASSERT_FALSE(test::MakeJpeg(dir.path(), 160, 120).empty());
  CStillView view(nullptr, kCaption);
  ASSERT_TRUE(view.LoadFile(dir / "pic160x120.jpg"));
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_EQ(view.Picture().size(), QSize(160, 120));
  view.resize(400, 300);
  const QImage shown = view.grab().toImage();
  EXPECT_LT(qRed(shown.pixel(4, 4)), 50);
  EXPECT_LT(qGreen(shown.pixel(4, 4)), 50);
  EXPECT_GT(qRed(shown.pixel(315, 235)), 200);
  EXPECT_GT(qGreen(shown.pixel(315, 235)), 200);
  const auto progressive = test::MakeJpeg(dir.path(), 32, 32, "-progressive");
  EXPECT_FALSE(view.LoadMemory(progressive.data(), progressive.size()));
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("Prog + Huff is not supported"));
  EXPECT_EQ(boxes.Requests()[1].text, QStringLiteral("Can not read the file header"));
  EXPECT_EQ(boxes.Requests()[1].caption, kCaption);
  EXPECT_TRUE(view.Picture().isNull());
  EXPECT_FALSE(view.LoadFile(dir / "missing.jpg"));
  EXPECT_FALSE(view.LoadFile(dir.Write("empty.jpg", "")));
  EXPECT_TRUE(view.Bitmap().Empty());
}

}  // namespace
}  // namespace lumora
