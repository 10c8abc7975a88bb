#include <gtest/gtest.h>

#include "library/CDitPanelText.h"

namespace lumora {
namespace {

DitPoint Point(const char* line) {
  DitPoint p;
  EXPECT_TRUE(CDitFile::ParseLine(line, &p)) << line;
  return p;
}

TEST(DitPanelText, LinesOfTheCurrentPoint) {
  const DitPoint p = Point("20261205083012,3541.2345,13946.4700,61,2.5");
  EXPECT_EQ(CDitPanelText::DateLine(p), "2026-12-05");
  EXPECT_EQ(CDitPanelText::TimeLine(p), "08:30:12");
  // 0.2345 minutes are 14.07 seconds, shown to a tenth.
  EXPECT_EQ(CDitPanelText::LatitudeLine(p), "035 041 14.1");
  EXPECT_EQ(CDitPanelText::LongitudeLine(p), "139 046 28.2     ");
  const DitPoint south = Point("20261205083012,-3352.0500,-7038.0000,0,0");
  EXPECT_EQ(CDitPanelText::LatitudeLine(south), "033 052 3.0");
  EXPECT_EQ(CDitPanelText::LongitudeLine(south), "070 038 0.0     ");
}

TEST(DitPanelText, SpeedCurveAndLabels) {
  const std::vector<DitPoint> points = {Point("20261205083000,3541.0,13946.0,0,0"),
                                        Point("20261205083001,3541.0,13946.0,100,0"),
                                        Point("20261205083002,3541.0,13946.0,250,0")};
  EXPECT_EQ(CDitPanelText::SpeedCurve(points, false), std::vector<int>({0, 100, 200}));
  EXPECT_EQ(CDitPanelText::SpeedCurve(points, true), std::vector<int>({0, 62, 156}));
  EXPECT_EQ(CDitPanelText::AxisLabel(0, false), "       160kph");
  EXPECT_EQ(CDitPanelText::AxisLabel(4, true), "       0mph");
}

}  // namespace
}  // namespace lumora
