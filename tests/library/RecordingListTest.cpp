// The recording list: the name rules (recordings, their kind, date, time and
// channel, "^" name fields, ordering), the text forms of sizes and times, the
// card scan, kind filter, order toggle and the rows of files chosen by hand.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <tuple>

#include "library/CRecordingList.h"
#include "library/CRecordingName.h"
#include "library/CTextForms.h"
#include "tests/support/TempFolder.h"

namespace lumora {
namespace {

TEST(RecordingName, ClassifyByFolderSuffixAndName) {
  // Path, kind (nullptr: not a recording of a scan), date, time, channel.
  const std::tuple<const char*, const char*, std::string, std::string, int> rows[] = {
      {"/card/EVENT/20150102_030405_I1.avi", "NORMAL", "2015-01-02", "03:04:05", 1},
      {"/card/EVENT/20150102_030405_I2.avi", "NORMAL", "2015-01-02", "03:04:05", 2},
      {"/card/EVENT/20150102_030405_N1.avi", "NORMAL", "2015-01-02", "03:04:05", 1},
      {"/card/NORMAL/20200304_050607_P1.avi", "PARKING", "2020-03-04", "05:06:07", 1},
      {"/card/EVENT/20150102_030405_E1.avi", "EVENT", "2015-01-02", "03:04:05", 1},
      {"/card/NORMAL/20200304_050607_P2.avi", "PARKING", "2020-03-04", "05:06:07", 2},
      {"/card/PARKING/20200304_050607_N2.avi", "NORMAL", "2020-03-04", "05:06:07", 2},
      {"/card/event/20150102_030405_E2.AVI", "EVENT", "2015-01-02", "03:04:05", 2},
      {"/card/Parking/20191231_235958_M1.mp4", "PARKING", "2019-12-31", "23:59:58", 1},
      // The suffix codes are compared with their case and only on ".avi".
      {"/c/EVENT/20150102_030405_n1.avi", "EVENT", "2015-01-02", "03:04:05", 1},
      {"/c/EVENT/20150102_030405_N1.AVI", "EVENT", "2015-01-02", "03:04:05", 1},
      // A "^" name takes date and time from the block after the first "^".
      {"/card/NORMAL/LUMORA^20261205_083000_F^1^2^NI.mp4", "NORMAL", "2026-12-05", "08:30:00", 0},
      // A short name gives short fields, no crash.
      {"/c/NORMAL/2015.avi", "NORMAL", "2015-.a-vi", "::", 0},
      {"/card/NORMAL/sub/20150102_030405_N1.avi", nullptr, "", "", 0},
      {"/card/CAPTURE/20150102_030405_N1.avi", nullptr, "", "", 0},
      {"/card/NORMAL/20150102_030405_N1.jpg", nullptr, "", "", 0},
      {"/card/NORMAL/avi", nullptr, "", "", 0},
      {"20150102_030405_N1.avi", nullptr, "", "", 0},
  };
  for (const auto& [path, kind, date, time, channel] : rows) {
    SCOPED_TRACE(path);
    const auto rc = CRecordingName::Classify(path);
    ASSERT_EQ(rc.has_value(), kind != nullptr);
    if (!rc) continue;
    EXPECT_EQ(rc->kind, kind);
    EXPECT_EQ(rc->date, date);
    EXPECT_EQ(rc->time, time);
    EXPECT_EQ(rc->dateTime, date + " " + time);
    EXPECT_EQ(rc->channel, channel);
  }
}

TEST(RecordingName, CaretNameFields) {
  using V = std::vector<std::string>;
  const std::pair<const char*, V> rows[] = {
      {"CAM^20150102_030405ABC^f2^f3^lastPartQ.mp4",
       {"20150102_030405", "ABC", "f2", "f3", "lastPart"}},
      // A known type code anywhere empties the last field.
      {"CAM^20150102_030405ABC^f2^f3^xyzNI.mp4", {"20150102_030405", "ABC", "f2", "f3", ""}},
      {"CAM^20150102_030405^f2^f3^abcT1.mp4", {"20150102_030405", "", "f2", "f3", ""}},
      {"CAM^20150102_030405r^a^b^tailN1.avi", {"20150102_030405", "r", "a", "b", "tailN"}},
      {"^2015.mp4", {"2015.mp4", "", "", "", ""}},
      {"CAM^20150102_030405^a^b^c.jpg", {}},
      {"20150102_030405_N1.avi", {}},
  };
  for (const auto& [name, fields] : rows)
    EXPECT_EQ(CRecordingName::ParseName(name), fields) << name;
  for (std::string code : {"C", "G", "E", "X"})
    EXPECT_EQ(CRecordingName::ParseName("A^20150102_030405x^a^b^LONGNAME" + code + ".mp4").back(),
              "");
}

TEST(RecordingName, OrderingAndSortKey) {
  // Names compare by bytes once ".mp4", "_I" and "_" are gone.
  const std::tuple<const char*, const char*, bool> order[] = {
      {"20150102_030405_N1.avi", "20150102_030406_N1.avi", true},
      {"20150102_030406_N1.avi", "20150102_030405_N1.avi", false},
      {"20150102_030405_I.mp4", "20150102030405.mp4", false},
      {"a_b", "ab", false},
      {"a", "\xC3\xA9", true},
      {"Z", "a", true},
  };
  for (const auto& [a, b, before] : order)
    EXPECT_EQ(CRecordingName::SortsBefore(a, b), before) << a << " " << b;
  EXPECT_EQ(CRecordingName::OrderingForm("x_I_y.mp4.mp4"), "xy");

  const std::pair<const char*, std::int64_t> keys[] = {
      {"/media/card/NORMAL/20150102_030405_N1.avi", 20150102030405LL},
      {"20991231_235959_P2.avi", 20991231235959LL},
      {"/card/NORMAL/LUMORA^20261205_083000_F^1^2^NI.mp4", 20261205083000LL},
      {"short", 0}};
  for (auto [path, key] : keys) EXPECT_EQ(CRecordingName::SortKey(path), key) << path;
}

TEST(TextForms, SizesDatesAndClocks) {
  const std::pair<std::uint64_t, const char*> sizes[] = {{0, "0"},
                                                         {11264, "11"},
                                                         {999ULL * 1024 + 1023, "999"},
                                                         {1000ULL * 1024, "1,000"},
                                                         {1234567ULL * 1024, "1234,567"}};
  for (auto [bytes, text] : sizes) EXPECT_EQ(CTextForms::FileSizeText(bytes), text) << bytes;
  EXPECT_FALSE(CTextForms::IsListableSize(11263));
  EXPECT_TRUE(CTextForms::IsListableSize(11264));
  EXPECT_EQ(CTextForms::FileDateText(2000, 12, 31), "00.12.31");
}

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
