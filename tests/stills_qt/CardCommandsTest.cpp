#include "library/qt/CCardCommands.h"
#include "library/qt/CSelectDriveDlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "TestSupport.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"

namespace lumora {
namespace {

namespace fs = std::filesystem;
const QString kCaption = QStringLiteral("QX-41a");

TEST(SelectDriveDlg, ListsDisksThenCardsAndReturnsTheChoice) {
  test::TempFolder dir;
  CFixedDriveEnumerator drives({{dir.path() / "a", false, true, "/dev/sda1", "ext4"},
                                {dir.path() / "b", false, false, "/dev/sdb1", "ext4"},
                                {dir.path() / "dvd", true, false, "/dev/sr0", "udf"},
                                {dir.path() / "card", true, false, "/dev/sdc1", "vfat"}});
  CSelectDriveDlg dlg(drives);
  ASSERT_EQ(dlg.DriveList()->count(), 3);
  EXPECT_EQ(dlg.DriveList()->objectName(), QStringLiteral("3024"));
  EXPECT_EQ(dlg.DriveList()->itemText(0),
            QString::fromStdString((dir.path() / "a").string()) + QStringLiteral(" HDD"));
  EXPECT_EQ(dlg.DriveList()->itemText(2),
            QString::fromStdString((dir.path() / "card").string()) + QStringLiteral(" SD CARD"));
  EXPECT_EQ(dlg.DriveList()->currentIndex(), 0);
  QTimer::singleShot(0, &dlg, [&] {
    dlg.DriveList()->setCurrentIndex(2);
    dlg.OnOK();
  });
  const auto chosen = dlg.Run();
  ASSERT_TRUE(chosen.has_value());
  EXPECT_TRUE(chosen->endsWith(QStringLiteral(" SD CARD")));
  EXPECT_EQ(dlg.ChosenRoot(), dir.path() / "card");
}

TEST(SelectDriveDlg, NoDriveClosesAsCancelledAndRejectGivesNothing) {
  CFixedDriveEnumerator none({});
  CSelectDriveDlg empty(none);
  EXPECT_FALSE(empty.Run().has_value());  // returns at once, no dialog shown
  test::TempFolder dir;
  CFixedDriveEnumerator one({{dir.path(), true, false, "/dev/sdc1", "vfat"}});
  CSelectDriveDlg dlg(one);
  QTimer::singleShot(0, &dlg, [&] { dlg.reject(); });
  EXPECT_FALSE(dlg.Run().has_value());
}

class FormatCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StringTable::Instance().SetLanguage(1033);
    fs::create_directories(dir.path() / "card" / "NORMAL");
  }
  CCardCommands::FormatHooks Hooks(double mib, bool formatResult) {
    CCardCommands::FormatHooks hooks;
    hooks.size = [mib](const fs::path&) { return std::optional<double>(mib * 1048576.0); };
    hooks.format = [this, formatResult](const DriveInfo& d) {
      formatted.push_back(d.device);
      FormatResult result;
      result.status = formatResult ? FormatStatus::Formatted : FormatStatus::FormatFailed;
      if (formatResult) result.mountPath = (dir.path() / "remounted").string();
      return result;
    };
    hooks.openFolder = [this](const QString& root) { opened.push_back(root); };
    return hooks;
  }
  CFixedDriveEnumerator Card(bool removable = true) {
    return CFixedDriveEnumerator({{dir.path() / "card", removable, false, "/dev/sdc1", "vfat"}});
  }
  QString Text(int id) { return StringTable::Instance().Load(id); }
  test::TempFolder dir;
  MessageBoxRecorder boxes;
  std::vector<std::string> formatted;
  std::vector<QString> opened;
};

TEST_F(FormatCommandTest, RefusedForFixedDiskMissingCardAndLargeCard) {
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, Card(false), {}, Hooks(7600, true)),
            CCardCommands::FormatOutcome::NoCard);
  EXPECT_EQ(
      CCardCommands::Format(nullptr, kCaption, CFixedDriveEnumerator({}), {}, Hooks(7600, true)),
      CCardCommands::FormatOutcome::NoCard);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, Card(), {}, Hooks(30500, true)),
            CCardCommands::FormatOutcome::TooLarge);
  ASSERT_EQ(boxes.Requests().size(), 3u);
  EXPECT_EQ(boxes.Requests()[0].text, Text(623));
  EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("There is no device SD card."));
  EXPECT_EQ(boxes.Requests()[1].text, Text(623));
  EXPECT_EQ(boxes.Requests()[2].text,
            QStringLiteral("This SD Card should be formatted on device."));
  EXPECT_EQ(boxes.Requests()[2].caption, kCaption);
  EXPECT_TRUE(formatted.empty());
}

TEST_F(FormatCommandTest, AskThenFormatOpenAndComplete) {
  boxes.QueueAnswer(kIdCancel);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, Card(), {}, Hooks(15200, true)),
            CCardCommands::FormatOutcome::Cancelled);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  const QString root = QString::fromStdString((dir.path() / "card").string());
  EXPECT_EQ(boxes.Requests()[0].text,
            QStringLiteral("Do you want to format the drive %1 of LUMORA SD Card?").arg(root));
  EXPECT_EQ(boxes.Requests()[0].buttons, kMbOkCancel);
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconWarning);
  EXPECT_TRUE(formatted.empty());

  boxes.Clear();
  boxes.QueueAnswer(kIdOk);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, Card(), {}, Hooks(7600, true)),
            CCardCommands::FormatOutcome::Formatted);
  ASSERT_EQ(formatted.size(), 1u);
  EXPECT_EQ(formatted[0], "/dev/sdc1");
  ASSERT_EQ(opened.size(), 1u);  // where the card was mounted again
  EXPECT_EQ(opened[0], QString::fromStdString((dir.path() / "remounted").string()));
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(boxes.Requests()[1].text, QStringLiteral("Format Complete"));

  boxes.Clear();
  boxes.QueueAnswer(kIdOk);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, Card(), {}, Hooks(7600, false)),
            CCardCommands::FormatOutcome::Failed);
  ASSERT_EQ(boxes.Requests().size(), 2u);
  EXPECT_EQ(boxes.Requests()[1].text, QStringLiteral("Fail to disk format"));
  EXPECT_EQ(opened.size(), 1u);
}

TEST_F(FormatCommandTest, SystemDeviceIsRefusedWithItsOwnMessage) {
  // The card's partition sits on the disk that also holds the root file system.
  CFixedDriveEnumerator drives({{dir.path() / "card", true, false, "/dev/sdc1", "vfat"}});
  MountEntry root;
  root.mountPoint = "/";
  root.source = "/dev/sdc2";
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, drives, {root}, Hooks(7600, true)),
            CCardCommands::FormatOutcome::NoCard);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, Text(CCardCommands::kStrSystemDevice));
  EXPECT_EQ(boxes.Requests()[0].text,
            QStringLiteral("This device holds system files and cannot be formatted."));
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconError);
  EXPECT_TRUE(formatted.empty());
  // The same text in the camera's other languages.
  StringTable::Instance().SetLanguage(1041);
  EXPECT_NE(Text(CCardCommands::kStrSystemDevice), boxes.Requests()[0].text);
  EXPECT_FALSE(Text(CCardCommands::kStrSystemDevice).isEmpty());
}

TEST_F(FormatCommandTest, SeveralCardsTheUserPicksWhichOneIsFormatted) {
  fs::create_directories(dir.path() / "second" / "NORMAL");
  fs::create_directories(dir.path() / "disk");  // no camera folders: not offered
  CFixedDriveEnumerator drives({{dir.path() / "disk", false, false, "/dev/sda1", "ext4"},
                                {dir.path() / "card", true, false, "/dev/sdc1", "vfat"},
                                {dir.path() / "second", true, false, "/dev/sdd1", "vfat"}});
  std::vector<std::vector<std::string>> offered;
  auto hooks = Hooks(7600, true);
  hooks.chooseDrive = [&](QWidget*, const IDriveEnumerator& list) {
    std::vector<std::string> roots;
    for (const DriveInfo& d : list.GetDrives()) roots.push_back(d.root.string());
    offered.push_back(roots);
    return std::optional<fs::path>(dir.path() / "second");
  };
  boxes.QueueAnswer(kIdOk);
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, drives, {}, hooks),
            CCardCommands::FormatOutcome::Formatted);
  ASSERT_EQ(offered.size(), 1u);
  EXPECT_EQ(offered[0], (std::vector<std::string>{(dir.path() / "card").string(),
                                                  (dir.path() / "second").string()}));
  ASSERT_EQ(formatted.size(), 1u);
  EXPECT_EQ(formatted[0], "/dev/sdd1");
  EXPECT_TRUE(
      boxes.Requests()[0].text.contains(QString::fromStdString((dir.path() / "second").string())));

  // Cancelling the choice formats nothing and says nothing.
  boxes.Clear();
  hooks.chooseDrive = [](QWidget*, const IDriveEnumerator&) { return std::optional<fs::path>(); };
  EXPECT_EQ(CCardCommands::Format(nullptr, kCaption, drives, {}, hooks),
            CCardCommands::FormatOutcome::Cancelled);
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_EQ(formatted.size(), 1u);
}

TEST_F(FormatCommandTest, ChooseCardAsksOnlyWhenThereIsAChoice) {
  int asked = 0;
  auto choose = [&](QWidget*, const IDriveEnumerator&) {
    ++asked;
    return std::optional<fs::path>(dir.path() / "other");
  };
  bool cancelled = true;
  EXPECT_FALSE(CCardCommands::ChooseCard(nullptr, CFixedDriveEnumerator({}), CardSearch::AnyDrive,
                                         choose, &cancelled));
  EXPECT_FALSE(cancelled);
  EXPECT_EQ(CCardCommands::ChooseCard(nullptr, Card(), CardSearch::AnyDrive, choose, &cancelled),
            dir.path() / "card");
  EXPECT_EQ(asked, 0);
  // A fixed disk is not a card for the removable-only search.
  EXPECT_FALSE(CCardCommands::ChooseCard(nullptr, Card(false), CardSearch::RemovableOnly, choose));
  fs::create_directories(dir.path() / "other" / "NORMAL");
  CFixedDriveEnumerator two({{dir.path() / "card", true, false, "/dev/sdc1", "vfat"},
                             {dir.path() / "other", false, false, "/dev/sdb1", "ext4"}});
  EXPECT_EQ(CCardCommands::ChooseCard(nullptr, two, CardSearch::AnyDrive, choose, &cancelled),
            dir.path() / "other");
  EXPECT_EQ(asked, 1);
  EXPECT_FALSE(cancelled);
}

class DownloadCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StringTable::Instance().SetLanguage(1033);
    source = dir.path() / "card" / "NORMAL" / "20150102_030405_N1.avi";
    test::WriteText(source, std::string(3 * CFileDownload::kChunkBytes, 'v'));
    fs::create_directories(dir.path() / "pc");
  }
  CCardCommands::DownloadHooks Hooks(QString folder) {
    CCardCommands::DownloadHooks hooks;
    hooks.pickFolder = [this, folder](QWidget*, const QString& title) {
      titles.push_back(title);
      return folder;
    };
    hooks.showProgress = false;
    return hooks;
  }
  test::TempFolder dir;
  fs::path source;
  MessageBoxRecorder boxes;
  std::vector<QString> titles;
};

TEST_F(DownloadCommandTest, NothingSelectedOrNoFolder) {
  EXPECT_EQ(CCardCommands::Download(nullptr, kCaption, "", Hooks("x")),
            CCardCommands::DownloadOutcome::NotSelected);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("File is not selected."));
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconWarning);
  EXPECT_TRUE(titles.empty());
  boxes.Clear();
  EXPECT_EQ(CCardCommands::Download(nullptr, kCaption, source.string(), Hooks(QString())),
            CCardCommands::DownloadOutcome::NoFolder);
  ASSERT_EQ(titles.size(), 1u);
  EXPECT_EQ(titles[0], QStringLiteral("Select Download Target folder"));
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_TRUE(fs::is_empty(dir.path() / "pc"));
}

TEST_F(DownloadCommandTest, CopiesOverAnExistingFileWithProgress) {
  const fs::path target = dir.path() / "pc" / "20150102_030405_N1.avi";
  test::WriteText(target, "old");
  auto hooks = Hooks(QString::fromStdString((dir.path() / "pc").string()));
  hooks.showProgress = true;
  // The progress dialog's button speaks the camera's language.
  StringTable::Instance().SetLanguage(1041);
  QStringList buttons;
  hooks.progress = [&buttons](std::uint64_t, std::uint64_t) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (auto* dialog = qobject_cast<QProgressDialog*>(top)) {
        for (auto* button : dialog->findChildren<QPushButton*>()) buttons << button->text();
      }
    }
    return true;
  };
  EXPECT_EQ(CCardCommands::Download(nullptr, kCaption, source.string(), hooks),
            CCardCommands::DownloadOutcome::Copied);
  StringTable::Instance().SetLanguage(1033);
  ASSERT_FALSE(buttons.isEmpty());
  EXPECT_EQ(buttons.front(), QStringLiteral("キャンセル"));
  boxes.Clear();
  test::WriteText(target, "old");
  hooks.progress = nullptr;
  EXPECT_EQ(CCardCommands::Download(nullptr, kCaption, source.string(), hooks),
            CCardCommands::DownloadOutcome::Copied);
  EXPECT_EQ(fs::file_size(target), 3 * CFileDownload::kChunkBytes);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].text, QStringLiteral("The Selected File was copied to %1.")
                                          .arg(QString::fromStdString(target.string())));
  EXPECT_EQ(boxes.Requests()[0].caption, kCaption);
}

TEST_F(DownloadCommandTest, CopyBelongsToTheUserAndThePlayingFileStaysOpen) {
  // The card's file read-only, as a write-protected card shows it, and held
  // open as the player holds the recording it plays.
  fs::permissions(source, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::ifstream playing(source, std::ios::binary);
  ASSERT_TRUE(playing);
  const mode_t mask = umask(0);
  umask(mask);
  EXPECT_EQ(CCardCommands::Download(nullptr, kCaption, source.string(),
                                    Hooks(QString::fromStdString((dir.path() / "pc").string()))),
            CCardCommands::DownloadOutcome::Copied);
  struct stat st {};
  ASSERT_EQ(stat((dir.path() / "pc" / source.filename()).c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, geteuid());
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);  // a new file of the user's, not the card's mode
  char first = 0;
  EXPECT_TRUE(playing.read(&first, 1));
}

TEST_F(DownloadCommandTest, CancelLeavesNothingAndFailureIsReported) {
  auto hooks = Hooks(QString::fromStdString((dir.path() / "pc").string()));
  hooks.progress = [](std::uint64_t done, std::uint64_t) {
    return done < CFileDownload::kChunkBytes;
  };
  EXPECT_EQ(CCardCommands::Download(nullptr, kCaption, source.string(), hooks),
            CCardCommands::DownloadOutcome::Cancelled);
  EXPECT_TRUE(boxes.Requests().empty());
  EXPECT_TRUE(fs::is_empty(dir.path() / "pc"));

  auto missing = Hooks(QString::fromStdString((dir.path() / "gone").string()));
  EXPECT_EQ(CCardCommands::Download(nullptr, kCaption, source.string(), missing),
            CCardCommands::DownloadOutcome::Failed);
  ASSERT_EQ(boxes.Requests().size(), 1u);
  EXPECT_EQ(boxes.Requests()[0].icon, kMbIconError);
  EXPECT_TRUE(boxes.Requests()[0].text.startsWith(QStringLiteral("The file could not be copied.")))
      << boxes.Requests()[0].text.toStdString();
  EXPECT_FALSE(fs::exists(dir.path() / "gone"));
}

}  // namespace
}  // namespace lumora
