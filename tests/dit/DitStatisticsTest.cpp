#include <gtest/gtest.h>

#include "library/CDitStatistics.h"
#include "tests/dit/DitTestSupport.h"

namespace lumora {
namespace {

DitPoint Point(const std::string& dateTime, double lat, double lon, int speed) {
  DitPoint p;
  char line[128];
  std::snprintf(line, sizeof line, "%s,%.4f,%.4f,%d,0.0", dateTime.c_str(), lat, lon, speed);
  EXPECT_TRUE(CDitFile::ParseLine(line, &p)) << line;
  return p;
}

TEST(DitStatistics, TextsOfDistanceAndTime) {
  EXPECT_EQ(CDitStatistics::DistanceText(0), "0.00 km");
  EXPECT_EQ(CDitStatistics::DistanceText(12345), "12.35 km");
  EXPECT_EQ(CDitStatistics::TimeText(0), "00:00:00");
  EXPECT_EQ(CDitStatistics::TimeText(3 * 3600 + 4 * 60 + 5), "03:04:05");
  EXPECT_EQ(CDitStatistics::TimeText(100 * 3600), "100:00:00");
}

TEST(DitStatistics, StepsInWholeMetresFromTheScaledDegrees) {
  // One minute of latitude north: 110560 / 60 = 1842.67 m, truncated.
  const auto a = Point("20261205083000", 3541.0, 13946.0, 30);
  const auto b = Point("20261205083100", 3542.0, 13946.0, 30);
  // One minute of longitude east: 84800 / 60 = 1413.33 m.
  const auto c = Point("20261205083200", 3542.0, 13947.0, 30);
  const CDitStatistics s = CDitStatistics::Of({a, b, c}, 60);
  EXPECT_EQ(s.Points(), 3);
  EXPECT_EQ(s.DistanceMetres(), 1842 + 1413);
  EXPECT_EQ(s.DistanceText(), "3.25 km");
  EXPECT_EQ(s.TotalText(), "00:02:00");
  EXPECT_EQ(s.MovingText(), "00:02:00");
  EXPECT_EQ(s.OverspeedText(), "00:00:00");
}

TEST(DitStatistics, GapsOverAnHourAndClockStepsBackAddNothing) {
  const auto a = Point("20261205080000", 3541.0, 13946.0, 50);
  const auto b = Point("20261205100000", 3551.0, 13946.0, 50);  // 2 hours later
  CDitStatistics s = CDitStatistics::Of({a, b}, 60);
  EXPECT_EQ(s.DistanceMetres(), 0);
  EXPECT_EQ(s.TotalSeconds(), 0);
  EXPECT_EQ(s.MovingSeconds(), 0);
  // Exactly one hour still counts.
  const auto c = Point("20261205090000", 3542.0, 13946.0, 50);
  s = CDitStatistics::Of({a, c}, 60);
  EXPECT_EQ(s.TotalSeconds(), 3600);
  EXPECT_EQ(s.DistanceMetres(), 1842);
  // Going back in time.
  const auto d = Point("20261205075959", 3542.0, 13946.0, 50);
  s = CDitStatistics::Of({a, d}, 60);
  EXPECT_EQ(s.TotalSeconds(), 0);
  EXPECT_EQ(s.DistanceMetres(), 0);
}

TEST(DitStatistics, StandingAddsTotalButNotMovingTime) {
  const auto a = Point("20261205083000", 3541.0, 13946.0, 0);
  const auto b = Point("20261205083010", 3541.0, 13946.0, 0);
  const auto c = Point("20261205083015", 3541.0, 13946.0, 5);
  const CDitStatistics s = CDitStatistics::Of({a, b, c}, 60);
  EXPECT_EQ(s.TotalSeconds(), 15);
  EXPECT_EQ(s.MovingSeconds(), 5);
  EXPECT_EQ(s.TotalText(), "00:00:15");
  EXPECT_EQ(s.MovingText(), "00:00:05");
}

TEST(DitStatistics, OverspeedStartsAboveTheLimit) {
  const auto a = Point("20261205083000", 3541.0, 13946.0, 60);
  const auto at60 = Point("20261205083007", 3541.0, 13946.0, 60);
  const auto at61 = Point("20261205083010", 3541.0, 13946.0, 61);
  EXPECT_EQ(CDitStatistics::Of({a, at60}, CDitStatistics::kDefaultLimit).OverspeedSeconds(), 0);
  EXPECT_EQ(CDitStatistics::Of({a, at61}, CDitStatistics::kDefaultLimit).OverspeedSeconds(), 10);
  EXPECT_EQ(CDitStatistics::Of({a, at60, at61}, 60).OverspeedText(), "00:00:03");
  // A lower limit turns the same drive into over-speed time.
  EXPECT_EQ(CDitStatistics::Of({a, at60, at61}, 59).OverspeedText(), "00:00:10");
}

TEST(DitStatistics, FileStatisticsSkipInvalidLines) {
  test::TempFolder dir;
  const auto path = dir.Write("d.DIT", test::DitLine(0, 3541.0, 13946.0, 40) + "bad\r\n" +
                                           test::DitLine(60, 3542.0, 13946.0, 70));
  CDitStatistics s;
  ASSERT_TRUE(CDitStatistics::OfFile(path, 60, &s));
  EXPECT_EQ(s.Points(), 2);
  EXPECT_EQ(s.DistanceText(), "1.84 km");
  EXPECT_EQ(s.OverspeedText(), "00:01:00");
  EXPECT_FALSE(CDitStatistics::OfFile(dir.path() / "none.DIT", 60, &s));
  EXPECT_EQ(s.Points(), 0);
}

}  // namespace
}  // namespace lumora
