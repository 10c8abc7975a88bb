#pragma once
// Rendering checks shared by the QPainter display test (offscreen) and the
// OpenGL display test (under Xvfb): each takes a display inside a shown
// parent and a function that grabs what the display shows.

#include "display/CDisplayCore.h"
#include "tests/display_qt/TestPictures.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>

#include <functional>
#include <thread>

namespace lumora::testpics {

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

// 640 x 480 client, 1280 x 720 bars: letterboxed to rows 60..419.
inline void CheckColourBarsAndLetterbox(IVideoDisplay& d, const GrabFn& grab) {
  const YuvPicture bars = ColourBars(1280, 720);
  // From the player's thread, as in playback.
  std::thread player([&] { d.ShowFrame(0, bars.planes, bars.w, bars.h, 5, bars.strides); });
  player.join();
  Settle();
  const QImage img = grab();
  ASSERT_EQ(img.width(), 640);
  ASSERT_EQ(img.height(), 480);
  const auto colours = BarColours();
  for (int i = 0; i < 8; ++i) {
    const QColor got = At(img, 40 + 80 * i, 240);
    const QColor want = Expected(colours[i]);
    EXPECT_TRUE(Near(got, want, 8))
        << "bar " << i << " got " << got.red() << "," << got.green() << "," << got.blue()
        << " want " << want.red() << "," << want.green() << "," << want.blue();
  }
  for (int x : {5, 320, 635}) {
    EXPECT_TRUE(IsBlack(At(img, x, 2))) << x;
    EXPECT_TRUE(IsBlack(At(img, x, 58))) << x;
    EXPECT_TRUE(IsBlack(At(img, x, 422))) << x;
    EXPECT_TRUE(IsBlack(At(img, x, 477))) << x;
  }
  EXPECT_FALSE(IsBlack(At(img, 40, 62)));
  EXPECT_FALSE(IsBlack(At(img, 40, 417)));
}

// 1280 x 720 client, 640 x 360 bars zoomed twice: red frame of the inset.
inline void CheckZoomInset(IVideoDisplay& d, QWidget& parent, const GrabFn& grab) {
  parent.resize(1280, 720);
  d.FitToParent();
  Settle();
  const YuvPicture bars = ColourBars(640, 360);
  d.ShowFrame(0, bars.planes, bars.w, bars.h, 5, bars.strides);
  d.ZoomIn();
  d.ShowFrame(0, bars.planes, bars.w, bars.h, 5, bars.strides);
  Settle();
  const QImage img = grab();
  ASSERT_EQ(img.width(), 1280);
  const DisplayRect inset = CDisplayGeometry::InsetRect({0, 0, 1280, 720}, 1);
  // Inset: 320 x 180 at 33 from the right, 33 from the top; the 8-pixel frame
  // of the 640-wide picture is 4 pixels wide there.
  EXPECT_EQ(inset.left, 1280 - 33 - 320);
  const int midY = (inset.top + inset.bottom) / 2;
  EXPECT_TRUE(IsRed(At(img, inset.left + 1, midY)));
  EXPECT_TRUE(IsRed(At(img, inset.right - 2, midY)));
  EXPECT_TRUE(IsRed(At(img, (inset.left + inset.right) / 2, inset.top + 1)));
  // The zoomed region's frame: the middle half of the picture.
  const int regionLeft = inset.left + 80;
  EXPECT_TRUE(IsRed(At(img, regionLeft + 1, midY)));
  EXPECT_FALSE(IsRed(At(img, regionLeft + 8, midY)));
  // Below the inset the zoomed picture: the source is x 160..480 of the
  // frame, four times enlarged, so bar 4 (x 320..400) lies at 640..960.
  EXPECT_TRUE(Near(At(img, 800, 600), Expected(BarColours()[4]), 10));
  EXPECT_TRUE(Near(At(img, 500, 600), Expected(BarColours()[3]), 10));
  // Inset on the left instead.
  d.SetInsetSide(0);
  d.ShowFrame(0, bars.planes, bars.w, bars.h, 5, bars.strides);
  Settle();
  const QImage left = grab();
  const DisplayRect leftInset = CDisplayGeometry::InsetRect({0, 0, 1280, 720}, 0);
  EXPECT_TRUE(IsRed(At(left, leftInset.left + 1, midY)));
  EXPECT_FALSE(IsRed(At(left, inset.left + 1, midY)));
}

// Stopped: the selected still image over the whole client area.
inline void CheckStillWhenStopped(IVideoDisplay& d, const GrabFn& grab) {
  const YuvPicture bars = ColourBars(1280, 720);
  d.ShowFrame(0, bars.planes, bars.w, bars.h, 5, bars.strides);
  EXPECT_EQ(d.Redraw(1), 1);  // the player stops: black still 0
  Settle();
  QImage img = grab();
  for (int x : {5, 40, 320, 600})
    for (int y : {5, 240, 470}) EXPECT_TRUE(IsBlack(At(img, x, y), 2)) << x << "," << y;
  const Bitmap blue(64, 36, 20, 40, 220);
  const StillBitmap bmp{blue.bits.data(), blue.w, blue.h, blue.stride};
  ASSERT_EQ(d.SetStillImage(1, &bmp), 1);
  d.SelectStillImage(1);
  d.ShowFrame(0, nullptr, 0, 0, 5, nullptr);  // null planes: the still image
  Settle();
  img = grab();
  for (int x : {2, 320, 637})
    for (int y : {2, 240, 477}) EXPECT_TRUE(Near(At(img, x, y), QColor(20, 40, 220), 4));
}

inline void CheckCaption(IVideoDisplay& d, QWidget& parent, const GrabFn& grab) {
  parent.resize(1280, 720);
  d.FitToParent();
  Settle();
  d.SetCaption("DejaVu Sans", 60, "FRONT", 0x0000FFFF);  // yellow
  const Bitmap grey(16, 9, 0, 0, 0);
  const StillBitmap bmp{grey.bits.data(), grey.w, grey.h, grey.stride};
  ASSERT_EQ(d.SetStillImage(0, &bmp), 1);
  ASSERT_EQ(d.Redraw(1), 1);
  Settle();
  const QImage img = grab();
  int yellow = 0;
  int other = 0;
  for (int y = 0; y < 720; ++y)
    for (int x = 0; x < 1280; ++x) {
      const QColor c = At(img, x, y);
      if (c.red() > 200 && c.green() > 200 && c.blue() < 80) {
        ++yellow;
        if (x < 15 || y < 15 || x > 400 || y > 120) ++other;
      }
    }
  EXPECT_GT(yellow, 100);
  EXPECT_EQ(other, 0);
}

inline void CheckDeviceLossRecovery(IVideoDisplay& d, const GrabFn& grab) {
  EXPECT_EQ(d.ResetDevice(), 0);  // not lost
  d.SetDeviceLost(1);
  EXPECT_EQ(d.IsDeviceLost(), 1);
  EXPECT_EQ(d.Redraw(1), 0);
  // The player's recovery.
  EXPECT_EQ(d.ResetDevice(), 1);
  d.SetDeviceLost(0);
  EXPECT_EQ(d.Redraw(1), 1);
  const YuvPicture bars = ColourBars(1280, 720);
  d.ShowFrame(0, bars.planes, bars.w, bars.h, 5, bars.strides);
  Settle();
  const QImage img = grab();
  EXPECT_TRUE(Near(At(img, 40, 240), Expected(BarColours()[0]), 8));
}

}  // namespace lumora::testpics
