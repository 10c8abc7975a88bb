#include <gtest/gtest.h>

#include "library/CRecordingName.h"
#include "library/CTextForms.h"

namespace lumora {
namespace {

using V = std::vector<std::string>;

TEST(RecordingName, SuffixOverridesTheFolder) {
  auto i1 = CRecordingName::Classify("/card/EVENT/20150102_030405_I1.avi");
  ASSERT_TRUE(i1);
  EXPECT_EQ(i1->kind, "NORMAL");
  EXPECT_EQ(i1->date, "2015-01-02");
  EXPECT_EQ(i1->time, "03:04:05");
  EXPECT_EQ(i1->dateTime, "2015-01-02 03:04:05");
  EXPECT_EQ(i1->channel, 1);
  auto e1 = CRecordingName::Classify("/card/EVENT/20150102_030405_E1.avi");
  ASSERT_TRUE(e1);
  EXPECT_EQ(e1->kind, "EVENT");
  auto p2 = CRecordingName::Classify("/card/NORMAL/20200304_050607_P2.avi");
  ASSERT_TRUE(p2);
  EXPECT_EQ(p2->kind, "PARKING");
  EXPECT_EQ(p2->channel, 2);
  auto n2 = CRecordingName::Classify("/card/PARKING/20200304_050607_N2.avi");
  EXPECT_EQ(n2->kind, "NORMAL");
}

TEST(RecordingName, FolderAndExtensionRules) {
  // The folder name matches without regard to case, the extension too.
  auto lower = CRecordingName::Classify("/card/event/20150102_030405_E2.AVI");
  ASSERT_TRUE(lower);
  EXPECT_EQ(lower->kind, "EVENT");
  EXPECT_TRUE(CRecordingName::Classify("/card/Parking/20150102_030405_M1.mp4"));
  // A subfolder of NORMAL is another folder.
  EXPECT_FALSE(CRecordingName::Classify("/card/NORMAL/sub/20150102_030405_N1.avi"));
  EXPECT_FALSE(CRecordingName::Classify("/card/CAPTURE/20150102_030405_N1.avi"));
  EXPECT_FALSE(CRecordingName::Classify("/card/NORMAL/20150102_030405_N1.jpg"));
  EXPECT_FALSE(CRecordingName::Classify("/card/NORMAL/avi"));
  EXPECT_FALSE(CRecordingName::Classify("20150102_030405_N1.avi"));  // no folder
  // The suffix codes are compared with their case.
  EXPECT_EQ(CRecordingName::Classify("/c/EVENT/20150102_030405_n1.avi")->kind, "EVENT");
  EXPECT_EQ(CRecordingName::Classify("/c/EVENT/20150102_030405_N1.AVI")->kind, "EVENT");
  // A short name gives short date fields but no crash.
  auto shortName = CRecordingName::Classify("/c/NORMAL/2015.avi");
  ASSERT_TRUE(shortName);
  EXPECT_EQ(shortName->date, "2015-.a-vi");
  EXPECT_EQ(shortName->time, "::");
}

TEST(RecordingName, CaretNamesTakeDateAndTimeFromTheirBlock) {
  auto rc = CRecordingName::Classify("/card/NORMAL/LUMORA^20261205_083000_F^1^2^NI.mp4");
  ASSERT_TRUE(rc);
  EXPECT_EQ(rc->kind, "NORMAL");
  EXPECT_EQ(rc->date, "2026-12-05");
  EXPECT_EQ(rc->time, "08:30:00");
  EXPECT_EQ(rc->channel, 0);
  EXPECT_EQ(CRecordingName::SortKey("/card/NORMAL/LUMORA^20261205_083000_F^1^2^NI.mp4"),
            20261205083000LL);
}

TEST(RecordingName, KindFromSuffixTable) {
  EXPECT_EQ(CRecordingName::KindFromSuffix("x_N1.avi"), "NORMAL");
  EXPECT_EQ(CRecordingName::KindFromSuffix("x_N2.avi"), "NORMAL");
  EXPECT_EQ(CRecordingName::KindFromSuffix("x_I1.avi"), "NORMAL");
  EXPECT_EQ(CRecordingName::KindFromSuffix("x_I2.avi"), "NORMAL");
  EXPECT_EQ(CRecordingName::KindFromSuffix("x_P1.avi"), "PARKING");
  EXPECT_EQ(CRecordingName::KindFromSuffix("x_P2.avi"), "PARKING");
  EXPECT_EQ(CRecordingName::KindFromSuffix("x_E1.avi"), "");
  EXPECT_EQ(CRecordingName::KindFromSuffix("x_N1.mp4"), "");
  EXPECT_EQ(CRecordingName::KindFromSuffix("N1.av"), "");
}

TEST(RecordingName, CaretNameFields) {
  EXPECT_EQ(CRecordingName::ParseName("CAM^20150102_030405ABC^f2^f3^lastPartQ.mp4"),
            (V{"20150102_030405", "ABC", "f2", "f3", "lastPart"}));
  // A known type code anywhere empties the last field.
  EXPECT_EQ(CRecordingName::ParseName("CAM^20150102_030405ABC^f2^f3^xyzNI.mp4"),
            (V{"20150102_030405", "ABC", "f2", "f3", ""}));
  EXPECT_EQ(CRecordingName::ParseName("CAM^20150102_030405^f2^f3^abcT1.mp4"),
            (V{"20150102_030405", "", "f2", "f3", ""}));
  for (const char* code : {"C", "G", "E", "X"}) {
    EXPECT_EQ(
        CRecordingName::ParseName(std::string("A^20150102_030405x^a^b^LONGNAME") + code + ".mp4")
            .back(),
        "");
  }
  // The same rule for ".avi" names.
  EXPECT_EQ(CRecordingName::ParseName("CAM^20150102_030405r^a^b^tailN1.avi"),
            (V{"20150102_030405", "r", "a", "b", "tailN"}));
  // Neither ".mp4" nor ".avi": no fields; no "^" either.
  EXPECT_TRUE(CRecordingName::ParseName("CAM^20150102_030405^a^b^c.jpg").empty());
  EXPECT_TRUE(CRecordingName::ParseName("20150102_030405_N1.avi").empty());
  // Missing fields come back empty.
  EXPECT_EQ(CRecordingName::ParseName("^2015.mp4"), (V{"2015.mp4", "", "", "", ""}));
}

TEST(RecordingName, Ordering) {
  EXPECT_TRUE(CRecordingName::SortsBefore("20150102_030405_N1.avi", "20150102_030406_N1.avi"));
  EXPECT_FALSE(CRecordingName::SortsBefore("20150102_030406_N1.avi", "20150102_030405_N1.avi"));
  // Differing only by "_I" or "_": equal, neither before the other.
  EXPECT_FALSE(CRecordingName::SortsBefore("20150102_030405_I.mp4", "20150102030405.mp4"));
  EXPECT_FALSE(CRecordingName::SortsBefore("20150102030405.mp4", "20150102_030405_I.mp4"));
  EXPECT_FALSE(CRecordingName::SortsBefore("a_b", "ab"));
  EXPECT_FALSE(CRecordingName::SortsBefore("ab", "a_b"));
  EXPECT_EQ(CRecordingName::OrderingForm("x_I_y.mp4.mp4"), "xy");
  // Byte order: high bytes sort after ASCII.
  EXPECT_TRUE(CRecordingName::SortsBefore("a", "\xC3\xA9"));
  EXPECT_TRUE(CRecordingName::SortsBefore("Z", "a"));
}

TEST(RecordingName, SortKey) {
  EXPECT_EQ(CRecordingName::SortKey("/media/card/NORMAL/20150102_030405_N1.avi"),
            20150102LL * 1000000 + 30405);
  EXPECT_EQ(CRecordingName::SortKey("20991231_235959_P2.avi"), 20991231235959LL);
  EXPECT_GT(CRecordingName::SortKey("20150102_030406_E1.avi"),
            CRecordingName::SortKey("20150102_030405_N2.avi"));
  EXPECT_EQ(CRecordingName::SortKey("short"), 0);
  EXPECT_EQ(CRecordingName::SortKey(""), 0);
}

TEST(TextForms, FileSize) {
  EXPECT_EQ(CTextForms::FileSizeText(11264), "11");
  EXPECT_EQ(CTextForms::FileSizeText(1234567ULL * 1024), "1234,567");
  EXPECT_EQ(CTextForms::FileSizeText(1000ULL * 1024), "1,000");
  EXPECT_EQ(CTextForms::FileSizeText(1005ULL * 1024 + 1023), "1,005");
  EXPECT_EQ(CTextForms::FileSizeText(999ULL * 1024 + 1023), "999");
  EXPECT_EQ(CTextForms::FileSizeText(0), "0");
  EXPECT_FALSE(CTextForms::IsListableSize(10240));
  EXPECT_FALSE(CTextForms::IsListableSize(11263));
  EXPECT_TRUE(CTextForms::IsListableSize(11264));
}

TEST(TextForms, DatesAndTimes) {
  EXPECT_EQ(CTextForms::FileDateText(2015, 1, 2), "15.01.02");
  EXPECT_EQ(CTextForms::FileDateText(2000, 12, 31), "00.12.31");
  EXPECT_EQ(CTextForms::ClockText(1, 2, 3), "01:02:03");
  EXPECT_EQ(CTextForms::ClockText(100, 59, 59), "100:59:59");
  EXPECT_EQ(CTextForms::PositionText(3723999), "01:02:03");
  EXPECT_EQ(CTextForms::PositionText(-5), "00:00:00");
}

}  // namespace
}  // namespace lumora
