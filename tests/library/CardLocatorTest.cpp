// Finding the card among the drives, its logger and settings files (names in
// any case), and collecting the files below a folder.
#include <gtest/gtest.h>

#include "library/CCardLocator.h"
#include "library/CFileCollector.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

using test::TempFolder;

class CardLocator : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* dir :
         {"none", "card/NORMAL", "card2/NORMAL", "fixed/NORMAL", "sys/NORMAL", "lower/Normal"})
      t_.Dir(dir);
  }
  // Drives by folder name: "fixed" and "sys" are fixed disks, "sys" the system's own.
  CFixedDriveEnumerator Drives(const std::vector<std::string>& names) const {
    std::vector<DriveInfo> list;
    for (const std::string& name : names) {
      DriveInfo d;
      d.root = t_ / name;
      d.removable = name != "fixed" && name != "sys";
      d.system = name == "sys";
      list.push_back(d);
    }
    return CFixedDriveEnumerator(list);
  }
  TempFolder t_;
};

TEST_F(CardLocator, CardDrivesInDriveOrder) {
  using Names = std::vector<std::string>;
  const struct {
    Names drives, any, removable;
  } rows[] = {
      {{"none", "card", "card2"}, {"card", "card2"}, {"card", "card2"}},
      {{"sys", "fixed", "lower"}, {"fixed", "lower"}, {"lower"}},
      {{"none", "missing"}, {}, {}},
      {{}, {}, {}},
  };
  for (const auto& r : rows) {
    const CFixedDriveEnumerator drives = Drives(r.drives);
    for (auto [search, expected] : {std::pair(CardSearch::AnyDrive, r.any),
                                    std::pair(CardSearch::RemovableOnly, r.removable)}) {
      SCOPED_TRACE(testing::Message() << r.drives.size() << " drives, search " << int(search));
      Names found;
      for (const DriveInfo& d : CCardLocator::FindCardDrives(drives, search))
        found.push_back(d.root.filename());
      EXPECT_EQ(found, expected);
      EXPECT_EQ(CCardLocator::FindCardRoot(drives, search),
                expected.empty() ? std::nullopt : std::optional(t_ / expected[0]));
    }
  }
}

TEST_F(CardLocator, LoggerAndSetupFiles) {
  // The logger index in any case; a folder without it does not count.
  t_.Dir("none/DATA_LOGGER");
  t_.File("lower/data_logger/Data_Logger.DIR");
  t_.File("sys/DATA_LOGGER/DATA_LOGGER.dir");  // never the system's drive
  const CFixedDriveEnumerator drives = Drives({"none", "lower"});
  EXPECT_EQ(CCardLocator::FindLoggerFile(drives, false), t_ / "lower");
  EXPECT_EQ(CCardLocator::FindLoggerFile(drives, true), t_ / "lower/data_logger/");
  EXPECT_EQ(CCardLocator::FindLoggerFile(Drives({"sys", "none"}), false), std::nullopt);
  EXPECT_EQ(CCardLocator::Resolve(t_ / "lower", "DATA_LOGGER/data_logger.dir"),
            t_ / "lower/data_logger/Data_Logger.DIR");
  EXPECT_EQ(CCardLocator::Resolve(t_ / "lower", "EVENT"), std::nullopt);

  // The settings file: cfg/ first, then the root, only what opens as a file,
  // only on a removable card.
  const CFixedDriveEnumerator card = Drives({"card"});
  EXPECT_TRUE(CCardLocator::FindSetupFile(card).empty());
  t_.File("card/data_setup.cfg");
  EXPECT_EQ(CCardLocator::FindSetupFile(card), t_ / "card/data_setup.cfg");
  t_.File("card/cfg/data_setup.cfg");
  EXPECT_EQ(CCardLocator::FindSetupFile(card), t_ / "card/cfg/data_setup.cfg");
  std::filesystem::remove(t_ / "card/cfg/data_setup.cfg");
  t_.Dir("card/cfg/data_setup.cfg");
  EXPECT_EQ(CCardLocator::FindSetupFile(card), t_ / "card/data_setup.cfg");
  t_.File("fixed/data_setup.cfg");
  EXPECT_TRUE(CCardLocator::FindSetupFile(Drives({"fixed"})).empty());
}

TEST(FileCollector, EveryFileBelowAFolderSortedWithoutFollowingLinks) {
  TempFolder t;
  for (const char* name :
       {"NORMAL/b.avi", "NORMAL/a.avi", "NORMAL/sub/deeper/d.avi", "NORMAL/sub/c.avi"})
    t.File(name);
  t.Dir("NORMAL/empty");
  std::filesystem::create_directory_symlink(t / "NORMAL", t / "NORMAL/sub/loop");
  const std::vector<std::filesystem::path> expected = {t / "NORMAL/a.avi", t / "NORMAL/b.avi",
                                                       t / "NORMAL/sub/c.avi",
                                                       t / "NORMAL/sub/deeper/d.avi"};
  EXPECT_EQ(CFileCollector::Collect(t / "NORMAL"), expected);
  EXPECT_TRUE(CFileCollector::Collect(t / "missing").empty());
}

}  // namespace
}  // namespace lumora
