#include <gtest/gtest.h>

#include <random>

#include "library/CDitFile.h"
#include "tests/dit/DitTestSupport.h"

namespace lumora {
namespace {

using test::DitLine;
using test::TempFolder;

TEST(DitFile, ParsesTheFiveFields) {
  DitPoint p;
  ASSERT_TRUE(CDitFile::ParseLine("20261205083012,3541.2345,13946.4700,61,2.5\r", &p));
  EXPECT_EQ(p.m_strDateTime, "20261205083012");
  EXPECT_EQ(p.Date(), "20261205");
  EXPECT_EQ(p.Time(), "083012");
  EXPECT_EQ(p.Hour(), 8);
  EXPECT_EQ(p.Minute(), 30);
  EXPECT_EQ(p.Second(), 12);
  EXPECT_EQ(p.SecondsOfDay(), 8 * 3600 + 30 * 60 + 12);
  EXPECT_DOUBLE_EQ(p.m_dLatitude, 3541.2345);
  EXPECT_DOUBLE_EQ(p.m_dLongitude, 13946.47);
  EXPECT_EQ(p.m_nSpeed, 61);
  EXPECT_DOUBLE_EQ(p.m_dTtc, 2.5);
  EXPECT_NEAR(p.m_dLatDeg, 35.0 + 41.2345 / 60.0, 1e-9);
  EXPECT_NEAR(p.m_dLonDeg, 139.0 + 46.47 / 60.0, 1e-9);
}

TEST(DitFile, DegreesConversionFollowsMinutesAndSeconds) {
  // 35 degrees 41 minutes 14.07 seconds.
  EXPECT_NEAR(CDitFile::ToDegrees(3541.2345), 35.0 + 41.0 / 60.0 + 14.07 / 3600.0, 1e-9);
  EXPECT_NEAR(CDitFile::ToDegrees(-3541.2345), -(35.0 + 41.0 / 60.0 + 14.07 / 3600.0), 1e-9);
  EXPECT_NEAR(CDitFile::ToDegrees(12700.0), 127.0, 1e-12);
}

TEST(DitFile, RejectsLinesThatAreNotPoints) {
  DitPoint p;
  // 13 and 15 character date-time fields.
  EXPECT_FALSE(CDitFile::ParseLine("2026120508301,3541.2345,13946.47,50,1.0", &p));
  EXPECT_FALSE(CDitFile::ParseLine("202612050830123,3541.2345,13946.47,50,1.0", &p));
  // Zero coordinates.
  EXPECT_FALSE(CDitFile::ParseLine("20261205083012,0,13946.47,50,1.0", &p));
  EXPECT_FALSE(CDitFile::ParseLine("20261205083012,3541.2345,0.0,50,1.0", &p));
  // Field counts, numbers and digits.
  EXPECT_FALSE(CDitFile::ParseLine("20261205083012,3541.2345,13946.47,50", &p));
  EXPECT_FALSE(CDitFile::ParseLine("20261205083012,3541.2345,13946.47,50,1.0,9", &p));
  EXPECT_FALSE(CDitFile::ParseLine("2026120508301x,3541.2345,13946.47,50,1.0", &p));
  EXPECT_FALSE(CDitFile::ParseLine("20261205083012,35x1,13946.47,50,1.0", &p));
  EXPECT_FALSE(CDitFile::ParseLine("20261205083012,3541.2,13946.47,fast,1.0", &p));
  EXPECT_FALSE(CDitFile::ParseLine("20261205083012,nan,13946.47,50,1.0", &p));
  EXPECT_FALSE(CDitFile::ParseLine("20261205083012,1e300,13946.47,50,1.0", &p));
  EXPECT_FALSE(CDitFile::ParseLine("20261205083012,9541.2,13946.47,50,1.0", &p));
  EXPECT_FALSE(CDitFile::ParseLine("", &p));
  EXPECT_FALSE(CDitFile::ParseLine(std::string(300, '1'), &p));
  // Blanks around numbers are tolerated.
  EXPECT_TRUE(CDitFile::ParseLine("20261205083012, 3541.2345 ,13946.47, 0 ,0.0", &p));
  EXPECT_EQ(p.m_nSpeed, 0);
}

TEST(DitFile, ReadsEveryValidLineAndSkipsTheRest) {
  TempFolder dir;
  const std::string text = DitLine(0, 3541.1, 13946.1, 10) + "garbage line\r\n" +
                           "2026120508301,3541.1,13946.1,10,1.0\r\n" +
                           DitLine(1, 3541.2, 13946.2, 20) + DitLine(2, 3541.3, 13946.3, 30);
  // The last line has no line break.
  const auto path = dir.Write("a.DIT", text.substr(0, text.size() - 2));
  std::vector<DitPoint> points;
  ASSERT_TRUE(CDitFile::Read(path, &points));
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].m_nSpeed, 10);
  EXPECT_EQ(points[2].m_nSpeed, 30);
  EXPECT_EQ(points[2].Time(), "083002");
  DitPoint first;
  ASSERT_TRUE(CDitFile::FirstPoint(path, &first));
  EXPECT_EQ(first.Time(), "083000");
  EXPECT_TRUE(CDitFile::IsValid(path));
}

TEST(DitFile, EmptyBinaryAndMissingFilesHaveNoPoints) {
  TempFolder dir;
  std::vector<DitPoint> points;
  EXPECT_FALSE(CDitFile::Read(dir.path() / "missing.DIT", &points));
  EXPECT_FALSE(CDitFile::IsValid(dir.path() / "missing.DIT"));
  const auto empty = dir.Write("empty.DIT", "");
  EXPECT_TRUE(CDitFile::Read(empty, &points));
  EXPECT_TRUE(points.empty());
  EXPECT_FALSE(CDitFile::IsValid(empty));
  std::string binary(70000, '\0');
  std::mt19937 rng(7);
  for (char& c : binary) c = static_cast<char>(rng() & 0xFF);
  EXPECT_FALSE(CDitFile::IsValid(dir.Write("binary.DIT", binary)));
}

TEST(DitFile, HugeLinesAreSkippedWithoutLosingTheNextPoint) {
  TempFolder dir;
  // 8 MiB without a line break, then a valid line; then a line that starts
  // like a point but runs on.
  std::string text(8 * 1024 * 1024, '7');
  text += "\n" + DitLine(5, 3541.5, 13946.5, 55);
  text += "20261205083010,3541.2345,13946.47,50,1.0" + std::string(100000, '0') + "\n";
  const auto path = dir.Write("huge.DIT", text);
  std::vector<DitPoint> points;
  ASSERT_TRUE(CDitFile::Read(path, &points));
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0].m_nSpeed, 55);
}

TEST(DitFile, CaptureFolderIsBesideTheDitFolder) {
  TempFolder dir;
  std::filesystem::create_directories(dir.path() / "capture" / "20261205_083000");
  const auto ditPath = dir.path() / "DIT" / "GPS" / "20261205_083000.DIT";
  EXPECT_EQ(CDitFile::CaptureFolder(ditPath), dir.path() / "capture");
  DitPoint first;
  ASSERT_TRUE(CDitFile::ParseLine("20261205083000,3541.1,13946.1,0,0", &first));
  EXPECT_EQ(CDitFile::CaptureSubfolder(ditPath, first), dir.path() / "capture" / "20261205_083000");
  TempFolder other;
  EXPECT_EQ(CDitFile::CaptureFolder(other.path() / "DIT" / "GPS" / "x.DIT"),
            other.path() / "CAPTURE");
}

}  // namespace
}  // namespace lumora
