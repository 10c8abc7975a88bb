// The "Graph" window's arithmetic and the acceleration window's polylines.
#include <gtest/gtest.h>

#include "data/GSensorPlot.h"
#include "data/GraphDlgRules.h"
#include "tests/panel/PanelTrack.h"

namespace lumora {
namespace {

using test::FillTrack;
using test::SampleSpec;

TEST(GraphDlgRules, SixtySecondsGiveSixtyOneLinesFifteenApart) {
  const GraphLayout l = GraphDlgRules::Layout(false);
  EXPECT_DOUBLE_EQ(GraphDlgRules::PixelsPerSecond(60000, l), 15.0);
  const auto xs = GraphDlgRules::SecondLineXs(60000, l);
  ASSERT_EQ(xs.size(), 61u);
  EXPECT_EQ(xs.front(), 60);
  EXPECT_EQ(xs[1], 75);
  EXPECT_EQ(xs.back(), 960);
}

TEST(GraphDlgRules, TwentySecondsGiveTwentyLinesFortyFiveApart) {
  const GraphLayout l = GraphDlgRules::Layout(false);
  const auto xs = GraphDlgRules::SecondLineXs(20000, l);
  ASSERT_EQ(xs.size(), 20u);
  EXPECT_EQ(xs[1] - xs[0], 45);
  EXPECT_EQ(xs.back(), 60 + 19 * 45);
}

TEST(GraphDlgRules, DurationZeroHasNoSecondLinesAndNoSpeedCurve) {
  const GraphLayout l = GraphDlgRules::Layout(false);
  EXPECT_DOUBLE_EQ(GraphDlgRules::PixelsPerSecond(0, l), 20.0);
  EXPECT_TRUE(GraphDlgRules::SecondLineXs(0, l).empty());
  CDrivingTrack track;
  FillTrack(track, 10, SampleSpec{.speed = 50}, 0);
  EXPECT_TRUE(GraphDlgRules::Curves(track, 2, 0, 0, l).empty());
  // Frame only: base line, 20 rows and three borders.
  EXPECT_EQ(GraphDlgRules::GridLines(0, l).size(), 24u);
}

TEST(GraphDlgRules, CompactLayout) {
  const GraphLayout l = GraphDlgRules::Layout(true);
  EXPECT_EQ(l.windowWidth, 800);
  EXPECT_EQ(l.windowHeight, 540);
  EXPECT_EQ(l.w, 700);
  EXPECT_EQ(l.y0, 460);
  EXPECT_EQ(l.r, 21);
  // The mode button (40 x 39) lies inside the 800 x 540 window; (920, 530) normally.
  EXPECT_EQ(std::make_pair(l.buttonX, l.buttonY), std::make_pair(720, 470));
  EXPECT_EQ(GraphDlgRules::Layout(false).buttonX, 920);
  EXPECT_EQ(GraphDlgRules::Layout(false).buttonY, 530);
  const auto lines = GraphDlgRules::GridLines(0, l);
  EXPECT_EQ(lines[0], (GraphLine{60, 460, 760, 460, 2, 0x5B4D1C}));
  EXPECT_EQ(lines.back(), (GraphLine{60, 460 - 420, 760, 460 - 420, 2, 0x5B4D1C}));
}

TEST(GraphDlgRules, MouseReadouts) {
  EXPECT_EQ(GraphDlgRules::Readout(0, 280, 0), " 0.00 G");
  EXPECT_EQ(GraphDlgRules::Readout(0, 40, 0), " 2.00 G");
  EXPECT_EQ(GraphDlgRules::Readout(0, 0, 0), " 2.00 G");
  EXPECT_EQ(GraphDlgRules::Readout(0, 600, 0), "-2.00 G");
  EXPECT_EQ(GraphDlgRules::Readout(1, 580, 0), " 0.00 G");
  EXPECT_EQ(GraphDlgRules::Readout(1, 280, 0), " 1.00 G");
  EXPECT_EQ(GraphDlgRules::Readout(2, 280, 0), "100 kph");
  EXPECT_EQ(GraphDlgRules::Readout(2, 520, 1), "000 mph");
  EXPECT_EQ(GraphDlgRules::Readout(2, 10, 0), "200 kph");
}

TEST(GraphDlgRules, LabelsLegendAndModeButton) {
  const GraphLayout l = GraphDlgRules::Layout(false);
  const auto a = GraphDlgRules::YLabels(0, 0, l);
  ASSERT_EQ(a.size(), 21u);
  EXPECT_EQ(a[0].text, "-2.00G");
  EXPECT_EQ(a[10].text, "0.00G");
  EXPECT_EQ(a[20].text, "2.00G");
  EXPECT_EQ(a[20].top, 520 - 7 - 480);
  EXPECT_EQ(a[20].left, 5);
  EXPECT_EQ(GraphDlgRules::YLabels(1, 0, l)[5].text, "0.50G");
  EXPECT_EQ(GraphDlgRules::YLabels(2, 0, l)[20].text, "200kph");
  EXPECT_EQ(GraphDlgRules::YLabels(2, 1, l)[3].text, "30mph");
  EXPECT_EQ(GraphDlgRules::Legend(0, l).size(), 3u);
  EXPECT_EQ(GraphDlgRules::Legend(1, l)[2].text, "Z axis");
  EXPECT_EQ(GraphDlgRules::Legend(2, l)[0].text, "Speed");
  EXPECT_EQ(GraphDlgRules::NextMode(0), 1);
  EXPECT_EQ(GraphDlgRules::NextMode(2), 0);
  EXPECT_EQ(GraphDlgRules::ModeBitmaps(0), std::make_pair(405, 430));
  EXPECT_EQ(GraphDlgRules::ModeBitmaps(1), std::make_pair(404, 429));
  EXPECT_EQ(GraphDlgRules::ModeBitmaps(2), std::make_pair(406, 431));
}

TEST(GraphDlgRules, CurvesOfTheThreeModes) {
  const GraphLayout l = GraphDlgRules::Layout(false);
  CDrivingTrack track;
  FillTrack(track, 4, SampleSpec{.ax = 1.0, .ay = -0.5, .az = 0.25, .bx = 0.5, .speed = 250}, 4000);
  const auto a = GraphDlgRules::Curves(track, 0, 4000, 0, l);
  ASSERT_EQ(a.size(), 9u);
  // X, Y, Z of each step in turn; step 900 / 4 = 225.
  EXPECT_EQ(a[0], (GraphLine{60, 280 - 120, 285, 280 - 120, 1, 0xFFFFFF}));
  EXPECT_EQ(a[1], (GraphLine{60, 280 + 60, 285, 280 + 60, 1, 0xFFFF00}));
  EXPECT_EQ(a[2], (GraphLine{60, 280 - 30, 285, 280 - 30, 1, 0x00FF00}));
  const auto b = GraphDlgRules::Curves(track, 1, 4000, 0, l);
  EXPECT_EQ(b[0].y1, 520 - 120);
  // Speeds over 200 reach the top line, y0 - 20 r.
  const auto s = GraphDlgRules::Curves(track, 2, 4000, 0, l);
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0], (GraphLine{60, 40, 285, 40, 1, 0x00FF00}));
  EXPECT_EQ(s[3].x2, 960);
  // 250 km/h in mph is 156: 520 - trunc(374.4).
  EXPECT_EQ(GraphDlgRules::Curves(track, 2, 4000, 1, l)[1].y2, 146);
}

TEST(GSensorPlot, FirstMinuteScaledIntoThePlot) {
  std::vector<CGSensorData> readings = {
      {0, 0, 0, 0}, {64, -64, 128, 30000}, {10, 10, 10, 60000}, {5, 5, 5, 60001}};
  const auto lines = GSensorPlot::Make(readings);
  ASSERT_EQ(lines.x.size(), 3u);
  EXPECT_EQ(lines.x[0], (PlotPoint{0, 80}));
  EXPECT_EQ(lines.x[1], (PlotPoint{230, 40}));
  EXPECT_EQ(lines.y[1], (PlotPoint{230, 120}));
  EXPECT_EQ(lines.z[1], (PlotPoint{230, 0}));
  EXPECT_EQ(lines.x[2].x, 460);
  EXPECT_TRUE(GSensorPlot::Make({}).x.empty());
  // The second minute, for a position inside it.
  EXPECT_EQ(GSensorPlot::MinuteStart(75000), 60000u);
  EXPECT_EQ(GSensorPlot::CursorX(75000), 115);
  const auto second = GSensorPlot::Make(readings, 460, 160, 60000);
  ASSERT_EQ(second.x.size(), 2u);
  EXPECT_EQ(second.x[0], (PlotPoint{0, 74}));
  EXPECT_EQ(second.x[1].x, 0);
}

TEST(GSensorPlot, ReadingsFromTheTrackSpreadOverTheRecording) {
  CDrivingTrack track;
  // Set A in g: X 1.0, Y -0.5, Z 3.0 (limited to 128 units).
  SampleSpec spec;
  spec.ax = 1.0;
  spec.ay = -0.5;
  spec.az = 3.0;
  FillTrack(track, 4, spec, 40000);
  const auto readings = GSensorPlot::ReadingsFrom(track, 40000);
  ASSERT_EQ(readings.size(), 4u);
  EXPECT_EQ(readings[0].m_nX, 64);
  EXPECT_EQ(readings[0].m_nY, -32);
  EXPECT_EQ(readings[0].m_nZ, 128);
  EXPECT_EQ(readings[1].m_uTime, 10000u);
  EXPECT_EQ(readings[3].m_uTime, 30000u);
  EXPECT_TRUE(GSensorPlot::ReadingsFrom(CDrivingTrack{}, 40000).empty());
}

}  // namespace
}  // namespace lumora
