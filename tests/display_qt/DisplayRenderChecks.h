#pragma once
// Rendering checks shared by the QPainter (offscreen) and OpenGL (Xvfb) display
// tests, on colour bars in planar YUV 4:2:0 (BT.709, full range).

#include "display/CDisplayCore.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace lumora::testpics {

// A colour as the test wrote it (r, g, b) and its YUV encoding.
struct Yuv {
  int y, u, v;
  int r, g, b;
};

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
  YuvPicture p{w, h, {}, {}, {}, {}, {w, w / 2, w / 2}};
  const auto bars = BarColours();
  for (int r = 0; r < h; ++r)
    for (int c = 0; c < w; ++c) p.y.push_back(static_cast<std::uint8_t>(bars[c * 8 / w].y));
  for (int r = 0; r < h / 2; ++r)
    for (int c = 0; c < w / 2; ++c) {
      p.u.push_back(static_cast<std::uint8_t>(bars[c * 16 / w].u));
      p.v.push_back(static_cast<std::uint8_t>(bars[c * 16 / w].v));
    }
  p.planes[0] = p.y.data();
  p.planes[1] = p.u.data();
  p.planes[2] = p.v.data();
  return p;
}

inline bool Near(const QColor& a, const QColor& b, int tol) {
  return std::abs(a.red() - b.red()) <= tol && std::abs(a.green() - b.green()) <= tol &&
         std::abs(a.blue() - b.blue()) <= tol;
}

inline bool IsBlack(const QColor& c, int tol = 6) { return Near(c, QColor(0, 0, 0), tol); }

inline bool IsRed(const QColor& c) { return c.red() > 180 && c.green() < 100 && c.blue() < 100; }

using GrabFn = std::function<QImage()>;

inline QColor At(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

// The player's order of use.
inline void InitLikeThePlayer(IVideoDisplay& d, void* parent) {
  ASSERT_EQ(d.InitDisplay(parent, 5), 0);
  d.SetStretch(0, -1);
  for (int i = 0; i < 3; ++i) ASSERT_EQ(d.SetStillImage(i, nullptr), 1);
  d.SelectStillImage(0);
}

inline void Settle() {
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

inline void Show(IVideoDisplay& d, const YuvPicture& p) {
  d.ShowFrame(0, p.planes, p.w, p.h, 5, p.strides);
}

// 640 x 480 client, 1280 x 720 bars: letterboxed to rows 60..419.
inline void CheckColourBarsAndLetterbox(IVideoDisplay& d, const GrabFn& grab) {
  const YuvPicture bars = ColourBars(1280, 720);
  std::thread player([&] { Show(d, bars); });  // from the player's thread, as in playback
  player.join();
  Settle();
  const QImage img = grab();
  ASSERT_EQ(img.size(), QSize(640, 480));
  for (int i = 0; i < 8; ++i) {
    const QColor got = At(img, 40 + 80 * i, 240);
    EXPECT_TRUE(Near(got, Expected(BarColours()[i]), 8))
        << "bar " << i << " got " << got.red() << "," << got.green() << "," << got.blue();
  }
  for (int x : {5, 320, 635})
    for (int y : {2, 58, 422, 477}) EXPECT_TRUE(IsBlack(At(img, x, y))) << x << "," << y;
  EXPECT_FALSE(IsBlack(At(img, 40, 62)));
  EXPECT_FALSE(IsBlack(At(img, 40, 417)));
}

// 1280 x 720 client, 640 x 360 bars zoomed twice: the inset (320 x 180, 33
// from the side and the top) shows the whole picture with its 8-pixel red
// frame (4 pixels there) and the zoomed region's frame (the middle half).
inline void CheckZoomInset(IVideoDisplay& d, QWidget& parent, const GrabFn& grab) {
  parent.resize(1280, 720);
  d.FitToParent();
  Settle();
  const YuvPicture bars = ColourBars(640, 360);
  Show(d, bars);
  d.ZoomIn();
  Show(d, bars);
  Settle();
  const QImage img = grab();
  ASSERT_EQ(img.width(), 1280);
  const int midY = 123;
  EXPECT_TRUE(IsRed(At(img, 928, midY)));
  EXPECT_TRUE(IsRed(At(img, 1245, midY)));
  EXPECT_TRUE(IsRed(At(img, 1087, 34)));
  EXPECT_TRUE(IsRed(At(img, 1008, midY)));  // the region's frame at 927 + 80
  EXPECT_FALSE(IsRed(At(img, 1015, midY)));
  // Below the inset the zoomed picture: x 160..480 of the frame, four times
  // enlarged, so bar 4 (x 320..400) lies at 640..960.
  EXPECT_TRUE(Near(At(img, 800, 600), Expected(BarColours()[4]), 10));
  EXPECT_TRUE(Near(At(img, 500, 600), Expected(BarColours()[3]), 10));
  d.SetInsetSide(0);  // on the left: 33..353
  Show(d, bars);
  Settle();
  const QImage left = grab();
  EXPECT_TRUE(IsRed(At(left, 34, midY)));
  EXPECT_FALSE(IsRed(At(left, 928, midY)));
}

// Stopped: the selected still image over the whole client area.
inline void CheckStillWhenStopped(IVideoDisplay& d, const GrabFn& grab) {
  Show(d, ColourBars(1280, 720));
  EXPECT_EQ(d.Redraw(1), 1);  // the player stops: black still 0
  Settle();
  QImage img = grab();
  for (int x : {5, 40, 320, 600})
    for (int y : {5, 240, 470}) EXPECT_TRUE(IsBlack(At(img, x, y), 2)) << x << "," << y;
  std::vector<std::uint8_t> blue(64 * 36 * 3);  // bottom-up BGR, rows of 192 bytes
  for (std::size_t i = 0; i < blue.size(); i += 3) {
    blue[i] = 220;
    blue[i + 1] = 40;
    blue[i + 2] = 20;
  }
  const StillBitmap still{blue.data(), 64, 36, 192};
  ASSERT_EQ(d.SetStillImage(1, &still), 1);
  d.SelectStillImage(1);
  d.ShowFrame(0, nullptr, 0, 0, 5, nullptr);  // null planes: the still image
  Settle();
  img = grab();
  for (int x : {2, 320, 637})
    for (int y : {2, 240, 477}) EXPECT_TRUE(Near(At(img, x, y), QColor(20, 40, 220), 4));
}

// A yellow caption only within its corner at the top left.
inline void CheckCaption(IVideoDisplay& d, QWidget& parent, const GrabFn& grab) {
  parent.resize(1280, 720);
  d.FitToParent();
  Settle();
  d.SetCaption("DejaVu Sans", 60, "FRONT", 0x0000FFFF);  // over the black still
  ASSERT_EQ(d.Redraw(1), 1);
  Settle();
  const QImage img = grab();
  int inside = 0;
  int outside = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) {
      const QRgb c = img.pixel(x, y);
      if (qRed(c) > 200 && qGreen(c) > 200 && qBlue(c) < 80)
        ++(x >= 15 && y >= 15 && x <= 400 && y <= 120 ? inside : outside);
    }
  EXPECT_GT(inside, 100);
  EXPECT_EQ(outside, 0);
}

inline void CheckDeviceLossRecovery(IVideoDisplay& d, const GrabFn& grab) {
  EXPECT_EQ(d.ResetDevice(), 0);  // not lost
  d.SetDeviceLost(1);
  EXPECT_EQ(d.IsDeviceLost(), 1);
  EXPECT_EQ(d.Redraw(1), 0);
  EXPECT_EQ(d.ResetDevice(), 1);  // the player's recovery
  d.SetDeviceLost(0);
  EXPECT_EQ(d.Redraw(1), 1);
  Show(d, ColourBars(1280, 720));
  Settle();
  EXPECT_TRUE(Near(At(grab(), 40, 240), Expected(BarColours()[0]), 8));
}

}  // namespace lumora::testpics
