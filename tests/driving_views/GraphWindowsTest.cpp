// The graph windows drawn into images, their mode button and readout.
#include <gtest/gtest.h>

#include <QImage>

#include "data/qt/CGSensorDlg.h"
#include "data/qt/CGraphDlg.h"
#include "res/SkinBitmaps.h"
#include "tests/panel/PanelTrack.h"
#include "ui/CSkinButton.h"

namespace lumora {
namespace {

using test::FillTrack;
using test::SampleSpec;

const QRgb kGrid = qRgb(28, 77, 91);

// Vertical grid lines crossing row y (a two-pixel border counts once).
int SecondLinesOnRow(const QImage& image, int y) {
  int n = 0;
  bool inLine = false;
  for (int x = 0; x < image.width(); ++x) {
    const bool grid = image.pixel(x, y) == kGrid;
    if (grid && !inLine) ++n;
    inLine = grid;
  }
  return n;
}

TEST(CGraphDlg, SixtySecondRecordingDrawsSixtyOneSecondLines) {
  CDrivingTrack track;
  CGraphDlg dlg(&track, 60000, 0, false);
  EXPECT_EQ(dlg.size(), QSize(990, 600));
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Graph"));
  EXPECT_TRUE(dlg.isModal());
  const QImage image = dlg.Render();
  // Between two rows only the vertical lines cross.
  EXPECT_EQ(SecondLinesOnRow(image, 520 - 24 * 3 - 12), 61);
  EXPECT_EQ(image.pixel(75, 520 - 12), kGrid);
  EXPECT_NE(image.pixel(82, 520 - 12), kGrid);
}

TEST(CGraphDlg, TwentySecondRecordingAndCompactLayout) {
  CDrivingTrack track;
  CGraphDlg dlg(&track, 20000, 0, false);
  EXPECT_EQ(SecondLinesOnRow(dlg.Render(), 520 - 12), 20 + 1);  // + the right border
  CGraphDlg compact(&track, 20000, 0, true);
  EXPECT_EQ(compact.size(), QSize(800, 540));
  const QImage image = compact.Render();
  EXPECT_EQ(image.pixel(400, 460), kGrid);  // base line
  EXPECT_EQ(image.pixel(400, 460 - 21), kGrid);
  CGraphDlg empty(&track, 0, 0, false);
  EXPECT_EQ(SecondLinesOnRow(empty.Render(), 520 - 12), 2);  // the two borders only
}

TEST(CGraphDlg, ModeButtonCyclesBitmapsAndCurves) {
  CDrivingTrack track;
  FillTrack(track, 10, SampleSpec{.ax = 1.0, .bx = 0.5, .speed = 100}, 10000);
  test::AddSentence(track, "$GPRMC,000001,A,3541.2345,N,13946.4696,E,010.0,000.0,010124,,*00", 0);
  CGraphDlg dlg(&track, 10000, 0, false);
  EXPECT_EQ(dlg.Mode(), 0);
  EXPECT_EQ(dlg.ModeButton()->size(), SkinBitmap(405).size());
  EXPECT_EQ(dlg.Render().pixel(500, 160), qRgb(255, 255, 255));  // X at +1 g, mode 0
  dlg.OnChangeMode();
  EXPECT_EQ(dlg.Mode(), 1);
  EXPECT_EQ(dlg.Render().pixel(500, 400), qRgb(255, 255, 255));  // set B 0.5 g
  dlg.OnChangeMode();
  EXPECT_EQ(dlg.Mode(), 2);
  EXPECT_EQ(dlg.Render().pixel(500, 520 - 240), qRgb(0, 255, 0));  // 100 km/h
  dlg.OnChangeMode();
  EXPECT_EQ(dlg.Mode(), 0);
}

TEST(CGraphDlg, MouseReadoutIsShownAtTheTop) {
  CDrivingTrack track;
  CGraphDlg dlg(&track, 10000, 0, false);
  dlg.OnMouseRow(280);
  EXPECT_EQ(dlg.ReadoutText(), QStringLiteral(" 0.00 G"));
  dlg.OnMouseRow(40);
  EXPECT_EQ(dlg.ReadoutText(), QStringLiteral(" 2.00 G"));
  const QImage image = dlg.Render();
  int bright = 0;
  for (int y = 10; y < 28; ++y)
    for (int x = 60; x < 130; ++x)
      if (qGray(image.pixel(x, y)) > 160) ++bright;
  EXPECT_GT(bright, 15);
}

TEST(CGSensorDlg, BackgroundFrameAndPolylines) {
  CTextData text;
  CGSensorDlg dlg(&text);
  EXPECT_EQ(dlg.size(), QSize(521, 249));
  EXPECT_FALSE(dlg.isModal());
  QImage image = dlg.Render();
  // The plot's green is transparent: the black window shows through.
  EXPECT_EQ(image.pixel(100, 60), qRgb(0, 0, 0));
  EXPECT_NE(image.pixel(10, 240), qRgb(0, 255, 0));
  text.m_arrGSensor = {{0, 0, 0, 0}, {0, 0, 0, 60000}};
  image = dlg.Render();
  EXPECT_EQ(image.pixel(46 + 200, 31 + 80), qRgb(0, 0, 255) /* z drawn last over x and y */);
  text.m_arrGSensor = {{64, 0, 0, 0}, {64, 0, 0, 60000}};
  image = dlg.Render();
  EXPECT_EQ(image.pixel(46 + 200, 31 + 40), qRgb(0, 254, 0));
}

}  // namespace
}  // namespace lumora
