#pragma once
// Test pictures for the display widgets: colour bars as planar YUV 4:2:0
// (BT.709, full range) and helpers to read pixels back.

#include <QColor>
#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace lumora::testpics {

// A colour as the test wrote it (r, g, b) and its YUV encoding.
struct Yuv {
  int y, u, v;
  int r, g, b;
};

// BT.709 full-range encoding of an RGB colour.
inline Yuv FromRgb(int r, int g, int b) {
  const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
  auto c = [](double x) { return std::clamp(static_cast<int>(std::lround(x)), 0, 255); };
  return {c(y), c((b - y) / 1.8556 + 128.0), c((r - y) / 1.5748 + 128.0), r, g, b};
}

// White, yellow, cyan, green, magenta, red, blue, black.
inline std::array<Yuv, 8> BarColours() {
  return {FromRgb(235, 235, 235), FromRgb(235, 235, 16), FromRgb(16, 235, 235),
          FromRgb(16, 235, 16),   FromRgb(235, 16, 235), FromRgb(235, 16, 16),
          FromRgb(16, 16, 235),   FromRgb(16, 16, 16)};
}

// Expected RGB of a bar after decoding: the colour it was made from.
inline QColor Expected(const Yuv& c) { return QColor(c.r, c.g, c.b); }

struct YuvPicture {
  int w, h;
  std::vector<std::uint8_t> y, u, v;
  const std::uint8_t* planes[3];
  int strides[3];
};

// Eight vertical bars of equal width.
inline YuvPicture ColourBars(int w, int h) {
  YuvPicture p{w, h, {}, {}, {}, {}, {}};
  p.y.resize(static_cast<std::size_t>(w) * h);
  p.u.resize(static_cast<std::size_t>(w / 2) * (h / 2));
  p.v.resize(p.u.size());
  const auto bars = BarColours();
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) p.y[r * w + c] = static_cast<std::uint8_t>(bars[c * 8 / w].y);
  for (int r = 0; r < h / 2; ++r)
    for (int c = 0; c < w / 2; ++c) {
      const Yuv& b = bars[(2 * c) * 8 / w];
      p.u[r * (w / 2) + c] = static_cast<std::uint8_t>(b.u);
      p.v[r * (w / 2) + c] = static_cast<std::uint8_t>(b.v);
    }
  p.planes[0] = p.y.data();
  p.planes[1] = p.u.data();
  p.planes[2] = p.v.data();
  p.strides[0] = w;
  p.strides[1] = p.strides[2] = w / 2;
  return p;
}

inline bool Near(const QColor& a, const QColor& b, int tol) {
  return std::abs(a.red() - b.red()) <= tol && std::abs(a.green() - b.green()) <= tol &&
         std::abs(a.blue() - b.blue()) <= tol;
}

inline bool IsBlack(const QColor& c, int tol = 6) { return Near(c, QColor(0, 0, 0), tol); }

inline bool IsRed(const QColor& c) { return c.red() > 180 && c.green() < 100 && c.blue() < 100; }

// A bottom-up BGR bitmap of one colour.
struct Bitmap {
  std::vector<std::uint8_t> bits;
  int w, h, stride;
  Bitmap(int width, int height, int r, int g, int b) : w(width), h(height) {
    stride = (w * 3 + 3) & ~3;
    bits.assign(static_cast<std::size_t>(stride) * h, 0);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        bits[y * stride + x * 3 + 0] = static_cast<std::uint8_t>(b);
        bits[y * stride + x * 3 + 1] = static_cast<std::uint8_t>(g);
        bits[y * stride + x * 3 + 2] = static_cast<std::uint8_t>(r);
      }
  }
};

}  // namespace lumora::testpics
