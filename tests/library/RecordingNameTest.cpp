// The recording-name rules (recordings, their kind, date, time and channel,
// "^" name fields, ordering) and the text forms of sizes, dates and times.
#include <gtest/gtest.h>

#include <tuple>

#include "library/CRecordingName.h"
#include "library/CTextForms.h"

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
      {"/c/EVENT/20150102_030405_N1.mp4", "EVENT", "2015-01-02", "03:04:05", 1},
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
      {"A^20150102_030405x^a^b^LONGNAMEC.mp4", {"20150102_030405", "x", "a", "b", ""}},
      {"A^20150102_030405x^a^b^LONGNAMEG.mp4", {"20150102_030405", "x", "a", "b", ""}},
      {"A^20150102_030405x^a^b^LONGNAMEE.mp4", {"20150102_030405", "x", "a", "b", ""}},
      {"A^20150102_030405x^a^b^LONGNAMEX.mp4", {"20150102_030405", "x", "a", "b", ""}},
      {"CAM^20150102_030405r^a^b^tailN1.avi", {"20150102_030405", "r", "a", "b", "tailN"}},
      {"^2015.mp4", {"2015.mp4", "", "", "", ""}},
      {"CAM^20150102_030405^a^b^c.jpg", {}},
      {"20150102_030405_N1.avi", {}},
  };
  for (const auto& [name, fields] : rows)
    EXPECT_EQ(CRecordingName::ParseName(name), fields) << name;
}

TEST(RecordingName, OrderingAndSortKey) {
  // Names compare by bytes once ".mp4", "_I" and "_" are gone.
  const std::tuple<const char*, const char*, bool> order[] = {
      {"20150102_030405_N1.avi", "20150102_030406_N1.avi", true},
      {"20150102_030406_N1.avi", "20150102_030405_N1.avi", false},
      {"20150102_030405_I.mp4", "20150102030405.mp4", false},
      {"20150102030405.mp4", "20150102_030405_I.mp4", false},
      {"a_b", "ab", false},
      {"ab", "a_b", false},
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
      {"short", 0},
      {"", 0}};
  for (auto [path, key] : keys) EXPECT_EQ(CRecordingName::SortKey(path), key) << path;
}

TEST(TextForms, SizesDatesAndClocks) {
  const std::pair<std::uint64_t, const char*> sizes[] = {{0, "0"},
                                                         {11264, "11"},
                                                         {999ULL * 1024 + 1023, "999"},
                                                         {1000ULL * 1024, "1,000"},
                                                         {1005ULL * 1024 + 1023, "1,005"},
                                                         {1234567ULL * 1024, "1234,567"}};
  for (auto [bytes, text] : sizes) EXPECT_EQ(CTextForms::FileSizeText(bytes), text) << bytes;
  EXPECT_FALSE(CTextForms::IsListableSize(11263));
  EXPECT_TRUE(CTextForms::IsListableSize(11264));
  EXPECT_EQ(CTextForms::FileDateText(2015, 1, 2), "15.01.02");
  EXPECT_EQ(CTextForms::FileDateText(2000, 12, 31), "00.12.31");
  EXPECT_EQ(CTextForms::ClockText(100, 59, 59), "100:59:59");
  EXPECT_EQ(CTextForms::PositionText(3723999), "01:02:03");
  EXPECT_EQ(CTextForms::PositionText(-5), "00:00:00");
}

}  // namespace
}  // namespace lumora
