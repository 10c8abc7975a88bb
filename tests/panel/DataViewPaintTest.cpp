// CDataView drawing into an image the size of the main window, checked by pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "display/qt/CDataView.h"
#include "display/qt/Draw.h"
#include "tests/panel/PanelTrack.h"

namespace lumora {
namespace {

using test::AddSentence;
using test::FillTrack;
using test::SampleSpec;

const QRgb kRed = qRgb(200, 0, 0);

QImage Canvas() {
  QImage image(1020, 720, QImage::Format_RGB32);
  image.fill(kRed);
  return image;
}

QRgb Rgb(std::uint32_t ref) { return qRgb(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF); }

int CountColour(const QImage& image, const QRect& rect, QRgb colour) {
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (image.pixel(x, y) == colour) ++n;
  return n;
}

// Pixels of light text (anti-aliased glyphs are not pure white).
int CountBright(const QImage& image, const QRect& rect) {
  int n = 0;
  for (int y = rect.top(); y <= rect.bottom(); ++y)
    for (int x = rect.left(); x <= rect.right(); ++x)
      if (qGray(image.pixel(x, y)) > 160 && qRed(image.pixel(x, y)) > 160) ++n;
  return n;
}

// The colour within one pixel of (x, y).
bool Near(const QImage& image, int x, int y, QRgb colour) {
  return CountColour(image, QRect(x - 1, y - 1, 3, 3), colour) > 0;
}

struct Panel {
  CDrivingTrack track;
  DataPanelInput input;
  CDataView view{&track, &input};
  QImage image = Canvas();

  void Paint(void (CDataView::*op)(QPainter&)) {
    QPainter p(&image);
    (view.*op)(p);
  }
};

TEST(DataViewPaint, DrawLineUsesTheColourRefAndRestoresThePen) {
  QImage image = Canvas();
  QPainter p(&image);
  const QPen before(Qt::magenta);
  p.setPen(before);
  Draw::DrawLine(p, 10, 10, 50, 10, 0x09A9FF);
  Draw::DrawLineWidth(p, 10, 30, 50, 30, 3, 0x5B4D1C);
  EXPECT_EQ(p.pen().color(), QColor(Qt::magenta));
  p.end();
  EXPECT_EQ(image.pixel(30, 10), qRgb(255, 169, 9));
  EXPECT_EQ(image.pixel(30, 11), kRed);
  EXPECT_EQ(image.pixel(30, 29), qRgb(28, 77, 91));
  EXPECT_EQ(image.pixel(30, 31), qRgb(28, 77, 91));
}

TEST(DataViewPaint, NeedleAtEightyPointsStraightUp) {
  Panel panel;
  FillTrack(panel.track, 10, SampleSpec{.speed = 80}, 10000);
  panel.input.duration = 10000;
  panel.input.position = 5000;
  panel.Paint(&CDataView::DrawGauges);
  const QRgb needle = Rgb(DataPanelRules::kNeedleColour);
  EXPECT_EQ(panel.image.pixel(272, 490), needle);
  EXPECT_EQ(panel.image.pixel(272, 470), needle);
  EXPECT_NE(panel.image.pixel(250, 528), needle);
  // The face is drawn around the needle; the window outside the faces stays.
  EXPECT_EQ(panel.image.pixel(100, 500), kRed);
}

TEST(DataViewPaint, NeedleAtZeroAndClampedAbove160) {
  Panel panel;
  FillTrack(panel.track, 10, SampleSpec{.speed = 0}, 10000);
  panel.input.duration = 10000;
  panel.Paint(&CDataView::DrawGauges);
  const QRgb needle = Rgb(DataPanelRules::kNeedleColour);
  EXPECT_TRUE(Near(panel.image, 256, 527, needle));  // on the line to (240, 542)
  EXPECT_FALSE(Near(panel.image, 272, 490, needle));

  Panel fast;
  FillTrack(fast.track, 10, SampleSpec{.speed = 240}, 10000);
  fast.input.duration = 10000;
  fast.Paint(&CDataView::DrawGauges);
  EXPECT_TRUE(Near(fast.image, 288, 527, needle));  // on the line to (303, 542)
  EXPECT_FALSE(Near(fast.image, 256, 527, needle));
}

TEST(DataViewPaint, MphNeedleShowsSixtyTwo) {
  Panel panel;
  FillTrack(panel.track, 10, SampleSpec{.speed = 100}, 10000);
  panel.input.duration = 10000;
  panel.input.speedUnit = 1;
  panel.Paint(&CDataView::DrawGauges);
  const PanelPoint end = DataPanelRules::NeedleEnd(62);
  const QRgb needle = Rgb(DataPanelRules::kNeedleColour);
  EXPECT_TRUE(Near(panel.image, (272 + end.x) / 2, (511 + end.y) / 2, needle));
  const PanelPoint kmh = DataPanelRules::NeedleEnd(100);
  EXPECT_FALSE(Near(panel.image, (272 + kmh.x) / 2, (511 + kmh.y) / 2, needle));
}

TEST(DataViewPaint, StripShowsGridCursorCurvesAndLabels) {
  Panel panel;
  FillTrack(panel.track, 20, SampleSpec{.ax = 1.0, .ay = 0.0, .az = -1.0}, 20000);
  panel.input.duration = 20000;
  panel.input.position = 10000;
  panel.Paint(&CDataView::DrawGraphStrip);
  const QImage& im = panel.image;
  // Off-screen y maps to window y + 19.
  EXPECT_EQ(im.pixel(600, 640 - 556 + 575), Rgb(0x5B4D1C));
  EXPECT_EQ(im.pixel(600, 560 - 556 + 575), Rgb(0x5B4D1C));
  EXPECT_EQ(im.pixel(400, 579 + 19), qRgb(255, 255, 255));  // X at +1 g
  EXPECT_EQ(im.pixel(400, 602 + 19), qRgb(0, 255, 255));    // Y at 0 g
  EXPECT_EQ(im.pixel(400, 625 + 19), qRgb(0, 255, 0));      // Z at -1 g
  const int cursor = DataPanelRules::CursorX(10000, 20000);
  EXPECT_EQ(im.pixel(cursor, 590), qRgb(255, 169, 9));
  // The block ends at x 646 and y 659; beyond it the window is untouched.
  EXPECT_EQ(im.pixel(647, 600), kRed);
  EXPECT_EQ(im.pixel(400, 660), kRed);
  EXPECT_EQ(im.pixel(400, 574), kRed);
  // Labels: white text on 0x0C0C0C in the label column.
  EXPECT_GT(CountColour(im, QRect(216, 575, 39, 90), qRgb(255, 255, 255)), 10);
  EXPECT_GT(CountColour(im, QRect(216, 575, 39, 90), qRgb(12, 12, 12)), 10);
}

TEST(DataViewPaint, CursorStopsAt647AtTheEnd) {
  Panel panel;
  FillTrack(panel.track, 20, SampleSpec{}, 20000);
  panel.input.duration = 20000;
  const QRgb cursor = qRgb(255, 169, 9);
  // Just before the clamp the cursor is the last column of the copied block.
  panel.input.position = 20000 * 391 / 397 + 1;
  panel.Paint(&CDataView::DrawGraphStrip);
  EXPECT_EQ(panel.image.pixel(646, 590), cursor);
  // At and past the end it stays at 647, the first column outside the block.
  for (std::int64_t p : {20000, 40000}) {
    panel.image = Canvas();
    panel.input.position = p;
    panel.Paint(&CDataView::DrawGraphStrip);
    EXPECT_EQ(CountColour(panel.image, QRect(0, 0, 1020, 720), cursor), 0) << p;
  }
}

TEST(DataViewPaint, EmptyTrackDrawsOnlyGridAndCursor) {
  Panel panel;
  panel.input.duration = 0;
  for (int mode = 0; mode < 3; ++mode) {
    panel.input.graphMode = mode;
    panel.image = Canvas();
    panel.Paint(&CDataView::DrawGraphStrip);
    const QRect curves(256, 575, 391, 85);
    EXPECT_EQ(CountColour(panel.image, curves, qRgb(255, 255, 255)), 0) << mode;
    EXPECT_EQ(CountColour(panel.image, curves, qRgb(0, 255, 0)), 0) << mode;
    // Mode 2 without fixes has no cursor either.
    EXPECT_EQ(CountColour(panel.image, QRect(216, 575, 431, 85), qRgb(255, 169, 9)) > 0, mode != 2)
        << mode;
  }
}

TEST(DataViewPaint, TextBlockLinesAndBlankCoordinates) {
  Panel panel;
  FillTrack(panel.track, 10, SampleSpec{}, 10000);
  panel.input.duration = 10000;
  panel.input.label = "20240101_120000_F.avi";
  panel.Paint(&CDataView::DrawDataText);
  const QImage& im = panel.image;
  EXPECT_GT(CountBright(im, QRect(500, 465, 250, 20)), 20);
  // No time in the slot: the line keeps what was there.
  EXPECT_EQ(CountColour(im, QRect(500, 490, 250, 20), kRed), 250 * 20);
  // No fix: both coordinate lines are blanked with the text background.
  EXPECT_EQ(CountColour(im, QRect(500, 515, 250, 20), qRgb(255, 255, 255)), 0);
  EXPECT_GT(CountColour(im, QRect(500, 515, 100, 10), qRgb(50, 50, 50)), 400);
  EXPECT_GT(CountColour(im, QRect(500, 540, 100, 10), qRgb(50, 50, 50)), 400);
  EXPECT_TRUE(panel.track.GetRestartSignal());
  // A recording without driving data: its notice takes the time-of-day line.
  panel.input.notice = "No driving data";
  panel.Paint(&CDataView::DrawDataText);
  EXPECT_GT(CountBright(panel.image, QRect(500, 490, 250, 20)), 20);
}

TEST(DataViewPaint, TextBlockWithTimeAndFix) {
  Panel panel;
  FillTrack(panel.track, 10, SampleSpec{.hour = 12, .minute = 34, .second = 56}, 10000);
  panel.input.duration = 10000;
  panel.input.position = 0;  // slot 0 carries the first sample's time
  panel.input.fix = PanelFix{true, 3541.2345, 13946.4696, 'N', 'E', 30.0};
  panel.Paint(&CDataView::DrawDataText);
  const QImage& im = panel.image;
  EXPECT_GT(CountBright(im, QRect(500, 490, 250, 20)), 20);
  EXPECT_GT(CountBright(im, QRect(500, 515, 250, 20)), 20);
  EXPECT_GT(CountBright(im, QRect(500, 540, 250, 20)), 20);
  // Nothing is drawn outside the four line rectangles.
  EXPECT_EQ(im.pixel(499, 470), kRed);
  EXPECT_EQ(im.pixel(750, 470), kRed);
}

TEST(DataViewPaint, TimeOfDayLineKeepsItsLastTextBetweenTimedSlots) {
  Panel panel;
  FillTrack(panel.track, 10, SampleSpec{.hour = 12, .minute = 34, .second = 56}, 10000);
  panel.input.duration = 10000;
  panel.input.label = "20240101_120000_F.avi";
  panel.input.position = 0;  // slot 0: a whole sample with its time
  panel.Paint(&CDataView::DrawDataText);
  const QImage timed = panel.image.copy(QRect(500, 490, 250, 20));
  EXPECT_GT(CountBright(timed, timed.rect()), 20);
  // A slot between two samples carries no time: a fresh paint (as the
  // window repaints its whole area) still shows the last time.
  const std::uint32_t between = panel.track.GetResampledSlot(120, 10000);
  ASSERT_EQ(panel.track.GetResampled(between)->time[0], 0);
  panel.input.position = 120;
  panel.image = Canvas();
  panel.Paint(&CDataView::DrawDataText);
  EXPECT_EQ(panel.image.copy(QRect(500, 490, 250, 20)), timed);
  // Another recording starts without it.
  panel.input.label = "20240101_120100_F.avi";
  panel.image = Canvas();
  panel.Paint(&CDataView::DrawDataText);
  EXPECT_EQ(CountColour(panel.image, QRect(500, 490, 250, 20), kRed), 250 * 20);
}

TEST(DataViewPaint, FullScreenDrawsNothingButSetsTheRestartSignal) {
  Panel panel;
  FillTrack(panel.track, 10, SampleSpec{.speed = 50, .hour = 1}, 10000);
  AddSentence(panel.track, "$GPRMC,123519,A,3541.2345,N,13946.4696,E,022.4,084.4,230394,,*6A", 0);
  panel.input.duration = 10000;
  panel.input.position = 2000;
  panel.input.fullScreen = true;
  panel.input.fix.valid = true;
  ASSERT_FALSE(panel.track.GetRestartSignal());
  QPainter p(&panel.image);
  panel.view.DrawAll(p);
  p.end();
  EXPECT_EQ(panel.image, Canvas());
  EXPECT_TRUE(panel.track.GetRestartSignal());
}

}  // namespace
}  // namespace lumora
