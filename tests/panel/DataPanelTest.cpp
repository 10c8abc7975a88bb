// The data panel's arithmetic as literal tables, then CDataView's pixels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "display/DataPanelRules.h"
#include "display/qt/CDataView.h"
#include "tests/panel/PanelTrack.h"
#include "tests/support/ViewerRun.h"

namespace lumora {
namespace {

using R = DataPanelRules;
using test::FillTrack;
using test::SampleSpec;

// The needle from (272, 511), 45 long, 1.6875 degrees per km/h from -45;
// above 80 folded (160 - v) and mirrored; ends truncated.
TEST(DataPanelNeedle, NeedleArrowGaugeAndCursor) {
  const std::tuple<int, int, PanelPoint> rows[] = {
      {0, 0, {240, 542}},   {40, 40, {230, 493}},  {62, 62, {249, 472}}, {80, 80, {272, 466}},
      {81, 79, {273, 466}}, {120, 40, {313, 493}}, {159, 1, {304, 541}}, {160, 0, {303, 542}},
  };
  for (const auto& [speed, folded, end] : rows) {
    EXPECT_EQ(R::FoldedSpeed(speed), folded) << speed;
    EXPECT_EQ(R::NeedleEnd(speed), end) << speed;
  }
  // The heading arrow from (384, 510) shrinks to a point below folded speed 2.
  HeadingEntry h;
  h.dx = 16;
  h.dy = -16;
  EXPECT_EQ(R::HeadingArrow(&h, 50), (PanelLine{384, 510, 400, 526, 2, 0xCE981D}));
  EXPECT_EQ(R::HeadingArrow(&h, 1), (PanelLine{384, 510, 384, 510, 2, 0xCE981D}));
  EXPECT_EQ(R::HeadingArrow(nullptr, 50), (PanelLine{384, 510, 384, 510, 2, 0xCE981D}));
  // The gauge reads word 0 at the position, at most 160, mph v * 10 / 16; the
  // cursor x 255 + 397 * position / duration, never past 647.
  CDrivingTrack track;
  EXPECT_EQ(R::GaugeSpeed(track, 5000, 10000, 0), 0);
  EXPECT_EQ(R::GaugeSpeed(track, 0, 0, 0), 0);
  FillTrack(track, 10, SampleSpec{.speed = 230}, 10000);
  EXPECT_EQ(R::GaugeSpeed(track, 5000, 10000, 0), 160);
  FillTrack(track, 10, SampleSpec{.speed = 100}, 10000);
  EXPECT_EQ(R::GaugeSpeed(track, 5000, 10000, 0), 100);
  EXPECT_EQ(R::GaugeSpeed(track, 5000, 10000, 1), 62);
  const std::pair<int, int> at[] = {{0, 60000},     {30000, 60000}, {59999, 60000},
                                    {60000, 60000}, {90000, 60000}, {1000, 0}};
  std::vector<int> xs;
  for (const auto& [position, duration] : at) xs.push_back(R::CursorX(position, duration));
  EXPECT_EQ(xs, std::vector<int>({255, 453, 647, 647, 647, 255}));
}

TEST(DataPanelText, TextsAndLabels) {
  GSensorSample slot;
  EXPECT_FALSE(R::TimeOfDayText(&slot).has_value());
  EXPECT_FALSE(R::TimeOfDayText(nullptr).has_value());
  slot.time[0] = 1;
  slot.time[3] = 9;
  slot.time[4] = 5;
  slot.time[5] = 7;
  // Southern values are stored negative and shown without the sign.
  const std::pair<std::string, std::string> rows[] = {
      {R::TimeOfDayText(&slot).value_or(""), "09:05:07"},
      {R::CoordinateText(3541.2345, 'N'), "035 041 14.1 N   "},
      {R::CoordinateText(13946.4696, 'E'), "139 046 28.2 E   "},
      {R::CoordinateText(-3352.5000, 'S'), "033 052 30.0 S   "},
      {R::BlankLine(), std::string(24, ' ')},
      {R::AxisLabels(1, 0)[1], "       1.5G "},
      {R::AxisLabels(1, 0)[4], "       0.0G "},
      {R::AxisLabels(2, 0)[0], "      160kph"},
      {R::AxisLabels(2, 1)[4], "      0mph"},
      {R::DitAxisLabels(0)[1], "       120kph"},
      {R::DitAxisLabels(1)[0], "       160mph"},
  };
  for (const auto& [got, want] : rows) EXPECT_EQ(got, want);
  EXPECT_EQ(R::AxisLabels(0, 0),
            (std::vector<std::string>{"       2.0G ", "       1.0G ", "       0.0G ",
                                      "      -1.0G ", "      -2.0G "}));
}

// Curves over 397 px from x 255: set A at 23 px per g within +-2 g, set B 46
// px per g up to 2 g, speed at 640 - v / 2 up to 200 and only with fixes.
TEST(DataPanelCurves, ThreeModes) {
  CDrivingTrack track;
  for (int mode = 0; mode < 3; ++mode) EXPECT_TRUE(R::Curves(track, mode, 0, 0).empty());
  FillTrack(track, 1, SampleSpec{.ax = 1.0}, 1000);
  EXPECT_TRUE(R::Curves(track, 0, 1000, 0).empty());
  EXPECT_EQ(R::GridLines().size(), 6u);

  FillTrack(track, 4, SampleSpec{.ax = 1.0, .ay = 3.0, .az = -3.0}, 4000);
  auto lines = R::Curves(track, 0, 4000, 0);
  ASSERT_EQ(lines.size(), 9u);  // 3 segments per axis, step 397 / 4 = 99.25
  EXPECT_EQ(lines[0], (PanelLine{255, 579, 354, 579, 1, 0xFFFFFF}));
  EXPECT_EQ(lines[2], (PanelLine{453, 579, 552, 579, 1, 0xFFFFFF}));
  EXPECT_EQ(lines[3], (PanelLine{255, 602 - 46, 354, 602 - 46, 1, 0xFFFF00}));
  EXPECT_EQ(lines[6], (PanelLine{255, 602 + 46, 354, 602 + 46, 1, 0x00FF00}));

  FillTrack(track, 3, SampleSpec{.bx = 3.0, .by = -1.0, .bz = 0.5}, 3000);
  lines = R::Curves(track, 1, 3000, 0);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].y1, 640 - 92);
  EXPECT_EQ(lines[2].y1, 640 + 46);
  EXPECT_EQ(lines[4].y1, 640 - 23);

  FillTrack(track, 10, SampleSpec{.speed = 250}, 4000);
  EXPECT_TRUE(R::Curves(track, 2, 4000, 0).empty());
  EXPECT_FALSE(R::CursorShown(track, 2));
  EXPECT_TRUE(R::CursorShown(track, 0));
  test::AddSentence(track, "$GPRMC,123519,A,3541.2345,N,13946.4696,E,022.4,084.4,230394,,*6A", 0);
  EXPECT_TRUE(R::CursorShown(track, 2));
  lines = R::Curves(track, 2, 4000, 0);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], (PanelLine{255, 540, 255, 540, 1, 0x00FF00}));
  EXPECT_EQ(lines[3], (PanelLine{453, 540, 552, 540, 1, 0x00FF00}));
  // In mph 250 km/h is 156 mph: y = 640 - 78.
  EXPECT_EQ(R::Curves(track, 2, 4000, 1)[1].y2, 562);
  // The DIT curve starts at x 260, 397 / 3 apart.
  const auto dit = R::DitSpeedCurve({0, 100, 300}, 0);
  ASSERT_EQ(dit.size(), 3u);
  EXPECT_EQ(dit[0], (PanelLine{260, 640, 260, 640, 1, 0x00FF00}));
  EXPECT_EQ(dit[1], (PanelLine{260, 640, 392, 590, 1, 0x00FF00}));
  EXPECT_EQ(dit[2].y2, 540);  // 300 km/h drawn as 200
  EXPECT_TRUE(R::DitSpeedCurve({}, 0).empty());
}

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

// Half way along the needle it is drawn, half way to another speed's end not.
TEST(DataViewPaint, NeedleOfTheSpeed) {
  const std::tuple<int, int, QPoint, QPoint> rows[] = {
      {80, 0, {272, 490}, {256, 527}},   // straight up to (272, 466), not to (240, 542)
      {240, 0, {288, 527}, {256, 527}},  // clamped at 160: to (303, 542)
      {100, 1, {260, 491}, {284, 492}},  // 62 mph to (249, 472), not 100 to (297, 473)
  };
  for (const auto& [speed, unit, on, off] : rows) {
    Panel panel(SampleSpec{.speed = speed});
    panel.input.position = 5000;
    panel.input.speedUnit = unit;
    const QImage image = panel.Paint(&CDataView::DrawGauges);
    EXPECT_GT(CountColour(image, QRect(on - QPoint(1, 1), QSize(3, 3)), kNeedle), 0) << speed;
    EXPECT_EQ(CountColour(image, QRect(off - QPoint(1, 1), QSize(3, 3)), kNeedle), 0) << speed;
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

// The cursor at 647 lies outside the copied block; an empty track draws no
// curves, and no cursor in mode 2.
TEST(DataViewPaint, CursorAtTheEndAndEmptyTracks) {
  Panel panel({}, 20, 20000);
  panel.input.position = 20000 * 391 / 397 + 1;
  EXPECT_EQ(panel.Paint(&CDataView::DrawGraphStrip).pixel(646, 590), kCursor);
  for (std::int64_t p : {20000, 40000}) {
    panel.input.position = p;
    EXPECT_EQ(CountColour(panel.Paint(&CDataView::DrawGraphStrip), QRect(0, 0, 1020, 720), kCursor),
              0);
  }
  Panel empty({}, 0, 0);
  for (int mode = 0; mode < 3; ++mode) {
    empty.input.graphMode = mode;
    const QImage image = empty.Paint(&CDataView::DrawGraphStrip);
    EXPECT_EQ(CountColour(image, QRect(256, 575, 391, 85), qRgb(255, 255, 255)), 0) << mode;
    EXPECT_EQ(CountColour(image, QRect(256, 575, 391, 85), qRgb(0, 255, 0)), 0) << mode;
    EXPECT_EQ(CountColour(image, QRect(216, 575, 431, 85), kCursor) > 0, mode != 2) << mode;
  }
}

// Without time and fix: the label, the time line left as it was, coordinates
// blanked; with them all lines drawn, nothing outside. Between timed slots the
// last time stays, until another recording.
TEST(DataViewPaint, TextBlock) {
  Panel bare;
  bare.input.label = "20240101_120000_F.avi";
  QImage im = bare.Paint(&CDataView::DrawDataText);
  EXPECT_GT(CountBright(im, QRect(500, 465, 250, 20)), 20);
  EXPECT_EQ(CountColour(im, kTimeLine, kRed), 250 * 20);
  EXPECT_EQ(CountColour(im, QRect(500, 515, 250, 20), qRgb(255, 255, 255)), 0);
  EXPECT_GT(CountColour(im, QRect(500, 515, 100, 10), qRgb(50, 50, 50)), 400);
  EXPECT_GT(CountColour(im, QRect(500, 540, 100, 10), qRgb(50, 50, 50)), 400);
  EXPECT_TRUE(bare.track.GetRestartSignal());
  // A recording without driving data: its notice takes the time-of-day line.
  bare.input.notice = "No driving data";
  EXPECT_GT(CountBright(bare.Paint(&CDataView::DrawDataText), kTimeLine), 20);

  Panel panel(SampleSpec{.hour = 12, .minute = 34, .second = 56});
  panel.input.label = "20240101_120000_F.avi";
  panel.input.fix = PanelFix{true, 3541.2345, 13946.4696, 'N', 'E', 30.0};
  im = panel.Paint(&CDataView::DrawDataText);
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
