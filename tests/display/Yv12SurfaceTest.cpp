#include "display/CYv12Surface.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace lumora {
namespace {

// A small picture whose every sample tells where it came from.
struct Picture {
  int w, h;
  std::vector<std::uint8_t> y, u, v;
  int strides[3];
  const std::uint8_t* planes[3];
  Picture(int width, int height, int pad = 3) : w(width), h(height) {
    strides[0] = w + pad;
    strides[1] = strides[2] = w / 2 + pad;
    y.assign(static_cast<std::size_t>(strides[0]) * h, 0xEE);
    u.assign(static_cast<std::size_t>(strides[1]) * (h / 2), 0xEE);
    v.assign(static_cast<std::size_t>(strides[2]) * (h / 2), 0xEE);
    for (int r = 0; r < h; ++r)
      for (int c = 0; c < w; ++c) y[r * strides[0] + c] = static_cast<std::uint8_t>(r * 16 + c);
    for (int r = 0; r < h / 2; ++r)
      for (int c = 0; c < w / 2; ++c) {
        u[r * strides[1] + c] = static_cast<std::uint8_t>(100 + r * 8 + c);
        v[r * strides[2] + c] = static_cast<std::uint8_t>(200 + r * 8 + c);
      }
    planes[0] = y.data();
    planes[1] = u.data();
    planes[2] = v.data();
  }
  std::uint8_t Y(int r, int c) const { return y[r * strides[0] + c]; }
  std::uint8_t U(int r, int c) const { return u[r * strides[1] + c]; }
  std::uint8_t V(int r, int c) const { return v[r * strides[2] + c]; }
};

std::uint8_t SY(const CYv12Surface& s, int r, int c) { return s.Y()[r * CYv12Surface::kPitch + c]; }
std::uint8_t SU(const CYv12Surface& s, int r, int c) {
  return s.U()[r * CYv12Surface::kChromaPitch + c];
}
std::uint8_t SV(const CYv12Surface& s, int r, int c) {
  return s.V()[r * CYv12Surface::kChromaPitch + c];
}

TEST(Yv12Surface, PlaneLayoutIsYThenVThenU) {
  CYv12Surface s;
  const std::uint8_t* base = s.Bytes().data();
  EXPECT_EQ(s.Bytes().size(), 1920u * 1088u * 3u / 2u);
  EXPECT_EQ(s.V() - base, 1920 * 1088);
  EXPECT_EQ(s.U() - base, 1920 * 1088 + 1920 * 1088 / 4);
  // Starts black.
  EXPECT_EQ(SY(s, 0, 0), 0);
  EXPECT_EQ(SU(s, 543, 959), 128);
  EXPECT_EQ(SV(s, 0, 0), 128);
}

TEST(Yv12Surface, EachFlipModePlacesTheSamples) {
  const Picture p(8, 4);
  for (int mode = 0; mode < 4; ++mode) {
    CYv12Surface s;
    ASSERT_TRUE(s.CopyFrame(p.planes, p.strides, p.w, p.h, mode));
    const bool up = mode == 1 || mode == 3;
    const bool mir = mode == 2 || mode == 3;
    for (int r = 0; r < p.h; ++r)
      for (int c = 0; c < p.w; ++c)
        ASSERT_EQ(SY(s, r, c), p.Y(up ? p.h - 1 - r : r, mir ? p.w - 1 - c : c))
            << "mode " << mode << " at " << r << "," << c;
    for (int r = 0; r < p.h / 2; ++r)
      for (int c = 0; c < p.w / 2; ++c) {
        const int sr = up ? p.h / 2 - 1 - r : r;
        const int sc = mir ? p.w / 2 - 1 - c : c;
        ASSERT_EQ(SU(s, r, c), p.U(sr, sc)) << "mode " << mode;
        ASSERT_EQ(SV(s, r, c), p.V(sr, sc)) << "mode " << mode;
      }
    // Nothing beyond the picture is touched (the padding is not copied).
    EXPECT_EQ(SY(s, 0, p.w), 0);
    EXPECT_EQ(SY(s, p.h, 0), 0);
    EXPECT_EQ(SU(s, 0, p.w / 2), 128);
  }
}

TEST(Yv12Surface, Height1088IsCopiedAs1080) {
  const int w = 16, h = 1088;
  std::vector<std::uint8_t> y(static_cast<std::size_t>(w) * h, 77);
  std::vector<std::uint8_t> u(static_cast<std::size_t>(w / 2) * (h / 2), 90);
  std::vector<std::uint8_t> v(static_cast<std::size_t>(w / 2) * (h / 2), 160);
  const std::uint8_t* planes[3] = {y.data(), u.data(), v.data()};
  const int strides[3] = {w, w / 2, w / 2};
  CYv12Surface s;
  ASSERT_TRUE(s.CopyFrame(planes, strides, w, h, 0));
  EXPECT_EQ(SY(s, 1079, 0), 77);
  EXPECT_EQ(SY(s, 1080, 0), 0);
  EXPECT_EQ(SY(s, 1087, 15), 0);
  EXPECT_EQ(SU(s, 539, 0), 90);
  EXPECT_EQ(SU(s, 540, 0), 128);
  EXPECT_EQ(SV(s, 539, 7), 160);
  EXPECT_EQ(SV(s, 540, 7), 128);
  EXPECT_EQ(CYv12Surface::CopiedRows(1088), 1080);
  EXPECT_EQ(CYv12Surface::CopiedRows(1080), 1080);
  EXPECT_EQ(CYv12Surface::CopiedRows(720), 720);
}

TEST(Yv12Surface, UpsideDown1088TakesTheLast1080RowsFirst) {
  const int w = 4, h = 1088;
  std::vector<std::uint8_t> y(static_cast<std::size_t>(w) * h);
  for (int r = 0; r < h; ++r) y[r * w] = static_cast<std::uint8_t>(r & 0xFF);
  std::vector<std::uint8_t> c(static_cast<std::size_t>(w / 2) * (h / 2), 128);
  const std::uint8_t* planes[3] = {y.data(), c.data(), c.data()};
  const int strides[3] = {w, w / 2, w / 2};
  CYv12Surface s;
  ASSERT_TRUE(s.CopyFrame(planes, strides, w, h, 1));
  EXPECT_EQ(SY(s, 0, 0), 1079 & 0xFF);
  EXPECT_EQ(SY(s, 1079, 0), 0);
}

TEST(Yv12Surface, RejectsWhatDoesNotFit) {
  Picture p(8, 4);
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

TEST(Yv12Surface, InsetMarkingsAreRedFramesEightPixelsThick) {
  CYv12Surface s;
  const DisplayRect whole{0, 0, 640, 360};
  const DisplayRect region{160, 90, 480, 270};
  s.DrawInsetMarkings(whole, region);
  // Whole-picture frame: rows 0..7, columns 0..7, last 8 rows and columns.
  for (int r : {0, 7, 352, 359}) EXPECT_EQ(SY(s, r, 300), 70) << r;
  for (int c : {0, 7, 632, 639}) EXPECT_EQ(SY(s, 200, c), 70) << c;
  EXPECT_EQ(SY(s, 8, 300), 0);
  EXPECT_EQ(SY(s, 200, 8), 0);
  EXPECT_EQ(SY(s, 200, 631), 0);
  EXPECT_EQ(SY(s, 360, 300), 0);
  EXPECT_EQ(SY(s, 200, 640), 0);
  // Region frame.
  for (int r : {90, 97, 262, 269}) EXPECT_EQ(SY(s, r, 300), 70) << r;
  for (int c : {160, 167, 472, 479}) EXPECT_EQ(SY(s, 200, c), 70) << c;
  EXPECT_EQ(SY(s, 98, 300), 0);
  EXPECT_EQ(SY(s, 89, 300), 0);
  EXPECT_EQ(SY(s, 200, 168), 0);
  EXPECT_EQ(SY(s, 200, 159), 0);
  // Chroma: 4 samples thick, V 236 and U 50.
  EXPECT_EQ(SV(s, 0, 150), 236);
  EXPECT_EQ(SU(s, 3, 150), 50);
  EXPECT_EQ(SU(s, 4, 150), 128);
  EXPECT_EQ(SV(s, 45, 150), 236);
  EXPECT_EQ(SV(s, 48, 150), 236);
  EXPECT_EQ(SV(s, 49, 150), 128);
  EXPECT_EQ(SU(s, 100, 80), 50);
  EXPECT_EQ(SU(s, 100, 83), 50);
  EXPECT_EQ(SU(s, 100, 84), 128);
}

TEST(Yv12Surface, MarkingsStayInsideTheSurface) {
  CYv12Surface s;
  s.DrawInsetMarkings({-4, -4, 5000, 5000}, {1900, 1080, 1930, 1100});
  EXPECT_EQ(SY(s, 0, 0), 70);
  EXPECT_EQ(SY(s, 1087, 1919), 70);
  EXPECT_EQ(s.Bytes().size(), 1920u * 1088u * 3u / 2u);
}

}  // namespace
}  // namespace lumora
