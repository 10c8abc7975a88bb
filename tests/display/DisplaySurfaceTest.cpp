// The 1920 x 1088 YV12 surface a frame is copied into (flips, the 1088-row
// rule, the inset's red markings) and its BT.709 conversion to RGB.
#include "display/CYuvToRgb.h"
#include "display/CYv12Surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace lumora {
namespace {

// A w x h picture with padded rows; Y, U and V samples are set by `y`, `u`, `v`.
struct Picture {
  int w, h;
  std::vector<std::uint8_t> y, u, v;
  int strides[3];
  const std::uint8_t* planes[3];
  template <typename FY, typename FU, typename FV>
  Picture(int width, int height, FY fy, FU fu, FV fv, int pad = 3) : w(width), h(height) {
    strides[0] = w + pad;
    strides[1] = strides[2] = w / 2 + pad;
    y.assign(static_cast<std::size_t>(strides[0]) * h, 0xEE);
    u.assign(static_cast<std::size_t>(strides[1]) * (h / 2), 0xEE);
    v = u;
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < w; ++c) y[r * strides[0] + c] = static_cast<std::uint8_t>(fy(r, c));
    for (int r = 0; r < h / 2; ++r)
      for (int c = 0; c < w / 2; ++c) {
        u[r * strides[1] + c] = static_cast<std::uint8_t>(fu(r, c));
        v[r * strides[2] + c] = static_cast<std::uint8_t>(fv(r, c));
      }
    planes[0] = y.data();
    planes[1] = u.data();
    planes[2] = v.data();
  }
};

std::uint8_t SY(const CYv12Surface& s, int r, int c) { return s.Y()[r * CYv12Surface::kPitch + c]; }
std::uint8_t SU(const CYv12Surface& s, int r, int c) {
  return s.U()[r * CYv12Surface::kChromaPitch + c];
}
std::uint8_t SV(const CYv12Surface& s, int r, int c) {
  return s.V()[r * CYv12Surface::kChromaPitch + c];
}

TEST(Yv12Surface, PlaneLayoutIsYThenVThenUAndStartsBlack) {
  CYv12Surface s;
  const std::uint8_t* base = s.Bytes().data();
  EXPECT_EQ(s.Bytes().size(), 1920u * 1088u * 3u / 2u);
  EXPECT_EQ(s.V() - base, 1920 * 1088);
  EXPECT_EQ(s.U() - base, 1920 * 1088 + 1920 * 1088 / 4);
  EXPECT_EQ(SY(s, 0, 0), 0);
  EXPECT_EQ(SU(s, 543, 959), 128);
  EXPECT_EQ(SV(s, 0, 0), 128);
}

// Mode 1 turns the picture upside down, 2 mirrors it, 3 does both; the row
// padding is not copied.
TEST(Yv12Surface, EachFlipModePlacesTheSamples) {
  const Picture p(
      8, 4, [](int r, int c) { return r * 16 + c; }, [](int r, int c) { return 100 + r * 8 + c; },
      [](int r, int c) { return 200 + r * 8 + c; });
  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE(mode);
    CYv12Surface s;
    ASSERT_TRUE(s.CopyFrame(p.planes, p.strides, p.w, p.h, mode));
    const bool up = mode == 1 || mode == 3;
    const bool mir = mode == 2 || mode == 3;
    for (int r = 0; r < p.h; ++r)
      for (int c = 0; c < p.w; ++c)
        ASSERT_EQ(SY(s, r, c), (up ? p.h - 1 - r : r) * 16 + (mir ? p.w - 1 - c : c));
    for (int r = 0; r < p.h / 2; ++r)
      for (int c = 0; c < p.w / 2; ++c) {
        const int at = (up ? p.h / 2 - 1 - r : r) * 8 + (mir ? p.w / 2 - 1 - c : c);
        ASSERT_EQ(SU(s, r, c), 100 + at);
        ASSERT_EQ(SV(s, r, c), 200 + at);
      }
    EXPECT_EQ(SY(s, 0, p.w), 0);
    EXPECT_EQ(SY(s, p.h, 0), 0);
    EXPECT_EQ(SU(s, 0, p.w / 2), 128);
  }
}

// A 1088-row picture is copied as its first 1080 rows, upside down too.
TEST(Yv12Surface, Height1088IsCopiedAs1080) {
  const Picture p(
      16, 1088, [](int r, int) { return r % 200 + 1; }, [](int, int) { return 90; },
      [](int, int) { return 160; }, 0);
  CYv12Surface s;
  ASSERT_TRUE(s.CopyFrame(p.planes, p.strides, p.w, p.h, 0));
  EXPECT_EQ(SY(s, 1079, 0), 80);
  EXPECT_EQ(SY(s, 1080, 0), 0);
  EXPECT_EQ(SY(s, 1087, 15), 0);
  EXPECT_EQ(SU(s, 539, 0), 90);
  EXPECT_EQ(SU(s, 540, 0), 128);
  EXPECT_EQ(SV(s, 539, 7), 160);
  EXPECT_EQ(SV(s, 540, 7), 128);
  CYv12Surface up;
  ASSERT_TRUE(up.CopyFrame(p.planes, p.strides, p.w, p.h, 1));
  EXPECT_EQ(SY(up, 0, 0), 80);
  EXPECT_EQ(SY(up, 1079, 0), 1);
  EXPECT_EQ(SY(up, 1080, 0), 0);
  EXPECT_EQ(CYv12Surface::CopiedRows(1088), 1080);
  EXPECT_EQ(CYv12Surface::CopiedRows(720), 720);
}

TEST(Yv12Surface, RejectsWhatDoesNotFit) {
  const auto grey = [](int, int) { return 50; };
  const Picture p(8, 4, grey, grey, grey);
  CYv12Surface s;
  EXPECT_FALSE(s.CopyFrame(p.planes, p.strides, 1922, 4, 0));
  EXPECT_FALSE(s.CopyFrame(p.planes, p.strides, 8, 1090, 0));
  EXPECT_FALSE(s.CopyFrame(p.planes, p.strides, 0, 4, 0));
  EXPECT_FALSE(s.CopyFrame(p.planes, p.strides, 8, -4, 0));
  const int shortStrides[3] = {4, 4, 4};
  EXPECT_FALSE(s.CopyFrame(p.planes, shortStrides, 8, 4, 0));
  const std::uint8_t* missing[3] = {p.y.data(), nullptr, p.v.data()};
  EXPECT_FALSE(s.CopyFrame(missing, p.strides, 8, 4, 0));
  EXPECT_FALSE(s.CopyFrame(nullptr, p.strides, 8, 4, 0));
  EXPECT_EQ(SY(s, 0, 0), 0);
}

// Red frames 8 luma (4 chroma) samples thick round the whole picture and the
// zoomed region: Y 70, V 236, U 50.
TEST(Yv12Surface, InsetMarkingsAreRedFramesEightPixelsThick) {
  CYv12Surface s;
  s.DrawInsetMarkings({0, 0, 640, 360}, {160, 90, 480, 270});
  const struct {
    char plane;
    int r, c, value;
  } probes[] = {
      {'Y', 0, 300, 70},   {'Y', 7, 300, 70},   {'Y', 8, 300, 0},    {'Y', 352, 300, 70},
      {'Y', 359, 300, 70}, {'Y', 360, 300, 0},  {'Y', 200, 0, 70},   {'Y', 200, 7, 70},
      {'Y', 200, 8, 0},    {'Y', 200, 631, 0},  {'Y', 200, 632, 70}, {'Y', 200, 639, 70},
      {'Y', 200, 640, 0},  {'Y', 89, 300, 0},   {'Y', 90, 300, 70},  {'Y', 97, 300, 70},
      {'Y', 98, 300, 0},   {'Y', 269, 300, 70}, {'Y', 200, 159, 0},  {'Y', 200, 160, 70},
      {'Y', 200, 167, 70}, {'Y', 200, 168, 0},  {'Y', 200, 479, 70}, {'V', 0, 150, 236},
      {'U', 3, 150, 50},   {'U', 4, 150, 128},  {'V', 45, 150, 236}, {'V', 48, 150, 236},
      {'V', 49, 150, 128}, {'U', 100, 80, 50},  {'U', 100, 83, 50},  {'U', 100, 84, 128},
  };
  for (const auto& p : probes) {
    const int got = p.plane == 'Y'   ? SY(s, p.r, p.c)
                    : p.plane == 'U' ? SU(s, p.r, p.c)
                                     : SV(s, p.r, p.c);
    EXPECT_EQ(got, p.value) << p.plane << " " << p.r << "," << p.c;
  }
  CYv12Surface edge;  // rectangles beyond the surface are clipped to it
  edge.DrawInsetMarkings({-4, -4, 5000, 5000}, {1900, 1080, 1930, 1100});
  EXPECT_EQ(SY(edge, 0, 0), 70);
  EXPECT_EQ(SY(edge, 1087, 1919), 70);
}

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

// BT.709 full range worked out by hand: R = Y + 1.5748 (Cr - 128),
// G = Y - 0.1873 (Cb - 128) - 0.4681 (Cr - 128), B = Y + 1.8556 (Cb - 128).
TEST(YuvToRgb, ConvertsAndScalesARegion) {
  CYv12Surface s;
  Paint(s, 0, 0, 64, 32, 54, 99, 255);   // red
  Paint(s, 64, 0, 64, 32, 182, 30, 12);  // green
  Paint(s, 0, 32, 128, 32, 200, 128, 128);
  Paint(s, 128, 0, 16, 16, 100, 128, 128);
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
  // Brightness in 16.16 luma levels; contrast scales the luma.
  ASSERT_TRUE(conv.Convert(s, {128, 0, 144, 16}, 4, 4, {20 * kOne, kOne, kOne}, out.data(), 12));
  EXPECT_NEAR(out[0], 120, 3);
  ASSERT_TRUE(conv.Convert(s, {128, 0, 144, 16}, 4, 4, {0, 2 * kOne, kOne}, out.data(), 12));
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
