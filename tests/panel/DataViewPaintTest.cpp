// CDataView drawing into an image the size of the main window, checked by
// pixels: the needle, the graph strip with its cursor, the text block.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "display/qt/CDataView.h"
#include "display/qt/Draw.h"
#include "tests/panel/PanelTrack.h"
#include "tests/support/ViewerRun.h"

namespace lumora {
namespace {

using test::FillTrack;
using test::SampleSpec;

const QRgb kRed = qRgb(200, 0, 0);  // the window behind the panel
const QRgb kNeedle = qRgb(0x1D, 0x98, 0xCE);
const QRgb kCursor = qRgb(255, 169, 9);
const QRect kTimeLine(500, 490, 250, 20);

QImage Canvas() {
  QImage image(1020, 720, QImage::Format_RGB32);
  image.fill(kRed);
  return image;
}

int CountColour(const QImage& image, const QRect& rect, QRgb colour) {
  return test::CountColour(image, rect, colour).pixels;
}

// Pixels of light text (anti-aliased glyphs are not pure white).
int CountBright(const QImage& image, const QRect& rect) {
  return test::CountPixels(image, rect, [](QRgb p) { return qGray(p) > 160 && qRed(p) > 160; })
      .pixels;
}

struct Panel {
  explicit Panel(const SampleSpec& spec = {}, int samples = 10, std::int32_t duration = 10000) {
    FillTrack(track, samples, spec, duration);
    input.duration = duration;
  }
  QImage Paint(void (CDataView::*op)(QPainter&)) {
    image = Canvas();
    QPainter p(&image);
    (view.*op)(p);
    return image;
  }
  CDrivingTrack track;
  DataPanelInput input;
  CDataView view{&track, &input};
  QImage image;
};

TEST(DataViewPaint, DrawLineUsesTheColourRefAndRestoresThePen) {
  QImage image = Canvas();
  QPainter p(&image);
  p.setPen(QPen(Qt::magenta));
  Draw::DrawLine(p, 10, 10, 50, 10, 0x09A9FF);
  Draw::DrawLineWidth(p, 10, 30, 50, 30, 3, 0x5B4D1C);
  EXPECT_EQ(p.pen().color(), QColor(Qt::magenta));
  p.end();
  EXPECT_EQ(image.pixel(30, 10), qRgb(255, 169, 9));
  EXPECT_EQ(image.pixel(30, 11), kRed);
  EXPECT_EQ(image.pixel(30, 29), qRgb(28, 77, 91));
  EXPECT_EQ(image.pixel(30, 31), qRgb(28, 77, 91));
}

// The needle from (272, 511) towards its end: a point halfway along it is
// needle-coloured, the halfway point of another speed's needle is not.
TEST(DataViewPaint, NeedleOfTheSpeed) {
  struct Row {
    int speed, unit;
    QPoint on, off;
  };
  const Row rows[] = {
      {80, 0, {272, 490}, {256, 527}},   // straight up to (272, 466)
      {0, 0, {256, 527}, {272, 490}},    // to (240, 542)
      {240, 0, {288, 527}, {256, 527}},  // clamped at 160: to (303, 542)
      {100, 1, {260, 491}, {284, 492}},  // 62 mph to (249, 472), not 100 to (297, 473)
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.speed);
    Panel panel(SampleSpec{.speed = row.speed});
    panel.input.position = 5000;
    panel.input.speedUnit = row.unit;
    const QImage image = panel.Paint(&CDataView::DrawGauges);
    EXPECT_GT(CountColour(image, QRect(row.on - QPoint(1, 1), QSize(3, 3)), kNeedle), 0);
    EXPECT_EQ(CountColour(image, QRect(row.off - QPoint(1, 1), QSize(3, 3)), kNeedle), 0);
    // The face is drawn around the needle; the window outside the faces stays.
    EXPECT_EQ(image.pixel(100, 500), kRed);
  }
}

TEST(DataViewPaint, StripShowsGridCursorCurvesAndLabels) {
  Panel panel(SampleSpec{.ax = 1.0, .ay = 0.0, .az = -1.0}, 20, 20000);
  panel.input.position = 10000;
  const QImage im = panel.Paint(&CDataView::DrawGraphStrip);
  // Drawn off-screen at y 556, copied to the window at y 575: 19 lower.
  EXPECT_EQ(im.pixel(600, 640 + 19), qRgb(28, 77, 91));
  EXPECT_EQ(im.pixel(600, 560 + 19), qRgb(28, 77, 91));
  EXPECT_EQ(im.pixel(400, 579 + 19), qRgb(255, 255, 255));  // X at +1 g
  EXPECT_EQ(im.pixel(400, 602 + 19), qRgb(0, 255, 255));    // Y at 0 g
  EXPECT_EQ(im.pixel(400, 625 + 19), qRgb(0, 255, 0));      // Z at -1 g
  EXPECT_EQ(im.pixel(453, 590), kCursor);                   // half way: 255 + 397 / 2
  // The block ends at x 646 and y 659; beyond it the window is untouched.
  EXPECT_EQ(im.pixel(647, 600), kRed);
  EXPECT_EQ(im.pixel(400, 660), kRed);
  EXPECT_EQ(im.pixel(400, 574), kRed);
  // Labels: white text on 0x0C0C0C in the label column.
  EXPECT_GT(CountColour(im, QRect(216, 575, 39, 90), qRgb(255, 255, 255)), 10);
  EXPECT_GT(CountColour(im, QRect(216, 575, 39, 90), qRgb(12, 12, 12)), 10);
}

// Just before the clamp the cursor is the last column of the copied block; at
// and past the end it stays at 647, outside the block, and is not seen.
TEST(DataViewPaint, CursorStopsAt647AtTheEnd) {
  Panel panel({}, 20, 20000);
  panel.input.position = 20000 * 391 / 397 + 1;
  EXPECT_EQ(panel.Paint(&CDataView::DrawGraphStrip).pixel(646, 590), kCursor);
  for (std::int64_t p : {20000, 40000}) {
    panel.input.position = p;
    EXPECT_EQ(CountColour(panel.Paint(&CDataView::DrawGraphStrip), QRect(0, 0, 1020, 720), kCursor),
              0)
        << p;
  }
}

TEST(DataViewPaint, EmptyTrackDrawsOnlyGridAndCursor) {
  Panel panel({}, 0, 0);
  for (int mode = 0; mode < 3; ++mode) {
    panel.input.graphMode = mode;
    const QImage image = panel.Paint(&CDataView::DrawGraphStrip);
    const QRect curves(256, 575, 391, 85);
    EXPECT_EQ(CountColour(image, curves, qRgb(255, 255, 255)), 0) << mode;
    EXPECT_EQ(CountColour(image, curves, qRgb(0, 255, 0)), 0) << mode;
    // Mode 2 without fixes has no cursor either.
    EXPECT_EQ(CountColour(image, QRect(216, 575, 431, 85), kCursor) > 0, mode != 2) << mode;
  }
}

TEST(DataViewPaint, TextBlockWithoutTimeOrFix) {
  Panel panel;
  panel.input.label = "20240101_120000_F.avi";
  const QImage im = panel.Paint(&CDataView::DrawDataText);
  EXPECT_GT(CountBright(im, QRect(500, 465, 250, 20)), 20);
  // No time in the slot: the line keeps what was there.
  EXPECT_EQ(CountColour(im, kTimeLine, kRed), 250 * 20);
  // No fix: both coordinate lines are blanked with the text background.
  EXPECT_EQ(CountColour(im, QRect(500, 515, 250, 20), qRgb(255, 255, 255)), 0);
  EXPECT_GT(CountColour(im, QRect(500, 515, 100, 10), qRgb(50, 50, 50)), 400);
  EXPECT_GT(CountColour(im, QRect(500, 540, 100, 10), qRgb(50, 50, 50)), 400);
  EXPECT_TRUE(panel.track.GetRestartSignal());
  // A recording without driving data: its notice takes the time-of-day line.
  panel.input.notice = "No driving data";
  EXPECT_GT(CountBright(panel.Paint(&CDataView::DrawDataText), kTimeLine), 20);
}

// Time and fix: all lines drawn, nothing outside them. A slot between two
// samples carries no time: a fresh paint still shows the last time; another
// recording starts without it.
TEST(DataViewPaint, TextBlockWithTimeAndFix) {
  Panel panel(SampleSpec{.hour = 12, .minute = 34, .second = 56});
  panel.input.label = "20240101_120000_F.avi";
  panel.input.fix = PanelFix{true, 3541.2345, 13946.4696, 'N', 'E', 30.0};
  const QImage im = panel.Paint(&CDataView::DrawDataText);
  for (int y : {490, 515, 540}) EXPECT_GT(CountBright(im, QRect(500, y, 250, 20)), 20) << y;
  EXPECT_EQ(im.pixel(499, 470), kRed);
  EXPECT_EQ(im.pixel(750, 470), kRed);
  const QImage timed = im.copy(kTimeLine);
  ASSERT_EQ(panel.track.GetResampled(panel.track.GetResampledSlot(120, 10000))->time[0], 0);
  panel.input.position = 120;
  EXPECT_EQ(panel.Paint(&CDataView::DrawDataText).copy(kTimeLine), timed);
  panel.input.label = "20240101_120100_F.avi";
  EXPECT_EQ(CountColour(panel.Paint(&CDataView::DrawDataText), kTimeLine, kRed), 250 * 20);
}

TEST(DataViewPaint, FullScreenDrawsNothingButSetsTheRestartSignal) {
  Panel panel(SampleSpec{.speed = 50, .hour = 1});
  test::AddSentence(panel.track, "$GPRMC,123519,A,3541.2345,N,13946.4696,E,022.4,084.4,230394,,*6A",
                    0);
  panel.input.position = 2000;
  panel.input.fullScreen = true;
  panel.input.fix.valid = true;
  ASSERT_FALSE(panel.track.GetRestartSignal());
  EXPECT_EQ(panel.Paint(&CDataView::DrawAll), Canvas());
  EXPECT_TRUE(panel.track.GetRestartSignal());
}

}  // namespace
}  // namespace lumora
