// Drive-log lines and files: the five fields, the lines that are not points,
// long and binary files, the capture folder beside the log, and the texts the
// panel shows for a point.
#include <gtest/gtest.h>

#include <random>

#include "library/CDitFile.h"
#include "library/CDitPanelText.h"
#include "tests/dit/DitTestSupport.h"

namespace lumora {
namespace {

using test::DitLine;
using test::TempFolder;

DitPoint Point(const std::string& line) {
  DitPoint p;
  EXPECT_TRUE(CDitFile::ParseLine(line, &p)) << line;
  return p;
}

TEST(DitFile, ParsesTheFiveFields) {
  const DitPoint p = Point("20261205083012,3541.2345,13946.4700,61,2.5\r");
  EXPECT_EQ(p.m_strDateTime, "20261205083012");
  EXPECT_EQ(p.Date() + p.Time(), "20261205083012");
  EXPECT_EQ(p.SecondsOfDay(), 8 * 3600 + 30 * 60 + 12);
  EXPECT_DOUBLE_EQ(p.m_dLatitude, 3541.2345);
  EXPECT_DOUBLE_EQ(p.m_dLongitude, 13946.47);
  EXPECT_EQ(p.m_nSpeed, 61);
  EXPECT_DOUBLE_EQ(p.m_dTtc, 2.5);
  // ddmm.mmmm: 41.2345 minutes are 41 minutes 14.07 seconds.
  EXPECT_NEAR(p.m_dLatDeg, 35.0 + 41.0 / 60.0 + 14.07 / 3600.0, 1e-9);
  EXPECT_NEAR(p.m_dLonDeg, 139.0 + 46.47 / 60.0, 1e-9);
  EXPECT_NEAR(CDitFile::ToDegrees(-3541.2345), -(35.0 + 41.2345 / 60.0), 1e-9);
  EXPECT_NEAR(CDitFile::ToDegrees(12700.0), 127.0, 1e-12);
}

TEST(DitFile, LinesThatAreNotPoints) {
  const char* const bad[] = {
      "2026120508301,3541.2345,13946.47,50,1.0",    // 13-character date-time
      "202612050830123,3541.2345,13946.47,50,1.0",  // 15 characters
      "2026120508301x,3541.2345,13946.47,50,1.0",   // a letter in it
      "20261205083012,0,13946.47,50,1.0",           // zero coordinates
      "20261205083012,3541.2345,0.0,50,1.0",
      "20261205083012,3541.2345,13946.47,50",  // four and six fields
      "20261205083012,3541.2345,13946.47,50,1.0,9",
      "20261205083012,35x1,13946.47,50,1.0",  // not numbers
      "20261205083012,3541.2,13946.47,fast,1.0",    "20261205083012,nan,13946.47,50,1.0",
      "20261205083012,1e300,13946.47,50,1.0",  // off the globe
      "20261205083012,9541.2,13946.47,50,1.0",      "",
  };
  for (const char* line : bad) EXPECT_FALSE(CDitFile::ParseLine(line, nullptr)) << line;
  EXPECT_FALSE(CDitFile::ParseLine(std::string(300, '1'), nullptr));
  // Blanks around numbers are tolerated.
  EXPECT_EQ(Point("20261205083012, 3541.2345 ,13946.47, 0 ,0.0").m_nSpeed, 0);
}

TEST(DitFile, ReadsEveryValidLineAndSkipsTheRest) {
  TempFolder dir;
  // 8 MiB without a line break, a line that starts like a point but runs on,
  // bad lines, and a last line without its line break.
  const std::string text = std::string(8 * 1024 * 1024, '7') + "\n" +
                           DitLine(0, 3541.1, 13946.1, 10) + "garbage line\r\n" +
                           "20261205083010,3541.2345,13946.47,50,1.0" + std::string(100000, '0') +
                           "\n" + DitLine(1, 3541.2, 13946.2, 20) + DitLine(2, 3541.3, 13946.3, 30);
  const auto path = dir.Write("a.DIT", text.substr(0, text.size() - 2));
  std::vector<DitPoint> points;
  ASSERT_TRUE(CDitFile::Read(path, &points));
  ASSERT_EQ(points.size(), 3u);
  EXPECT_EQ(points[0].m_nSpeed + points[1].m_nSpeed + points[2].m_nSpeed, 60);
  EXPECT_EQ(points[2].Time(), "083002");
  DitPoint first;
  ASSERT_TRUE(CDitFile::FirstPoint(path, &first));
  EXPECT_EQ(first.Time(), "083000");
  EXPECT_TRUE(CDitFile::IsValid(path));
  // Missing, empty and binary files have no points.
  EXPECT_FALSE(CDitFile::Read(dir / "missing.DIT", &points));
  EXPECT_FALSE(CDitFile::IsValid(dir / "missing.DIT"));
  EXPECT_TRUE(CDitFile::Read(dir.Write("empty.DIT", ""), &points));
  EXPECT_TRUE(points.empty());
  EXPECT_FALSE(CDitFile::IsValid(dir / "empty.DIT"));
  std::string binary(70000, '\0');
  std::mt19937 rng(7);
  for (char& c : binary) c = static_cast<char>(rng() & 0xFF);
  EXPECT_FALSE(CDitFile::IsValid(dir.Write("binary.DIT", binary)));
}

TEST(DitFile, CaptureFolderIsBesideTheDitFolder) {
  TempFolder dir;
  dir.Dir("capture/20261205_083000");
  const auto ditPath = dir / "DIT" / "GPS" / "20261205_083000.DIT";
  EXPECT_EQ(CDitFile::CaptureFolder(ditPath), dir / "capture");
  EXPECT_EQ(CDitFile::CaptureSubfolder(ditPath, Point("20261205083000,3541.1,13946.1,0,0")),
            dir / "capture" / "20261205_083000");
  TempFolder other;
  EXPECT_EQ(CDitFile::CaptureFolder(other / "DIT" / "GPS" / "x.DIT"), other / "CAPTURE");
}

TEST(DitPanelText, LinesOfAPointAndTheSpeedCurve) {
  const DitPoint p = Point("20261205083012,3541.2345,13946.4700,61,2.5");
  const DitPoint south = Point("20261205083012,-3352.0500,-7038.0000,0,0");
  const std::pair<std::string, std::string> rows[] = {
      {CDitPanelText::DateLine(p), "2026-12-05"},
      {CDitPanelText::TimeLine(p), "08:30:12"},
      // 0.2345 minutes are 14.07 seconds, shown to a tenth.
      {CDitPanelText::LatitudeLine(p), "035 041 14.1"},
      {CDitPanelText::LongitudeLine(p), "139 046 28.2     "},
      {CDitPanelText::LatitudeLine(south), "033 052 3.0"},
      {CDitPanelText::LongitudeLine(south), "070 038 0.0     "},
      {CDitPanelText::AxisLabel(0, false), "       160kph"},
      {CDitPanelText::AxisLabel(4, true), "       0mph"},
  };
  for (const auto& [got, want] : rows) EXPECT_EQ(got, want);
  const std::vector<DitPoint> points = {Point("20261205083000,3541.0,13946.0,0,0"),
                                        Point("20261205083001,3541.0,13946.0,100,0"),
                                        Point("20261205083002,3541.0,13946.0,250,0")};
  EXPECT_EQ(CDitPanelText::SpeedCurve(points, false), std::vector<int>({0, 100, 200}));
  EXPECT_EQ(CDitPanelText::SpeedCurve(points, true), std::vector<int>({0, 62, 156}));
}

}  // namespace
}  // namespace lumora
