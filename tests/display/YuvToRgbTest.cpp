#include "display/CYuvToRgb.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace lumora {
namespace {

// Paints a w x h block of one colour at (x, y) of the surface.
void Paint(CYv12Surface& s, int x, int y, int w, int h, int Y, int U, int V) {
  for (int r = y; r < y + h; ++r)
    for (int c = x; c < x + w; ++c) s.Y()[r * CYv12Surface::kPitch + c] = static_cast<uint8_t>(Y);
  for (int r = y / 2; r < (y + h) / 2; ++r)
    for (int c = x / 2; c < (x + w) / 2; ++c) {
      s.U()[r * CYv12Surface::kChromaPitch + c] = static_cast<uint8_t>(U);
      s.V()[r * CYv12Surface::kChromaPitch + c] = static_cast<uint8_t>(V);
    }
}

void ExpectNear(const std::uint8_t* px, int r, int g, int b, int tol, const char* what) {
  EXPECT_NEAR(px[0], r, tol) << what;
  EXPECT_NEAR(px[1], g, tol) << what;
  EXPECT_NEAR(px[2], b, tol) << what;
}

TEST(YuvToRgb, Bt709FullRangeReferenceValues) {
  int r, g, b;
  CYuvToRgb::Bt709FullRange(255, 128, 128, r, g, b);
  EXPECT_EQ(r, 255);
  EXPECT_EQ(g, 255);
  EXPECT_EQ(b, 255);
  CYuvToRgb::Bt709FullRange(0, 128, 128, r, g, b);
  EXPECT_EQ(r + g + b, 0);
  // Pure red in BT.709 full range: Y 54, Cb 99, Cr 255.
  CYuvToRgb::Bt709FullRange(54, 99, 255, r, g, b);
  EXPECT_NEAR(r, 254, 1);
  EXPECT_NEAR(g, 0, 1);
  EXPECT_NEAR(b, 0, 1);
}

TEST(YuvToRgb, ConvertsAndScalesARegion) {
  CYv12Surface s;
  Paint(s, 0, 0, 64, 32, 54, 99, 255);   // red
  Paint(s, 64, 0, 64, 32, 182, 30, 12);  // green
  Paint(s, 0, 32, 128, 32, 200, 128, 128);
  CYuvToRgb conv;
  std::vector<std::uint8_t> out(32 * 16 * 3);
  ASSERT_TRUE(conv.Convert(s, {0, 0, 128, 64}, 32, 16,
                           {0, CColourControls::kOne, CColourControls::kOne}, out.data(), 32 * 3));
  int r, g, b;
  CYuvToRgb::Bt709FullRange(54, 99, 255, r, g, b);
  ExpectNear(&out[(2 * 32 + 2) * 3], r, g, b, 6, "red");
  CYuvToRgb::Bt709FullRange(182, 30, 12, r, g, b);
  ExpectNear(&out[(2 * 32 + 28) * 3], r, g, b, 6, "green");
  ExpectNear(&out[(12 * 32 + 10) * 3], 200, 200, 200, 3, "grey");
  // Only the right half: all green.
  ASSERT_TRUE(conv.Convert(s, {64, 0, 128, 32}, 8, 8,
                           {0, CColourControls::kOne, CColourControls::kOne}, out.data(), 8 * 3));
  ExpectNear(&out[0], r, g, b, 6, "green corner");
}

TEST(YuvToRgb, ColourControlsChangeTheResult) {
  CYv12Surface s;
  Paint(s, 0, 0, 16, 16, 100, 128, 128);
  CYuvToRgb conv;
  std::vector<std::uint8_t> out(4 * 4 * 3);
  ASSERT_TRUE(conv.Convert(
      s, {0, 0, 16, 16}, 4, 4,
      {20 * CColourControls::kOne, CColourControls::kOne, CColourControls::kOne}, out.data(), 12));
  EXPECT_NEAR(out[0], 120, 3);
  ASSERT_TRUE(conv.Convert(s, {0, 0, 16, 16}, 4, 4,
                           {0, 2 * CColourControls::kOne, CColourControls::kOne}, out.data(), 12));
  EXPECT_GT(out[0], 150);
}

TEST(YuvToRgb, RejectsEmptyRegions) {
  CYv12Surface s;
  CYuvToRgb conv;
  std::vector<std::uint8_t> out(16 * 3);
  const CColourControls::Values c{0, CColourControls::kOne, CColourControls::kOne};
  EXPECT_FALSE(conv.Convert(s, {10, 10, 10, 20}, 4, 4, c, out.data(), 12));
  EXPECT_FALSE(conv.Convert(s, {0, 0, 16, 16}, 0, 4, c, out.data(), 12));
  EXPECT_FALSE(conv.Convert(s, {0, 0, 16, 16}, 4, 4, c, out.data(), 4));
  EXPECT_FALSE(conv.Convert(s, {5000, 5000, 6000, 6000}, 4, 4, c, out.data(), 12));
}

}  // namespace
}  // namespace lumora
