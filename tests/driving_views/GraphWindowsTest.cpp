// The graph windows drawn into images: the second lines, the mode button's
// bitmaps and curves, the mouse readout, and the acceleration window's plot.
#include <gtest/gtest.h>

#include <QImage>

#include "data/qt/CGSensorDlg.h"
#include "data/qt/CGraphDlg.h"
#include "res/SkinBitmaps.h"
#include "tests/panel/PanelTrack.h"
#include "tests/support/ViewerRun.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

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
