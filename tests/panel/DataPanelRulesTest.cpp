// The data panel's arithmetic: needle, cursor, curves, labels and texts.
#include <gtest/gtest.h>

#include "display/DataPanelRules.h"
#include "tests/panel/PanelTrack.h"

namespace lumora {
namespace {

using test::AddSentence;
using test::FillTrack;
using test::SampleSpec;

TEST(DataPanelNeedle, EndPointsAtZeroEightyAndOneSixty) {
  EXPECT_EQ(DataPanelRules::NeedleEnd(0), (PanelPoint{240, 542}));
  EXPECT_EQ(DataPanelRules::NeedleEnd(80), (PanelPoint{272, 466}));
  EXPECT_EQ(DataPanelRules::NeedleEnd(160), (PanelPoint{303, 542}));
  // 40 km/h: 22.5 degrees above the left horizontal.
  EXPECT_EQ(DataPanelRules::NeedleEnd(40), (PanelPoint{230, 493}));
  // 120 is the mirror image of 40.
  EXPECT_EQ(DataPanelRules::NeedleEnd(120), (PanelPoint{313, 493}));
}

TEST(DataPanelNeedle, GaugeSpeedClampsAndConvertsToMph) {
  CDrivingTrack track;
  FillTrack(track, 10, SampleSpec{.speed = 230}, 10000);
  EXPECT_EQ(DataPanelRules::GaugeSpeed(track, 5000, 10000, 0), 160);
  FillTrack(track, 10, SampleSpec{.speed = 100}, 10000);
  EXPECT_EQ(DataPanelRules::GaugeSpeed(track, 5000, 10000, 0), 100);
  EXPECT_EQ(DataPanelRules::GaugeSpeed(track, 5000, 10000, 1), 62);
  EXPECT_EQ(DataPanelRules::DisplaySpeed(100, 1), 62);
  EXPECT_EQ(DataPanelRules::DisplaySpeed(100, 0), 100);
}

TEST(DataPanelNeedle, EmptyTrackReadsSpeedZero) {
  CDrivingTrack track;
  EXPECT_EQ(DataPanelRules::GaugeSpeed(track, 5000, 10000, 0), 0);
  EXPECT_EQ(DataPanelRules::GaugeSpeed(track, 0, 0, 0), 0);
}

TEST(DataPanelNeedle, HeadingArrowCollapsesBelowFoldedTwo) {
  HeadingEntry h;
  h.dx = 16;
  h.dy = -16;
  EXPECT_EQ(DataPanelRules::HeadingArrow(&h, 50), (PanelLine{384, 510, 400, 526, 2, 0xCE981D}));
  EXPECT_EQ(DataPanelRules::HeadingArrow(&h, 1), (PanelLine{384, 510, 384, 510, 2, 0xCE981D}));
  EXPECT_EQ(DataPanelRules::FoldedSpeed(159), 1);
  EXPECT_EQ(DataPanelRules::FoldedSpeed(60), 60);
  EXPECT_EQ(DataPanelRules::HeadingArrow(nullptr, 50).x2, 384);
}

TEST(DataPanelCursor, NeverPastX647) {
  EXPECT_EQ(DataPanelRules::CursorX(0, 60000), 255);
  EXPECT_EQ(DataPanelRules::CursorX(30000, 60000), 453);
  EXPECT_EQ(DataPanelRules::CursorX(60000, 60000), 647);
  EXPECT_EQ(DataPanelRules::CursorX(59999, 60000), 647);
  EXPECT_EQ(DataPanelRules::CursorX(90000, 60000), 647);
  EXPECT_EQ(DataPanelRules::CursorX(1000, 0), 255);
}

TEST(DataPanelText, LatitudeAndLongitudeText) {
  EXPECT_EQ(DataPanelRules::CoordinateText(3541.2345, 'N'), "035 041 14.1 N   ");
  EXPECT_EQ(DataPanelRules::CoordinateText(13946.4696, 'E'), "139 046 28.2 E   ");
  // Southern values are stored negative and shown without the sign.
  EXPECT_EQ(DataPanelRules::CoordinateText(-3352.5000, 'S'), "033 052 30.0 S   ");
  EXPECT_EQ(DataPanelRules::BlankLine(), std::string(24, ' '));
}

TEST(DataPanelText, TimeOfDayOnlyWhenTheSlotCarriesOne) {
  GSensorSample slot;
  EXPECT_FALSE(DataPanelRules::TimeOfDayText(&slot).has_value());
  EXPECT_FALSE(DataPanelRules::TimeOfDayText(nullptr).has_value());
  slot.time[0] = 1;
  slot.time[3] = 9;
  slot.time[4] = 5;
  slot.time[5] = 7;
  EXPECT_EQ(DataPanelRules::TimeOfDayText(&slot), "09:05:07");
}

TEST(DataPanelText, AxisLabelsOfTheThreeModes) {
  EXPECT_EQ(DataPanelRules::AxisLabels(0, 0),
            (std::vector<std::string>{"       2.0G ", "       1.0G ", "       0.0G ",
                                      "      -1.0G ", "      -2.0G "}));
  EXPECT_EQ(DataPanelRules::AxisLabels(1, 0)[1], "       1.5G ");
  EXPECT_EQ(DataPanelRules::AxisLabels(1, 0)[4], "       0.0G ");
  EXPECT_EQ(DataPanelRules::AxisLabels(2, 0)[0], "      160kph");
  EXPECT_EQ(DataPanelRules::AxisLabels(2, 1)[4], "      0mph");
}

TEST(DataPanelText, DitVariantFormats) {
  EXPECT_EQ(DataPanelRules::DitAxisLabels(0)[1], "       120kph");
  EXPECT_EQ(DataPanelRules::DitAxisLabels(1)[0], "       160mph");
  EXPECT_EQ(DataPanelRules::DitDateText(2024, 3, 9), "2024-03-09");
  EXPECT_EQ(DataPanelRules::DitTimeText(7, 8, 9), "07:08:09");
  EXPECT_EQ(DataPanelRules::DitLatitudeText(3541.2345), "035 041 14.1");
  EXPECT_EQ(DataPanelRules::DitLongitudeText(13946.4696), "139 046 28.2     ");
  const auto curve = DataPanelRules::DitSpeedCurve({0, 100, 300}, 0);
  ASSERT_EQ(curve.size(), 3u);
  EXPECT_EQ(curve[0], (PanelLine{260, 640, 260, 640, 1, 0x00FF00}));
  EXPECT_EQ(curve[1], (PanelLine{260, 640, 392, 590, 1, 0x00FF00}));
  EXPECT_EQ(curve[2].y2, 540);  // 300 km/h drawn as 200
  EXPECT_TRUE(DataPanelRules::DitSpeedCurve({}, 0).empty());
}

TEST(DataPanelCurves, ModeZeroSegmentsClampedAtTwoG) {
  CDrivingTrack track;
  FillTrack(track, 4, SampleSpec{.ax = 1.0, .ay = 3.0, .az = -3.0}, 4000);
  const auto lines = DataPanelRules::Curves(track, 0, 4000, 0);
  ASSERT_EQ(lines.size(), 9u);  // 3 segments per axis
  // step = 397 / 4 = 99.25
  EXPECT_EQ(lines[0], (PanelLine{255, 579, 354, 579, 1, 0xFFFFFF}));
  EXPECT_EQ(lines[2], (PanelLine{453, 579, 552, 579, 1, 0xFFFFFF}));
  EXPECT_EQ(lines[3].y1, 602 - 46);  // Y clamped to +2
  EXPECT_EQ(lines[3].colour, 0xFFFF00u);
  EXPECT_EQ(lines[6].y1, 602 + 46);  // Z clamped to -2
  EXPECT_EQ(lines[6].colour, 0x00FF00u);
}

TEST(DataPanelCurves, ModeOneClampsAboveOnly) {
  CDrivingTrack track;
  FillTrack(track, 3, SampleSpec{.bx = 3.0, .by = -1.0, .bz = 0.5}, 3000);
  const auto lines = DataPanelRules::Curves(track, 1, 3000, 0);
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].y1, 640 - 92);
  EXPECT_EQ(lines[2].y1, 640 + 46);
  EXPECT_EQ(lines[4].y1, 640 - 23);
}

TEST(DataPanelCurves, SpeedCurveNeedsFixesAndClampsAt200) {
  CDrivingTrack track;
  FillTrack(track, 10, SampleSpec{.speed = 250}, 4000);
  EXPECT_TRUE(DataPanelRules::Curves(track, 2, 4000, 0).empty());
  EXPECT_FALSE(DataPanelRules::CursorShown(track, 2));
  EXPECT_TRUE(DataPanelRules::CursorShown(track, 0));
  AddSentence(track, "$GPRMC,123519,A,3541.2345,N,13946.4696,E,022.4,084.4,230394,,*6A", 0);
  const auto lines = DataPanelRules::Curves(track, 2, 4000, 0);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], (PanelLine{255, 540, 255, 540, 1, 0x00FF00}));
  EXPECT_EQ(lines[3], (PanelLine{453, 540, 552, 540, 1, 0x00FF00}));
  EXPECT_TRUE(DataPanelRules::CursorShown(track, 2));
  // In mph 250 km/h is 156 mph: y = 640 - 78.
  EXPECT_EQ(DataPanelRules::Curves(track, 2, 4000, 1)[1].y2, 562);
}

TEST(DataPanelCurves, EmptyTrackDrawsEmptyCurves) {
  CDrivingTrack track;
  for (int mode = 0; mode < 3; ++mode)
    EXPECT_TRUE(DataPanelRules::Curves(track, mode, 0, 0).empty());
  FillTrack(track, 1, SampleSpec{.ax = 1.0}, 1000);
  EXPECT_TRUE(DataPanelRules::Curves(track, 0, 1000, 0).empty());
  EXPECT_EQ(DataPanelRules::GridLines().size(), 6u);
}

}  // namespace
}  // namespace lumora
