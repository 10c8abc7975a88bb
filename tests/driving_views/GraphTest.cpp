// The "Graph" window's and the acceleration window's arithmetic as tables of
// literal values, then both windows drawn into images.
#include <gtest/gtest.h>

#include <QImage>

#include "data/GSensorPlot.h"
#include "data/GraphDlgRules.h"
#include "data/qt/CGSensorDlg.h"
#include "data/qt/CGraphDlg.h"
#include "res/SkinBitmaps.h"
#include "tests/panel/PanelTrack.h"
#include "tests/support/ViewerRun.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

using R = GraphDlgRules;
using test::FillTrack;
using test::SampleSpec;

// A line per second over the 900 pixels from x 60: 20 px a second by
// default, 900 / seconds for recordings over 45 s.
TEST(GraphDlgRules, SecondLines) {
  const GraphLayout l = R::Layout(false);
  struct Row {
    int duration;
    double pixelsPerSecond;
    size_t count;
    int step, last;
  };
  const Row rows[] = {
      {60000, 15, 61, 15, 960}, {20000, 45, 20, 45, 60 + 19 * 45}, {0, 20, 0, 0, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.duration);
    EXPECT_DOUBLE_EQ(R::PixelsPerSecond(row.duration, l), row.pixelsPerSecond);
    const auto xs = R::SecondLineXs(row.duration, l);
    ASSERT_EQ(xs.size(), row.count);
    if (xs.empty()) continue;
    EXPECT_EQ(xs.front(), 60);
    EXPECT_EQ(xs[1] - xs[0], row.step);
    EXPECT_EQ(xs.back(), row.last);
  }
  // Frame only: base line, 20 rows and three borders.
  EXPECT_EQ(R::GridLines(0, l).size(), 24u);
}

TEST(GraphDlgRules, CompactLayout) {
  const GraphLayout l = R::Layout(true);
  EXPECT_EQ(std::vector<int>({l.windowWidth, l.windowHeight, l.w, l.y0, l.r}),
            std::vector<int>({800, 540, 700, 460, 21}));
  // The mode button (40 x 39) lies inside the 800 x 540 window; (920, 530) normally.
  EXPECT_EQ(std::make_pair(l.buttonX, l.buttonY), std::make_pair(720, 470));
  EXPECT_EQ(std::make_pair(R::Layout(false).buttonX, R::Layout(false).buttonY),
            std::make_pair(920, 530));
  const auto lines = R::GridLines(0, l);
  EXPECT_EQ(lines[0], (GraphLine{60, 460, 760, 460, 2, 0x5B4D1C}));
  EXPECT_EQ(lines.back(), (GraphLine{60, 460 - 420, 760, 460 - 420, 2, 0x5B4D1C}));
}

TEST(GraphDlgRules, ReadoutsLabelsLegendAndModes) {
  const GraphLayout l = R::Layout(false);
  const std::pair<std::string, std::string> rows[] = {
      // The mouse row read against the mode's scale.
      {R::Readout(0, 280, 0), " 0.00 G"},
      {R::Readout(0, 40, 0), " 2.00 G"},
      {R::Readout(0, 0, 0), " 2.00 G"},
      {R::Readout(0, 600, 0), "-2.00 G"},
      {R::Readout(1, 580, 0), " 0.00 G"},
      {R::Readout(1, 280, 0), " 1.00 G"},
      {R::Readout(2, 280, 0), "100 kph"},
      {R::Readout(2, 520, 1), "000 mph"},
      {R::Readout(2, 10, 0), "200 kph"},
      // 21 labels from the bottom row up.
      {R::YLabels(0, 0, l)[0].text, "-2.00G"},
      {R::YLabels(0, 0, l)[10].text, "0.00G"},
      {R::YLabels(0, 0, l)[20].text, "2.00G"},
      {R::YLabels(1, 0, l)[5].text, "0.50G"},
      {R::YLabels(2, 0, l)[20].text, "200kph"},
      {R::YLabels(2, 1, l)[3].text, "30mph"},
      {R::Legend(1, l)[2].text, "Z axis"},
      {R::Legend(2, l)[0].text, "Speed"},
  };
  for (const auto& [got, want] : rows) EXPECT_EQ(got, want);
  EXPECT_EQ(R::YLabels(0, 0, l).size(), 21u);
  EXPECT_EQ(R::YLabels(0, 0, l)[20].top, 520 - 7 - 480);
  EXPECT_EQ(R::YLabels(0, 0, l)[20].left, 5);
  EXPECT_EQ(R::Legend(0, l).size(), 3u);
  EXPECT_EQ(R::NextMode(0), 1);
  EXPECT_EQ(R::NextMode(2), 0);
  EXPECT_EQ(R::ModeBitmaps(0), std::make_pair(405, 430));
  EXPECT_EQ(R::ModeBitmaps(1), std::make_pair(404, 429));
  EXPECT_EQ(R::ModeBitmaps(2), std::make_pair(406, 431));
}

// Curves from x 60, 900 / samples apart: set A around y 280 at 120 px per g
// (X, Y, Z of each step in turn), set B from y 520, the speed from y 520 at
// 2.4 px per km/h up to 200 km/h, in mph v * 10 / 16.
TEST(GraphDlgRules, CurvesOfTheThreeModes) {
  const GraphLayout l = R::Layout(false);
  CDrivingTrack track;
  FillTrack(track, 10, SampleSpec{.speed = 50}, 0);
  EXPECT_TRUE(R::Curves(track, 2, 0, 0, l).empty());
  FillTrack(track, 4, SampleSpec{.ax = 1.0, .ay = -0.5, .az = 0.25, .bx = 0.5, .speed = 250}, 4000);
  const auto a = R::Curves(track, 0, 4000, 0, l);
  ASSERT_EQ(a.size(), 9u);
  EXPECT_EQ(a[0], (GraphLine{60, 280 - 120, 285, 280 - 120, 1, 0xFFFFFF}));
  EXPECT_EQ(a[1], (GraphLine{60, 280 + 60, 285, 280 + 60, 1, 0xFFFF00}));
  EXPECT_EQ(a[2], (GraphLine{60, 280 - 30, 285, 280 - 30, 1, 0x00FF00}));
  EXPECT_EQ(R::Curves(track, 1, 4000, 0, l)[0].y1, 520 - 120);
  const auto s = R::Curves(track, 2, 4000, 0, l);
  ASSERT_EQ(s.size(), 4u);
  EXPECT_EQ(s[0], (GraphLine{60, 40, 285, 40, 1, 0x00FF00}));  // 250 drawn as 200: y0 - 20 r
  EXPECT_EQ(s[3].x2, 960);
  // 250 km/h in mph is 156: 520 - trunc(374.4).
  EXPECT_EQ(R::Curves(track, 2, 4000, 1, l)[1].y2, 146);
}

// The acceleration window plots the first minute into 460 x 160: 64 units
// (1 g) are 40 pixels from the middle, z positive upwards from the bottom.
TEST(GSensorPlot, MinutesScaledIntoThePlot) {
  const std::vector<CGSensorData> readings = {
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
  // Readings from the track: set A in 64 units per g, limited to 128, spread
  // over the recording.
  CDrivingTrack track;
  FillTrack(track, 4, SampleSpec{.ax = 1.0, .ay = -0.5, .az = 3.0}, 40000);
  const auto read = GSensorPlot::ReadingsFrom(track, 40000);
  ASSERT_EQ(read.size(), 4u);
  EXPECT_EQ(std::vector<int>({read[0].m_nX, read[0].m_nY, read[0].m_nZ}),
            std::vector<int>({64, -32, 128}));
  EXPECT_EQ(read[1].m_uTime, 10000u);
  EXPECT_EQ(read[3].m_uTime, 30000u);
  EXPECT_TRUE(GSensorPlot::ReadingsFrom(CDrivingTrack{}, 40000).empty());
}

const QRgb kGrid = qRgb(28, 77, 91);

// Vertical grid lines crossing row y (a two-pixel border counts once).
int LinesOnRow(const QImage& image, int y) {
  int n = 0;
  for (int x = 0; x < image.width(); ++x) {
    n += image.pixel(x, y) == kGrid && (x == 0 || image.pixel(x - 1, y) != kGrid);
  }
  return n;
}

TEST(CGraphDlg, SecondLinesAndCompactLayout) {
  CDrivingTrack track;
  CGraphDlg dlg(&track, 60000, 0, false);
  EXPECT_EQ(dlg.size(), QSize(990, 600));
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Graph"));
  const QImage image = dlg.Render();
  // Between two rows only the vertical lines cross: 61 for 60 s, 15 apart.
  EXPECT_EQ(LinesOnRow(image, 520 - 24 * 3 - 12), 61);
  EXPECT_EQ(image.pixel(75, 520 - 12), kGrid);
  EXPECT_NE(image.pixel(82, 520 - 12), kGrid);
  // 20 s: 20 lines and the right border; none: the two borders.
  EXPECT_EQ(LinesOnRow(CGraphDlg(&track, 20000, 0, false).Render(), 520 - 12), 21);
  EXPECT_EQ(LinesOnRow(CGraphDlg(&track, 0, 0, false).Render(), 520 - 12), 2);
  CGraphDlg compact(&track, 20000, 0, true);
  EXPECT_EQ(compact.size(), QSize(800, 540));
  EXPECT_EQ(compact.Render().pixel(400, 460 - 21), kGrid);
}

TEST(CGraphDlg, ModeButtonCyclesCurvesAndTheReadoutIsShown) {
  CDrivingTrack track;
  test::FillTrack(track, 10, test::SampleSpec{.ax = 1.0, .bx = 0.5, .speed = 100}, 10000);
  test::AddSentence(track, "$GPRMC,000001,A,3541.2345,N,13946.4696,E,010.0,000.0,010124,,*00", 0);
  CGraphDlg dlg(&track, 10000, 0, false);
  EXPECT_EQ(dlg.ModeButton()->size(), SkinBitmap(405).size());
  // Mode 0: X at +1 g; mode 1: set B 0.5 g; mode 2: 100 km/h; then mode 0.
  const std::pair<QPoint, QRgb> shown[] = {{{500, 160}, qRgb(255, 255, 255)},
                                           {{500, 400}, qRgb(255, 255, 255)},
                                           {{500, 280}, qRgb(0, 255, 0)}};
  for (int mode = 0; mode < 3; ++mode) {
    EXPECT_EQ(dlg.Mode(), mode);
    EXPECT_EQ(dlg.Render().pixel(shown[mode].first), shown[mode].second) << mode;
    dlg.OnChangeMode();
  }
  EXPECT_EQ(dlg.Mode(), 0);
  dlg.OnMouseRow(280);
  EXPECT_EQ(dlg.ReadoutText(), QStringLiteral(" 0.00 G"));
  dlg.OnMouseRow(40);
  EXPECT_EQ(dlg.ReadoutText(), QStringLiteral(" 2.00 G"));
  const auto bright = [](QRgb p) { return qGray(p) > 160; };
  EXPECT_GT(test::CountPixels(dlg.Render(), QRect(60, 10, 70, 18), bright).pixels, 15);
}

TEST(CGSensorDlg, BackgroundFrameAndPolylines) {
  CTextData text;
  CGSensorDlg dlg(&text);
  EXPECT_EQ(dlg.size(), QSize(521, 249));
  QImage image = dlg.Render();
  // The plot's green is transparent: the black window shows through.
  EXPECT_EQ(image.pixel(100, 60), qRgb(0, 0, 0));
  EXPECT_NE(image.pixel(10, 240), qRgb(0, 255, 0));
  text.m_arrGSensor = {{0, 0, 0, 0}, {0, 0, 0, 60000}};
  EXPECT_EQ(dlg.Render().pixel(46 + 200, 31 + 80), qRgb(0, 0, 255));  // z drawn over x and y
  text.m_arrGSensor = {{64, 0, 0, 0}, {64, 0, 0, 60000}};
  EXPECT_EQ(dlg.Render().pixel(46 + 200, 31 + 40), qRgb(0, 254, 0));
}

}  // namespace
}  // namespace lumora
