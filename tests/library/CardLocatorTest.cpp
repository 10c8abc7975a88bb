// Finding the card among the drives (order, removable and system drives,
// names in any case), its logger and settings files, and collecting the
// files below a folder.
#include <gtest/gtest.h>

#include <map>

#include "library/CCardLocator.h"
#include "library/CFileCollector.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

using test::TempFolder;

class CardLocator : public testing::Test {
 protected:
  // Drives by name: folders of the test, those but "none" and "missing" hold
  // a NORMAL folder ("lower" spells it "Normal").
  void SetUp() override {
    const struct {
      const char* name;
      const char* marker;
      bool removable;
      bool system;
    } drives[] = {{"none", nullptr, true, false},   {"card", "NORMAL", true, false},
                  {"card2", "NORMAL", true, false}, {"fixed", "NORMAL", false, false},
                  {"sys", "NORMAL", false, true},   {"lower", "Normal", true, false},
                  {"missing", nullptr, true, false}};
    for (const auto& d : drives) {
      DriveInfo info;
      info.root = std::string(d.name) == "missing" ? t_ / "missing" : t_.Dir(d.name);
      if (d.marker) t_.Dir(std::string(d.name) + "/" + d.marker);
      info.removable = d.removable;
      info.system = d.system;
      drives_[d.name] = info;
    }
  }
  CFixedDriveEnumerator Drives(const std::vector<const char*>& names) {
    std::vector<DriveInfo> list;
    for (const char* name : names) list.push_back(drives_.at(name));
    return CFixedDriveEnumerator(list);
  }

  TempFolder t_;
  std::map<std::string, DriveInfo> drives_;
};

TEST_F(CardLocator, CardDrivesInDriveOrder) {
  const struct {
    std::vector<const char*> drives;
    CardSearch search;
    std::vector<std::string> found;
  } rows[] = {
      {{"none", "card", "card2"}, CardSearch::AnyDrive, {"card", "card2"}},
      {{"none", "card", "card2"}, CardSearch::RemovableOnly, {"card", "card2"}},
      {{"sys", "fixed"}, CardSearch::AnyDrive, {"fixed"}},
      {{"sys", "fixed"}, CardSearch::RemovableOnly, {}},
      {{"fixed", "card"}, CardSearch::AnyDrive, {"fixed", "card"}},
      {{"fixed", "card"}, CardSearch::RemovableOnly, {"card"}},
      {{"lower"}, CardSearch::RemovableOnly, {"lower"}},
      {{"none", "missing"}, CardSearch::AnyDrive, {}},
      {{}, CardSearch::AnyDrive, {}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.drives.size() << " drives, first found "
                                    << (r.found.empty() ? "none" : r.found[0]));
    const CFixedDriveEnumerator drives = Drives(r.drives);
    std::vector<std::string> found;
    for (const DriveInfo& d : CCardLocator::FindCardDrives(drives, r.search))
      found.push_back(d.root.filename().string());
    EXPECT_EQ(found, r.found);
    const auto root = CCardLocator::FindCardRoot(drives, r.search);
    EXPECT_EQ(root, r.found.empty() ? std::nullopt : std::optional(t_ / r.found[0]));
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
