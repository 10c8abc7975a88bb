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

void ExpectNear(const std::uint8_t* px, int r, int g, int b, int tol) {
  EXPECT_NEAR(px[0], r, tol);
  EXPECT_NEAR(px[1], g, tol);
  EXPECT_NEAR(px[2], b, tol);
}

constexpr int kOne = CColourControls::kOne;

// Expected colours are BT.709 full range, worked out by hand:
// R = Y + 1.5748 (Cr - 128), G = Y - 0.1873 (Cb - 128) - 0.4681 (Cr - 128),
// B = Y + 1.8556 (Cb - 128).
TEST(YuvToRgb, ConvertsAndScalesARegion) {
  CYv12Surface s;
  Paint(s, 0, 0, 64, 32, 54, 99, 255);   // red
  Paint(s, 64, 0, 64, 32, 182, 30, 12);  // green
  Paint(s, 0, 32, 128, 32, 200, 128, 128);
  CYuvToRgb conv;
  std::vector<std::uint8_t> out(32 * 16 * 3);
  ASSERT_TRUE(conv.Convert(s, {0, 0, 128, 64}, 32, 16, {0, kOne, kOne}, out.data(), 32 * 3));
  ExpectNear(&out[(2 * 32 + 2) * 3], 254, 0, 0, 6);
  ExpectNear(&out[(2 * 32 + 28) * 3], 0, 255, 0, 6);
  ExpectNear(&out[(12 * 32 + 10) * 3], 200, 200, 200, 3);
  // Only the right half: all green.
  ASSERT_TRUE(conv.Convert(s, {64, 0, 128, 32}, 8, 8, {0, kOne, kOne}, out.data(), 8 * 3));
  ExpectNear(&out[0], 0, 255, 0, 6);
  ExpectNear(&out[(7 * 8 + 7) * 3], 0, 255, 0, 6);
}

TEST(YuvToRgb, ColourControlsChangeTheResult) {
  CYv12Surface s;
  Paint(s, 0, 0, 16, 16, 100, 128, 128);
  CYuvToRgb conv;
  std::vector<std::uint8_t> out(4 * 4 * 3);
  ASSERT_TRUE(conv.Convert(s, {0, 0, 16, 16}, 4, 4, {20 * kOne, kOne, kOne}, out.data(), 12));
  EXPECT_NEAR(out[0], 120, 3);
  ASSERT_TRUE(conv.Convert(s, {0, 0, 16, 16}, 4, 4, {0, 2 * kOne, kOne}, out.data(), 12));
  EXPECT_GT(out[0], 150);
}

TEST(YuvToRgb, RejectsEmptyRegions) {
  CYv12Surface s;
  CYuvToRgb conv;
  std::vector<std::uint8_t> out(16 * 3);
  const CColourControls::Values c{0, kOne, kOne};
  EXPECT_FALSE(conv.Convert(s, {10, 10, 10, 20}, 4, 4, c, out.data(), 12));
  EXPECT_FALSE(conv.Convert(s, {0, 0, 16, 16}, 0, 4, c, out.data(), 12));
  EXPECT_FALSE(conv.Convert(s, {0, 0, 16, 16}, 4, 4, c, out.data(), 4));
  EXPECT_FALSE(conv.Convert(s, {5000, 5000, 6000, 6000}, 4, 4, c, out.data(), 12));
}

}  // namespace
}  // namespace lumora
