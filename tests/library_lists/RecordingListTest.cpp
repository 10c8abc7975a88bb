// The list rules: card scan and classification, the kind filter with its
// "File" rows, the date order and its mirrored selection, and the rows added
// from the open dialog (".avi" only, more than 10 KiB, read-only opening,
// names that compare equal kept in the order chosen).
#include "library/CRecordingList.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace lumora {
namespace {

using lumora::test::TempFolder;

std::vector<std::string> Names(const std::vector<ListRow>& rows) {
  std::vector<std::string> names;
  for (const ListRow& row : rows)
    names.push_back(std::filesystem::path(row.path).filename().string());
  return names;
}

class CardScan : public testing::Test {
 protected:
  void SetUp() override {
    card_.File("NORMAL/20150102_030405_N1.avi");
    card_.File("NORMAL/20150102_030405_N2.avi");
    card_.File("NORMAL/20150103_101010_N1.avi");
    card_.File("EVENT/20150102_040000_E1.avi");
    card_.File("EVENT/20150102_050000_I1.avi");
    card_.File("PARKING/20150101_235959_P1.avi");
    card_.File("NORMAL/sub/20150104_000000_N1.avi");
    card_.File("NORMAL/20150105_000000_N1.txt");
    card_.File("CAPTURE/20150105_000000_N1.avi");
    card_.File("NORMAL/20150106_070809_N1.MP4");
  }
  TempFolder card_;
  CRecordingList list_;
};

TEST_F(CardScan, ListsRecordingsOfTheThreeFoldersNewestFirst) {
  EXPECT_EQ(list_.ScanCard(card_.path()), 7);
  EXPECT_EQ(list_.Master().size(), 7u);
  EXPECT_EQ(list_.RecordCount(), 7);
  const std::vector<std::string> expected = {"20150106_070809_N1.MP4", "20150103_101010_N1.avi",
                                             "20150102_050000_I1.avi", "20150102_040000_E1.avi",
                                             "20150102_030405_N1.avi", "20150102_030405_N2.avi",
                                             "20150101_235959_P1.avi"};
  std::vector<std::string> names = Names(list_.Visible());
  // The two recordings of the same second may come in either order.
  ASSERT_EQ(names.size(), expected.size());
  std::sort(names.begin() + 4, names.begin() + 6);
  EXPECT_EQ(names, expected);
  const ListRow& first = list_.Visible().front();
  EXPECT_EQ(first.date, "2015-01-06");
  EXPECT_EQ(first.time, "07:08:09");
  EXPECT_EQ(first.kind, "NORMAL");
}

TEST_F(CardScan, KindComesFromSuffixThenFolder) {
  list_.ScanCard(card_.path());
  auto kindOf = [&](const std::string& name) {
    for (const ListRow& row : list_.Master())
      if (std::filesystem::path(row.path).filename() == name) return row.kind;
    return std::string("missing");
  };
  EXPECT_EQ(kindOf("20150102_050000_I1.avi"), "NORMAL");
  EXPECT_EQ(kindOf("20150102_040000_E1.avi"), "EVENT");
  EXPECT_EQ(kindOf("20150101_235959_P1.avi"), "PARKING");
  EXPECT_EQ(kindOf("20150104_000000_N1.avi"), "missing");
  const RecordingRecord& record = list_.Records().front();
  EXPECT_EQ(record.dateTime.size(), 19u);
}

TEST_F(CardScan, FilterKeepsFileRowsAndChosenKinds) {
  list_.ScanCard(card_.path());
  list_.ShowOnly(false, true, false);
  EXPECT_EQ(Names(list_.Visible()), std::vector<std::string>{"20150102_040000_E1.avi"});
  EXPECT_EQ(list_.Staging().size(), 1u);
  list_.ShowOnly(false, false, true);
  EXPECT_EQ(Names(list_.Visible()), std::vector<std::string>{"20150101_235959_P1.avi"});
  list_.ShowOnly(true, false, false);
  EXPECT_EQ(list_.Visible().size(), 5u);
  list_.ShowOnly(false, false, false);
  EXPECT_TRUE(list_.Visible().empty());
  EXPECT_EQ(list_.Master().size(), 7u);
}

TEST(ListFilterRule, LabelsAreExactAndFileAlwaysPasses) {
  const ListFilter eventOnly{false, true, false};
  EXPECT_TRUE(CRecordingList::Passes("File", eventOnly));
  EXPECT_TRUE(CRecordingList::Passes("File", ListFilter{false, false, false}));
  EXPECT_TRUE(CRecordingList::Passes("Event", eventOnly));
  EXPECT_TRUE(CRecordingList::Passes("EVENT", eventOnly));
  EXPECT_FALSE(CRecordingList::Passes("event", eventOnly));
  EXPECT_FALSE(CRecordingList::Passes("NORMAL", eventOnly));
  EXPECT_TRUE(CRecordingList::Passes("Parking", ListFilter{false, false, true}));
  EXPECT_TRUE(CRecordingList::Passes("Normal", ListFilter{true, false, false}));
  EXPECT_FALSE(CRecordingList::Passes("File ", eventOnly));
}

TEST_F(CardScan, OrderToggleMirrorsTheSelectionOntoTheSameRecording) {
  list_.ScanCard(card_.path());
  EXPECT_EQ(list_.Order(), 1);
  for (int selected = 0; selected < 7; ++selected) {
    const std::string path = list_.Visible()[selected].path;
    const int mirrored = list_.ToggleOrder(selected);
    ASSERT_EQ(mirrored, 6 - selected);
    EXPECT_EQ(list_.Visible()[mirrored].path, path) << selected;
  }
  EXPECT_EQ(list_.ToggleOrder(-1), -1);
  EXPECT_EQ(list_.ToggleOrder(7), -1);
  list_.SetOrder(0);
  list_.Refill();
  EXPECT_EQ(Names(list_.Visible()).front(), "20150101_235959_P1.avi");
}

TEST(OpenedFiles, LargerAviAndMp4FilesInAnyCaseAreListedAsFileRows) {
  TempFolder folder;
  const auto small = folder.File("x/20150102_030405_N1.avi", 10 * 1024);
  const auto large = folder.File("x/20150102_030406_N1.avi", 11 * 1024);
  const auto mp4 = folder.File("x/20150102_030407_N1.mp4", 50 * 1024);
  const auto upper = folder.File("x/20150102_030408_N1.AVI", 50 * 1024);
  const auto upperMp4 = folder.File("x/20150102_030409_N1.Mp4", 50 * 1024);
  const auto other = folder.File("x/20150102_030410_N1.avi.txt", 50 * 1024);
  CRecordingList list;
  EXPECT_EQ(
      list.AddOpened({small, large, mp4, upper, upperMp4, other, folder.path() / "missing.avi"}),
      4);
  ASSERT_EQ(list.Visible().size(), 4u);  // newest first
  EXPECT_EQ(list.Visible()[0].path, upperMp4.string());
  EXPECT_EQ(list.Visible()[3].path, large.string());
  EXPECT_EQ(list.Visible()[3].kind, "File");
  EXPECT_EQ(list.Visible()[3].date, "2015-01-02");
  EXPECT_EQ(list.Visible()[3].time, "03:04:06");
  EXPECT_EQ(list.OpenedSizes(), (std::vector<std::string>{"11", "50", "50", "50"}));
  EXPECT_EQ(list.Records()[0].dateTime, "2015-01-02 03:04:06");
}

TEST(OpenedFiles, OpeningReplacesTheCardRowsAndKeepsTheFilter) {
  TempFolder card;
  card.File("NORMAL/20150102_030405_N1.avi");
  CRecordingList list;
  list.ScanCard(card.path());
  list.ShowOnly(false, true, false);
  const auto chosen = card.File("elsewhere/20150102_030405_N1.avi", 12 * 1024);
  EXPECT_EQ(list.AddOpened({chosen}), 1);
  ASSERT_EQ(list.Visible().size(), 1u);
  EXPECT_EQ(list.Visible()[0].path, chosen.string());
  EXPECT_FALSE(list.Filter().continuous);
}

TEST(OpenedFiles, NamesDifferingOnlyByUnderscoreIAreInsertedInChosenOrder) {
  TempFolder folder;
  const auto later = folder.File("20150102_030500_N1.avi");
  const auto first = folder.File("20150102_030405_N1.avi");
  const auto second = folder.File("20150102_030405_I_N1.avi");
  const auto earlier = folder.File("20150102_030000_N1.avi");
  CRecordingList list;
  EXPECT_EQ(list.AddOpened({later, first, earlier, second}), 4);
  EXPECT_EQ(Names(list.Master()),
            (std::vector<std::string>{"20150102_030000_N1.avi", "20150102_030405_N1.avi",
                                      "20150102_030405_I_N1.avi", "20150102_030500_N1.avi"}));
  CRecordingList reversed;
  reversed.AddOpened({second, first});
  EXPECT_EQ(Names(reversed.Master()),
            (std::vector<std::string>{"20150102_030405_I_N1.avi", "20150102_030405_N1.avi"}));
  // The record table follows the rows.
  EXPECT_EQ(reversed.Records()[0].path, second.string());
}

TEST(OpenedFiles, PipesAndFoldersNamedLikeRecordingsAreSkippedWithoutBlocking) {
  TempFolder folder;
  const auto pipe = folder.path() / "20150102_030405_N1.avi";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const auto dir = folder.path() / "20150102_030406_N1.avi";
  std::filesystem::create_directories(dir);
  const auto real = folder.File("20150102_030407_N1.avi");
  CRecordingList list;
  EXPECT_EQ(list.AddOpened({pipe, dir, real}), 1);
  EXPECT_EQ(CRecordingList::ReadOnlySize(pipe), std::nullopt);
}

TEST(OpenedFiles, ReadOnlyRecordingIsListed) {
  TempFolder folder;
  const auto plain = folder.File("20150102_030405_N1.avi", 40 * 1024);
  std::filesystem::permissions(plain, std::filesystem::perms::owner_read |
                                          std::filesystem::perms::group_read |
                                          std::filesystem::perms::others_read);
  // A program being run cannot be opened for writing, not even by root: a
  // recording name linked to this test's own executable stands for a file
  // that refuses write access whoever runs the test.
  const auto busy = folder.path() / "20150102_030406_N1.avi";
  std::filesystem::create_symlink(std::filesystem::read_symlink("/proc/self/exe"), busy);
  ASSERT_FALSE(std::fstream(busy, std::ios::in | std::ios::out | std::ios::binary).is_open());
  CRecordingList list;
  EXPECT_EQ(list.AddOpened({plain, busy}), 2);
  EXPECT_EQ(list.Visible().size(), 2u);
  if (geteuid() != 0) {
    EXPECT_FALSE(std::fstream(plain, std::ios::in | std::ios::out | std::ios::binary).is_open());
  }
  EXPECT_EQ(CRecordingList::ReadOnlySize(plain), std::optional<std::uint64_t>(40 * 1024));
  EXPECT_EQ(CRecordingList::ReadOnlySize(folder.path() / "none.avi"), std::nullopt);
}

}  // namespace
}  // namespace lumora
