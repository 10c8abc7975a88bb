// The list rules: card scan, kind filter, order toggle and the rows of files
// chosen by hand (recording files above 10 KiB, opened read-only, in order).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <tuple>

#include "library/CRecordingList.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

using test::TempFolder;
using Names = std::vector<std::string>;

Names NamesOf(const std::vector<ListRow>& rows) {
  Names names;
  for (const ListRow& row : rows) names.push_back(std::filesystem::path(row.path).filename());
  return names;
}

class CardScan : public testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"NORMAL/20150102_030405_N1.avi", "NORMAL/20150102_030405_N2.avi",
                             "NORMAL/20150103_101010_N1.avi", "EVENT/20150102_040000_E1.avi",
                             "EVENT/20150102_050000_I1.avi", "PARKING/20150101_235959_P1.avi",
                             "NORMAL/sub/20150104_000000_N1.avi", "NORMAL/20150105_000000_N1.txt",
                             "CAPTURE/20150105_000000_N1.avi", "NORMAL/20150106_070809_N1.MP4",
                             "NORMAL/CAM^20150105_120000_F^1^2^NI.mp4"})
      card_.File(name);
    EXPECT_EQ(list_.ScanCard(card_.path()), 8);
  }
  TempFolder card_;
  CRecordingList list_;
};

TEST_F(CardScan, RecordingsOfTheKindFoldersNewestFirst) {
  Names shown = NamesOf(list_.Visible());
  ASSERT_EQ(shown.size(), 8u);
  std::sort(shown.begin() + 5, shown.begin() + 7);  // the same second, either order
  EXPECT_EQ(shown,
            (Names{"20150106_070809_N1.MP4", "CAM^20150105_120000_F^1^2^NI.mp4",
                   "20150103_101010_N1.avi", "20150102_050000_I1.avi", "20150102_040000_E1.avi",
                   "20150102_030405_N1.avi", "20150102_030405_N2.avi", "20150101_235959_P1.avi"}));
  EXPECT_EQ(list_.Visible()[1],
            (ListRow{"2015-01-05", "12:00:00", "NORMAL", list_.Visible()[1].path}));
}

TEST_F(CardScan, FilterKeepsTheChosenKinds) {
  // Filter, rows shown, the first of them.
  const std::tuple<ListFilter, std::size_t, std::string> rows[] = {
      {{false, true, false}, 1, "20150102_040000_E1.avi"},
      {{false, false, true}, 1, "20150101_235959_P1.avi"},
      {{true, false, false}, 6, "20150106_070809_N1.MP4"},
      {{false, true, true}, 2, "20150102_040000_E1.avi"},
      {{false, false, false}, 0, ""}};
  for (const auto& [filter, count, first] : rows) {
    SCOPED_TRACE(testing::Message() << filter.continuous << filter.event << filter.parking);
    list_.ShowOnly(filter.continuous, filter.event, filter.parking);
    ASSERT_EQ(list_.Visible().size(), count);
    EXPECT_EQ(list_.Staging().size(), count);
    EXPECT_EQ(count ? NamesOf(list_.Visible()).front() : std::string(), first);
    EXPECT_EQ(list_.Master().size(), 8u);
  }
  // Labels match exactly; "File" rows pass every filter.
  const ListFilter none{false, false, false}, event{false, true, false};
  const std::pair<const char*, bool> labels[] = {{"File", true},    {"Event", true},
                                                 {"EVENT", true},   {"event", false},
                                                 {"NORMAL", false}, {"File ", false}};
  for (auto [kind, passes] : labels) EXPECT_EQ(CRecordingList::Passes(kind, event), passes) << kind;
  EXPECT_TRUE(CRecordingList::Passes("File", none));
  EXPECT_TRUE(CRecordingList::Passes("Parking", {false, false, true}));
  EXPECT_TRUE(CRecordingList::Passes("Normal", {true, false, false}));
}

TEST_F(CardScan, OrderToggleMirrorsTheSelectionOntoTheSameRecording) {
  EXPECT_EQ(list_.Order(), 1);
  for (int selected = 0; selected < 8; ++selected) {
    const std::string path = list_.Visible()[selected].path;
    const int mirrored = list_.ToggleOrder(selected);
    ASSERT_EQ(mirrored, 7 - selected);
    EXPECT_EQ(list_.Visible()[mirrored].path, path) << selected;
  }
  EXPECT_EQ(list_.ToggleOrder(-1), -1);
  EXPECT_EQ(list_.ToggleOrder(8), -1);
  list_.SetOrder(0);
  list_.Refill();
  EXPECT_EQ(NamesOf(list_.Visible()).front(), "20150101_235959_P1.avi");
}

TEST(OpenedFiles, RecordingFilesAboveTenKiBOpenedReadOnlyBecomeFileRows) {
  TempFolder f;
  const auto large = f.File("20150102_030406_N1.avi", 11 * 1024);
  const auto readOnly = f.File("20150102_030407_N1.mp4", 50 * 1024);
  test::MakeReadOnly(readOnly);
  const auto pipe = f / "20150102_030411_N1.avi";
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  // A program being run refuses write access to anyone, root included: a
  // recording name linked to this test's executable stands for such a file.
  const auto busy = f / "20150102_030413_N1.avi";
  std::filesystem::create_symlink(std::filesystem::read_symlink("/proc/self/exe"), busy);
  ASSERT_FALSE(std::fstream(busy, std::ios::in | std::ios::out).is_open());
  CRecordingList list;
  list.ShowOnly(false, true, false);  // "File" rows pass any filter
  EXPECT_EQ(list.AddOpened({f.File("20150102_030405_N1.avi", 10 * 1024), large, readOnly,
                            f.File("20150102_030408_N1.AVI", 50 * 1024),
                            f.File("20150102_030409_N1.Mp4", 50 * 1024),
                            f.File("20150102_030410_N1.avi.txt", 50 * 1024), f / "missing.avi",
                            pipe, f.Dir("20150102_030412_N1.avi"), busy}),
            5);
  EXPECT_EQ(NamesOf(list.Visible()),
            (Names{"20150102_030413_N1.avi", "20150102_030409_N1.Mp4", "20150102_030408_N1.AVI",
                   "20150102_030407_N1.mp4", "20150102_030406_N1.avi"}));
  EXPECT_EQ(list.Visible()[4], (ListRow{"2015-01-02", "03:04:06", "File", large.string()}));
  EXPECT_EQ(Names(list.OpenedSizes().begin(), list.OpenedSizes().begin() + 4),
            (Names{"11", "50", "50", "50"}));
  EXPECT_EQ(list.Records()[0].dateTime, "2015-01-02 03:04:06");
  EXPECT_EQ(CRecordingList::ReadOnlySize(readOnly), std::optional<std::uint64_t>(50 * 1024));
  EXPECT_EQ(CRecordingList::ReadOnlySize(pipe), std::nullopt);
}

TEST(OpenedFiles, NamesDifferingOnlyByUnderscoreIKeepTheOrderChosen) {
  TempFolder f;
  const auto later = f.File("20150102_030500_N1.avi");
  const auto first = f.File("20150102_030405_N1.avi");
  const auto second = f.File("20150102_030405_I_N1.avi");
  const auto earlier = f.File("20150102_030000_N1.avi");
  CRecordingList list;
  EXPECT_EQ(list.AddOpened({later, first, earlier, second}), 4);
  EXPECT_EQ(NamesOf(list.Master()), (Names{"20150102_030000_N1.avi", "20150102_030405_N1.avi",
                                           "20150102_030405_I_N1.avi", "20150102_030500_N1.avi"}));
  list.AddOpened({second, first});  // replaces the rows
  EXPECT_EQ(NamesOf(list.Master()), (Names{"20150102_030405_I_N1.avi", "20150102_030405_N1.avi"}));
  EXPECT_EQ(list.Records()[0].path, second.string());
}

}  // namespace
}  // namespace lumora
