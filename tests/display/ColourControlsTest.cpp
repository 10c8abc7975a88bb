#include "display/CColourControls.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(ColourControls, RangesBecomeSymmetricAboutTheDefault) {
  ColourRange r = CColourControls::MakeSymmetric(0, 10, 1);  // more room above
  EXPECT_EQ(r.lower, 0);
  EXPECT_EQ(r.upper, 2);
  EXPECT_EQ(r.current, 1);
  r = CColourControls::MakeSymmetric(-100, 20, 0);  // more room below
  EXPECT_EQ(r.lower, -20);
  EXPECT_EQ(r.upper, 20);
  r = CColourControls::MakeSymmetric(-5, 5, 0);
  EXPECT_EQ(r.lower, -5);
  EXPECT_EQ(r.upper, 5);
}

TEST(ColourControls, BrightnessPercentClampedToTheRange) {
  CColourControls c;
  const ColourRange& b = c.Brightness();
  EXPECT_EQ(b.current, 0);
  c.SetBrightness(50);
  EXPECT_EQ(b.current, 0);
  c.SetBrightness(75);
  EXPECT_EQ(b.current, 50 * CColourControls::kOne);
  c.SetBrightness(150);
  EXPECT_EQ(b.current, b.upper);
  c.SetBrightness(-20);
  EXPECT_EQ(b.current, b.lower);
}

TEST(ColourControls, ContrastNeverBelowATenth) {
  CColourControls c;
  const ColourRange& k = c.Contrast();
  EXPECT_EQ(k.lower, 0);
  EXPECT_EQ(k.upper, 2 * CColourControls::kOne);
  c.SetContrast(50);
  EXPECT_EQ(k.current, CColourControls::kOne);
  c.SetContrast(0);
  EXPECT_EQ(k.current, 6553);
  c.SetContrast(100);
  EXPECT_EQ(k.current, 2 * CColourControls::kOne);
}

TEST(ColourControls, StillsUseTheDefaults) {
  CColourControls c;
  c.SetBrightness(100);
  c.SetContrast(0);
  EXPECT_EQ(c.ForVideo().brightness, 100 * CColourControls::kOne);
  EXPECT_EQ(c.ForVideo().contrast, 6553);
  EXPECT_EQ(c.ForStill().brightness, 0);
  EXPECT_EQ(c.ForStill().contrast, CColourControls::kOne);
  EXPECT_EQ(c.ForStill().saturation, CColourControls::kOne);
}

}  // namespace
}  // namespace lumora
