// Distance and times of a drive: whole metres per step from 110560 m per
// degree of latitude and 84800 m per degree of longitude; steps over an hour
// or back in time add nothing; moving above 0 km/h, over-speed above the limit.
#include <gtest/gtest.h>

#include "library/CDitStatistics.h"
#include "tests/dit/DitTestSupport.h"

namespace lumora {
namespace {

// A point `s` seconds after 08:00:00, `north` and `east` minutes from 35 41' N 139 46' E.
struct P {
  int s, north, east, speed;
};

TEST(DitStatistics, TableOfDrives) {
  struct Row {
    const char* name;
    std::vector<P> points;
    int limit;
    std::int64_t metres, total, moving, overspeed;
  };
  // One minute of latitude: 110560 / 60 = 1842.67 m; of longitude 1413.33 m.
  const Row rows[] = {
      {"north then east", {{0, 0, 0, 30}, {60, 1, 0, 30}, {120, 1, 1, 30}}, 60, 3255, 120, 120, 0},
      {"two hours gap", {{0, 0, 0, 50}, {7200, 10, 0, 50}}, 60, 0, 0, 0, 0},
      {"exactly one hour", {{0, 0, 0, 50}, {3600, 1, 0, 50}}, 60, 1842, 3600, 3600, 0},
      {"clock goes back", {{0, 0, 0, 50}, {-1, 1, 0, 50}}, 60, 0, 0, 0, 0},
      {"standing", {{0, 0, 0, 0}, {10, 0, 0, 0}, {15, 0, 0, 5}}, 60, 0, 15, 5, 0},
      {"at the limit", {{0, 0, 0, 60}, {7, 0, 0, 60}}, 60, 0, 7, 7, 0},
      {"above the limit", {{0, 0, 0, 60}, {10, 0, 0, 61}}, 60, 0, 10, 10, 10},
      {"limit 60 of three", {{0, 0, 0, 60}, {7, 0, 0, 60}, {10, 0, 0, 61}}, 60, 0, 10, 10, 3},
      {"limit 59 of three", {{0, 0, 0, 60}, {7, 0, 0, 60}, {10, 0, 0, 61}}, 59, 0, 10, 10, 10},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<DitPoint> points(row.points.size());
    for (size_t i = 0; i < points.size(); ++i) {
      const P& p = row.points[i];
      const int t = 8 * 3600 + p.s;
      char line[128];
      std::snprintf(line, sizeof line, "20261205%02d%02d%02d,%d,%d,%d,0.0", t / 3600, t / 60 % 60,
                    t % 60, 3541 + p.north, 13946 + p.east, p.speed);
      ASSERT_TRUE(CDitFile::ParseLine(line, &points[i])) << line;
    }
    const CDitStatistics s = CDitStatistics::Of(points, row.limit);
    EXPECT_EQ(s.Points(), static_cast<int>(points.size()));
    EXPECT_EQ(s.DistanceMetres(), row.metres);
    EXPECT_EQ(s.TotalSeconds(), row.total);
    EXPECT_EQ(s.MovingSeconds(), row.moving);
    EXPECT_EQ(s.OverspeedSeconds(), row.overspeed);
  }
}

TEST(DitStatistics, TextsAndFiles) {
  EXPECT_EQ(CDitStatistics::DistanceText(0), "0.00 km");
  EXPECT_EQ(CDitStatistics::DistanceText(12345), "12.35 km");
  EXPECT_EQ(CDitStatistics::TimeText(0), "00:00:00");
  EXPECT_EQ(CDitStatistics::TimeText(3 * 3600 + 4 * 60 + 5), "03:04:05");
  EXPECT_EQ(CDitStatistics::TimeText(100 * 3600), "100:00:00");
  test::TempFolder dir;
  const auto path = dir.Write("d.DIT", test::DitLine(0, 3541.0, 13946.0, 40) + "bad\r\n" +
                                           test::DitLine(60, 3542.0, 13946.0, 70));
  CDitStatistics s;
  ASSERT_TRUE(CDitStatistics::OfFile(path, 60, &s));
  EXPECT_EQ(s.Points(), 2);
  EXPECT_EQ(s.DistanceText(), "1.84 km");
  EXPECT_EQ(s.TotalText() + s.MovingText() + s.OverspeedText(), "00:01:0000:01:0000:01:00");
  EXPECT_FALSE(CDitStatistics::OfFile(dir / "none.DIT", 60, &s));
  EXPECT_EQ(s.Points(), 0);
}

}  // namespace
}  // namespace lumora
