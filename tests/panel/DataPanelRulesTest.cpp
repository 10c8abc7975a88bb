// The data panel's arithmetic: needle, heading arrow, cursor, curves, axis
// labels and texts, each rule as a table of literal values.
#include <gtest/gtest.h>

#include "display/DataPanelRules.h"
#include "tests/panel/PanelTrack.h"

namespace lumora {
namespace {

using R = DataPanelRules;
using test::FillTrack;
using test::SampleSpec;

// The needle from (272, 511), 45 long, turns 1.6875 degrees per km/h from 45
// degrees below the left horizontal; above 80 the speed folds back (160 - v)
// and the needle is mirrored. Ends truncated to whole pixels.
TEST(DataPanelNeedle, EndsFoldingAndHeadingArrow) {
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
}

// The gauge reads assistance word 0 of the play position, at most 160, in
// mph as v * 10 / 16; an empty track reads 0.
TEST(DataPanelNeedle, GaugeSpeed) {
  CDrivingTrack track;
  EXPECT_EQ(R::GaugeSpeed(track, 5000, 10000, 0), 0);
  EXPECT_EQ(R::GaugeSpeed(track, 0, 0, 0), 0);
  FillTrack(track, 10, SampleSpec{.speed = 230}, 10000);
  EXPECT_EQ(R::GaugeSpeed(track, 5000, 10000, 0), 160);
  FillTrack(track, 10, SampleSpec{.speed = 100}, 10000);
  EXPECT_EQ(R::GaugeSpeed(track, 5000, 10000, 0), 100);
  EXPECT_EQ(R::GaugeSpeed(track, 5000, 10000, 1), 62);
  EXPECT_EQ(R::DisplaySpeed(100, 0), 100);
  EXPECT_EQ(R::DisplaySpeed(100, 1), 62);
}

// The cursor: x 255 + 397 * position / duration, never past 647.
TEST(DataPanelCursor, NeverPastX647) {
  const std::tuple<int, int, int> rows[] = {{0, 60000, 255},     {30000, 60000, 453},
                                            {59999, 60000, 647}, {60000, 60000, 647},
                                            {90000, 60000, 647}, {1000, 0, 255}};
  for (const auto& [position, duration, x] : rows) {
    EXPECT_EQ(R::CursorX(position, duration), x) << position << " of " << duration;
  }
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
      {R::DitDateText(2024, 3, 9), "2024-03-09"},
      {R::DitTimeText(7, 8, 9), "07:08:09"},
      {R::DitLatitudeText(3541.2345), "035 041 14.1"},
      {R::DitLongitudeText(13946.4696), "139 046 28.2     "},
  };
  for (const auto& [got, want] : rows) EXPECT_EQ(got, want);
  EXPECT_EQ(R::AxisLabels(0, 0),
            (std::vector<std::string>{"       2.0G ", "       1.0G ", "       0.0G ",
                                      "      -1.0G ", "      -2.0G "}));
}

// Curves from x 255 over 397 pixels, one segment between neighbouring
// samples: mode 0 set A around y 579 / 602 / 625 at 23 px per g, clamped to
// +-2 g; mode 1 set B from y 640 at 46 px per g, clamped above only; mode 2
// the speed at y 640 - speed / 2, clamped at 200, only with GPS fixes.
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

}  // namespace
}  // namespace lumora
