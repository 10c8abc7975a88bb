#include <gtest/gtest.h>

#include "library/CCardLocator.h"
#include "library/CFileCollector.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

using test::TempFolder;

DriveInfo Drive(const std::filesystem::path& root, bool removable, bool system = false) {
  DriveInfo d;
  d.root = root;
  d.removable = removable;
  d.system = system;
  return d;
}

TEST(CardLocator, FirstDriveWithNormalFolderInOrder) {
  TempFolder t;
  const auto a = t.Dir("a"), b = t.Dir("b"), c = t.Dir("c");
  t.Dir("b/NORMAL");
  t.Dir("c/NORMAL");
  CFixedDriveEnumerator drives({Drive(a, true), Drive(b, true), Drive(c, true)});
  EXPECT_EQ(CCardLocator::FindCardRoot(drives, CardSearch::AnyDrive), b);
  EXPECT_EQ(CCardLocator::FindCardRoot(drives, CardSearch::RemovableOnly), b);
}

TEST(CardLocator, FixedDiskOnlyByAnyDriveAndCardOnlyWhenRemovable) {
  TempFolder t;
  const auto fixed = t.Dir("fixed"), card = t.Dir("card"), system = t.Dir("system");
  t.Dir("fixed/NORMAL");
  t.Dir("card/NORMAL");
  t.Dir("system/NORMAL");
  CFixedDriveEnumerator onlyFixed({Drive(system, false, true), Drive(fixed, false)});
  EXPECT_EQ(CCardLocator::FindCardRoot(onlyFixed, CardSearch::AnyDrive), fixed);
  EXPECT_EQ(CCardLocator::FindCardRoot(onlyFixed, CardSearch::RemovableOnly), std::nullopt);
  // The removable variant passes over the fixed disk to the card behind it.
  CFixedDriveEnumerator both({Drive(fixed, false), Drive(card, true)});
  EXPECT_EQ(CCardLocator::FindCardRoot(both, CardSearch::AnyDrive), fixed);
  EXPECT_EQ(CCardLocator::FindCardRoot(both, CardSearch::RemovableOnly), card);
  // The system's own drive is never taken by the any-drive variant.
  CFixedDriveEnumerator sys({Drive(system, false, true)});
  EXPECT_EQ(CCardLocator::FindCardRoot(sys, CardSearch::AnyDrive), std::nullopt);
}

TEST(CardLocator, NamesMatchWithoutRegardToCase) {
  TempFolder t;
  const auto card = t.Dir("card");
  t.Dir("card/Normal");
  CFixedDriveEnumerator drives({Drive(card, true)});
  EXPECT_EQ(CCardLocator::FindCardRoot(drives, CardSearch::RemovableOnly), card);
  t.File("card/data_logger/Data_Logger.DIR");
  auto folder = CCardLocator::FindLoggerFile(drives, true);
  ASSERT_TRUE(folder);
  EXPECT_EQ(*folder, card / "data_logger" / "");
  EXPECT_EQ(CCardLocator::Resolve(card, "DATA_LOGGER/data_logger.dir"),
            card / "data_logger" / "Data_Logger.DIR");
  EXPECT_EQ(CCardLocator::Resolve(card, "EVENT"), std::nullopt);
}

TEST(CardLocator, NoCardFound) {
  TempFolder t;
  CFixedDriveEnumerator none({Drive(t.Dir("x"), true), Drive(t.path() / "missing", true)});
  EXPECT_EQ(CCardLocator::FindCardRoot(none, CardSearch::AnyDrive), std::nullopt);
  EXPECT_EQ(CCardLocator::FindLoggerFile(none, false), std::nullopt);
  EXPECT_TRUE(CCardLocator::FindSetupFile(none).empty());
  CFixedDriveEnumerator empty({});
  EXPECT_EQ(CCardLocator::FindCardRoot(empty, CardSearch::RemovableOnly), std::nullopt);
}

TEST(CardLocator, LoggerFileFolderOrRoot) {
  TempFolder t;
  const auto a = t.Dir("a"), b = t.Dir("b");
  t.Dir("a/DATA_LOGGER");  // folder without the index file
  t.File("b/DATA_LOGGER/DATA_LOGGER.dir");
  CFixedDriveEnumerator drives({Drive(a, false), Drive(b, false)});
  EXPECT_EQ(CCardLocator::FindLoggerFile(drives, false), b);
  const auto folder = CCardLocator::FindLoggerFile(drives, true);
  ASSERT_TRUE(folder);
  EXPECT_EQ(*folder, b / "DATA_LOGGER" / "");
  EXPECT_TRUE(folder->string().ends_with("/"));
}

TEST(CardLocator, SetupFilePrefersCfgThenRoot) {
  TempFolder t;
  const auto card = t.Dir("card");
  t.Dir("card/NORMAL");
  CFixedDriveEnumerator drives({Drive(card, true)});
  EXPECT_TRUE(CCardLocator::FindSetupFile(drives).empty());
  t.File("card/data_setup.cfg");
  EXPECT_EQ(CCardLocator::FindSetupFile(drives), card / "data_setup.cfg");
  t.File("card/cfg/data_setup.cfg");
  EXPECT_EQ(CCardLocator::FindSetupFile(drives), card / "cfg" / "data_setup.cfg");
  // A cfg entry that cannot be opened as a file falls back to the root one.
  std::filesystem::remove(card / "cfg" / "data_setup.cfg");
  t.Dir("card/cfg/data_setup.cfg");
  EXPECT_EQ(CCardLocator::FindSetupFile(drives), card / "data_setup.cfg");
  // Only removable drives are searched for the settings file.
  CFixedDriveEnumerator fixed({Drive(card, false)});
  EXPECT_TRUE(CCardLocator::FindSetupFile(fixed).empty());
}

TEST(FileCollector, CollectsEveryFileBelowAFolder) {
  TempFolder t;
  t.File("NORMAL/b.avi");
  t.File("NORMAL/a.avi");
  t.File("NORMAL/sub/c.avi");
  t.File("NORMAL/sub/deeper/d.avi");
  t.Dir("NORMAL/empty");
  const auto files = CFileCollector::Collect(t.path() / "NORMAL");
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(files[0], t.path() / "NORMAL/a.avi");
  EXPECT_EQ(files[1], t.path() / "NORMAL/b.avi");
  EXPECT_EQ(files[2], t.path() / "NORMAL/sub/c.avi");
  EXPECT_EQ(files[3], t.path() / "NORMAL/sub/deeper/d.avi");
  EXPECT_TRUE(CFileCollector::Collect(t.path() / "missing").empty());
}

TEST(FileCollector, LinkLoopsAreNotFollowed) {
  TempFolder t;
  t.File("card/x.avi");
  std::filesystem::create_directory_symlink(t.path() / "card", t.path() / "card/loop");
  const auto files = CFileCollector::Collect(t.path() / "card");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0].filename(), "x.avi");
}

}  // namespace
}  // namespace lumora
