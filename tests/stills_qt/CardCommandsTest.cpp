// The card commands behind the menu: the drive chooser, Format (its
// refusals, the question and the choice between cards; the unmount, mkfs and
// mount steps are the format flow test's) and Download (its messages, the
// progress dialog, the copy's owner and mode).
#include "library/qt/CCardCommands.h"
#include "library/qt/CSelectDriveDlg.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

namespace lumora {
namespace {

namespace fs = std::filesystem;
const QString kCaption = QStringLiteral("QX-41a");

QString Q(const fs::path& p) { return QString::fromStdString(p.string()); }

TEST(SelectDriveDlg, ListsDisksThenCardsAndReturnsTheChoice) {
  const CFixedDriveEnumerator drives({{"/a", false, true, "/dev/sda1", "ext4"},
                                      {"/dvd", true, false, "/dev/sr0", "udf"},
                                      {"/card", true, false, "/dev/sdc1", "vfat"}});
  CSelectDriveDlg dlg(drives);
  ASSERT_EQ(dlg.DriveList()->count(), 2);
  EXPECT_EQ(dlg.DriveList()->objectName(), QStringLiteral("3024"));
  EXPECT_EQ(dlg.DriveList()->itemText(1), QStringLiteral("/card SD CARD"));
  QTimer::singleShot(0, &dlg, [&] {
    dlg.DriveList()->setCurrentIndex(1);
    dlg.OnOK();
  });
  EXPECT_EQ(dlg.Run(), QStringLiteral("/card SD CARD"));
  EXPECT_EQ(dlg.ChosenRoot(), "/card");
  QTimer::singleShot(0, &dlg, [&] { dlg.reject(); });
  EXPECT_FALSE(dlg.Run().has_value());
  const CFixedDriveEnumerator noDrives({});
  CSelectDriveDlg none(noDrives);
  EXPECT_FALSE(none.Run().has_value());  // returns at once, no dialog shown
}

class FormatCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    StringTable::Instance().SetLanguage(1033);
    dir.Dir("card/NORMAL");
    hooks.size = [this](const fs::path&) { return std::optional<double>(mib * 1048576.0); };
    hooks.format = [this](const DriveInfo& d) {
      formatted.push_back(d.device);
      return FormatResult{FormatStatus::Formatted, (dir / "remounted").string()};
    };
    hooks.openFolder = [this](const QString& root) { opened.push_back(root); };
  }
  CFixedDriveEnumerator Card(bool removable = true) {
    return CFixedDriveEnumerator({{dir / "card", removable, false, "/dev/sdc1", "vfat"}});
  }
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  CCardCommands::FormatHooks hooks;
  double mib = 7600;
  std::vector<std::string> formatted;
  std::vector<QString> opened;
};

TEST_F(FormatCommand, RefusalsSayWhyAndFormatNothing) {
  using Outcome = CCardCommands::FormatOutcome;
  MountEntry root;  // the card's disk also holds the root file system
  root.mountPoint = "/";
  root.source = "/dev/sdc2";
  const struct {
    CFixedDriveEnumerator drives;
    std::vector<MountEntry> mounts;
    double mib;
    Outcome outcome;
    const char* text;
  } rows[] = {
      {Card(false), {}, 7600, Outcome::NoCard, "There is no device SD card."},
      {Card(), {}, 30500, Outcome::TooLarge, "This SD Card should be formatted on device."},
      {Card(),
       {root},
       7600,
       Outcome::NoCard,
       "This device holds system files and cannot be formatted."},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.text);
    boxes.Clear();
    mib = row.mib;
    EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, row.drives, row.mounts, hooks), row.outcome);
    ASSERT_EQ(boxes.Requests().size(), 1u);
    EXPECT_EQ(boxes.Requests()[0].text, QString::fromUtf8(row.text));
    EXPECT_EQ(boxes.Requests()[0].caption, kCaption);
  }
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconError);  // the system disk's message
  EXPECT_TRUE(formatted.empty());
}

TEST_F(FormatCommand, AsksFirstThenFormatsAndOpensTheCard) {
  boxes.QueueAnswer(kIdCancel);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, Card(), {}, hooks),
            CCardCommands::FormatOutcome::Cancelled);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(
      boxes.Requests()[0].text,
      QStringLiteral("Do you want to format the drive %1 of LUMORA SD Card?").arg(Q(dir / "card")));
  EXPECT_EQ(boxes.Requests()[0].buttons, kMbOkCancel);
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconWarning);
  EXPECT_TRUE(formatted.empty());
  boxes.QueueAnswer(kIdOk);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, Card(), {}, hooks),
            CCardCommands::FormatOutcome::Formatted);
  EXPECT_EQ(formatted, std::vector<std::string>{"/dev/sdc1"});
  EXPECT_EQ(opened, std::vector<QString>{Q(dir / "remounted")});
  EXPECT_EQ(boxes.Requests().back().text, QStringLiteral("Format Complete"));
}

// Only cards are offered; the one chosen is formatted; no choice, no format.
TEST_F(FormatCommand, SeveralCardsTheUserPicksWhichOne) {
  dir.Dir("second/NORMAL");
  dir.Dir("disk");  // no camera folders
  const CFixedDriveEnumerator drives({{dir / "disk", false, false, "/dev/sda1", "ext4"},
                                      {dir / "card", true, false, "/dev/sdc1", "vfat"},
                                      {dir / "second", true, false, "/dev/sdd1", "vfat"}});
  std::vector<std::string> offered;
  hooks.chooseDrive = [&](QWidget*, const IDriveEnumerator& list) {
    for (const DriveInfo& d : list.GetDrives()) offered.push_back(d.root.string());
    return std::optional<fs::path>(dir / "second");
  };
  boxes.QueueAnswer(kIdOk);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, drives, {}, hooks),
            CCardCommands::FormatOutcome::Formatted);
  EXPECT_EQ(offered,
            (std::vector<std::string>{(dir / "card").string(), (dir / "second").string()}));
  EXPECT_EQ(formatted, std::vector<std::string>{"/dev/sdd1"});
  EXPECT_TRUE(boxes.Requests()[0].text.contains(Q(dir / "second")));
  boxes.Clear();
  hooks.chooseDrive = [](QWidget*, const IDriveEnumerator&) { return std::optional<fs::path>(); };
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, drives, {}, hooks),
            CCardCommands::FormatOutcome::Cancelled);
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_EQ(formatted.size(), 1u);
}

class DownloadCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    StringTable::Instance().SetLanguage(1033);
    source = dir.File("card/NORMAL/20150102_030405_N1.avi", 3 * CFileDownload::kChunkBytes);
    hooks = Hooks(Q(dir.Dir("pc")));
  }
  CCardCommands::DownloadHooks Hooks(const QString& folder) {
    CCardCommands::DownloadHooks h;
    h.pickFolder = [this, folder](QWidget*, const QString& title) {
      titles.push_back(title);
      return folder;
    };
    h.showProgress = false;
    return h;
  }
  CCardCommands::DownloadOutcome Download(const std::string& file) {
    return CCardCommands::Download(nullptr, kCaption, file, hooks);
  }
  test::TempFolder dir;
  fs::path source;
  MessageBoxRecorder boxes;
  std::vector<QString> titles;
  CCardCommands::DownloadHooks hooks;
};

TEST_F(DownloadCommand, NothingSelectedOrNoFolder) {
  EXPECT_EQ(Download(""), CCardCommands::DownloadOutcome::NotSelected);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("File is not selected."));
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconWarning);
  EXPECT_TRUE(titles.empty());
  boxes.Clear();
  hooks = Hooks(QString());
  EXPECT_EQ(Download(source.string()), CCardCommands::DownloadOutcome::NoFolder);
  EXPECT_EQ(titles, std::vector<QString>{QStringLiteral("Select Download Target folder")});
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_TRUE(fs::is_empty(dir / "pc"));
}

// Over an earlier copy, with the progress dialog in the camera's language.
TEST_F(DownloadCommand, CopiesOverAnExistingFileWithProgress) {
  const fs::path target = dir.Write("pc/20150102_030405_N1.avi", "old");
  hooks.showProgress = true;
  StringTable::Instance().SetLanguage(1041);
  QStringList buttons;
  hooks.progress = [&buttons](std::uint64_t, std::uint64_t) {
    for (QWidget* top : QApplication::topLevelWidgets())
      if (auto* dialog = qobject_cast<QProgressDialog*>(top))
        for (auto* button : dialog->findChildren<QPushButton*>()) buttons << button->text();
    return true;
  };
  EXPECT_EQ(Download(source.string()), CCardCommands::DownloadOutcome::Copied);
  ASSERT_FALSE(buttons.isEmpty());
  EXPECT_EQ(buttons.front(), QStringLiteral("キャンセル"));
  EXPECT_EQ(fs::file_size(target), 3 * CFileDownload::kChunkBytes);
  StringTable::Instance().SetLanguage(1033);
  boxes.Clear();
  EXPECT_EQ(Download(source.string()), CCardCommands::DownloadOutcome::Copied);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text,
            QStringLiteral("The Selected File was copied to %1.").arg(Q(target)));
  EXPECT_EQ(boxes.Requests()[0].caption, kCaption);
}

// The card's file read-only (a write-protected card) and held open as the
// player holds what it plays: the copy is a new file of the user's.
TEST_F(DownloadCommand, CopyBelongsToTheUserAndThePlayingFileStaysOpen) {
  test::MakeReadOnly(source);
  std::ifstream playing(source, std::ios::binary);
  ASSERT_TRUE(playing);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(Download(source.string()), CCardCommands::DownloadOutcome::Copied);
  struct stat st {};
  ASSERT_EQ(stat((dir / "pc" / source.filename()).c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, geteuid());
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);
  char first = 0;
  EXPECT_TRUE(playing.read(&first, 1));
}

TEST_F(DownloadCommand, CancelLeavesNothingAndFailureIsReported) {
  hooks.progress = [](std::uint64_t done, std::uint64_t) {
    return done < CFileDownload::kChunkBytes;
  };
  EXPECT_EQ(Download(source.string()), CCardCommands::DownloadOutcome::Cancelled);
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_TRUE(fs::is_empty(dir / "pc"));
  hooks = Hooks(Q(dir / "gone"));
  EXPECT_EQ(Download(source.string()), CCardCommands::DownloadOutcome::Failed);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconError);
  EXPECT_TRUE(boxes.Requests()[0].text.startsWith(QStringLiteral("The file could not be copied.")))
      << boxes.Requests()[0].text.toStdString();
  EXPECT_FALSE(fs::exists(dir / "gone"));
}

}  // namespace
}  // namespace lumora
