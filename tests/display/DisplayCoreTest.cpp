// The display core behind both display widgets; the geometry values are the
// rule tables', here one value each shows the core applies them.
#include "display/CDisplayCore.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

namespace lumora {
namespace {

class FakeDisplay : public CDisplayCore {
 public:
  bool createOk = true;
  bool rebuildOk = true;
  int presents = 0;
  int rebuilds = 0;
  std::vector<int> notes;
  void FitToParent() override {}

 protected:
  bool CreateDevice() override { return createOk; }
  bool RebuildDevice() override {
    ++rebuilds;
    return rebuildOk;
  }
  void RequestPresent() override { ++presents; }
  void NotifyParent(int wParam) override { notes.push_back(wParam); }
};

// A flat-coloured 4:2:0 picture.
struct Frame {
  Frame(int width, int height, std::uint8_t Y = 100)
      : w(width), h(height), y(w * h, Y), u(w * h / 4, 60), v(w * h / 4, 200) {}
  int w, h;
  std::vector<std::uint8_t> y, u, v;
};

std::array<int, 4> Sides(const DisplayRect& r) { return {r.left, r.top, r.right, r.bottom}; }

// Set up in the player's order of calls.
class DisplayCore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(d.InitDisplay(this, 5), 0);
    d.SetClientSize(640, 480);
    d.SetStretch(0, -1);
    for (int i = 0; i < 3; ++i) ASSERT_EQ(d.SetStillImage(i, nullptr), 1);
    d.SelectStillImage(0);
  }
  void Show(const Frame& f) {
    const std::uint8_t* planes[3] = {f.y.data(), f.u.data(), f.v.data()};
    const int strides[3] = {f.w, f.w / 2, f.w / 2};
    d.ShowFrame(0, planes, f.w, f.h, 5, strides);
  }
  FakeDisplay d;
};

// Without a bitmap a still is black 640 x 360; a bitmap (bottom-up BGR) is
// kept upright RGB; a bad one releases every still.
TEST_F(DisplayCore, StillImages) {
  const StillImage* black = d.Still(2);
  ASSERT_NE(black, nullptr);
  EXPECT_EQ(black->width, 640);
  EXPECT_EQ(black->height, 360);
  EXPECT_EQ(black->rgb, std::vector<std::uint8_t>(640u * 360u * 3u, 0));
  const std::uint8_t bits[16] = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
  const StillBitmap bmp{bits, 2, 2, 8};  // rows padded to 8 bytes
  ASSERT_EQ(d.SetStillImage(1, &bmp), 1);
  EXPECT_EQ(d.Still(1)->rgb, (std::vector<std::uint8_t>{9, 8, 7, 12, 11, 10, 3, 2, 1, 6, 5, 4}));
  const StillBitmap shortRows{bits, 2, 2, 2};
  EXPECT_EQ(d.SetStillImage(2, &shortRows), 0);
  EXPECT_EQ(d.Still(0), nullptr);
  EXPECT_EQ(d.Still(1), nullptr);
  const StillBitmap huge{bits, 100000, 100000, 300000};
  EXPECT_EQ(d.SetStillImage(0, &huge), 0);
  EXPECT_EQ(d.SetStillImage(5, nullptr), 0);
}

// A frame is copied and shown letterboxed; Redraw(1) shows the selected still,
// Redraw(0) the last frame again, a frame without planes the selected still.
TEST_F(DisplayCore, FramesAndStillsTakeTurns) {
  Show(Frame(1280, 720, 150));
  EXPECT_TRUE(d.IsVideoShown());
  EXPECT_GE(d.presents, 1);
  EXPECT_EQ(d.MainSurface(0)->Y()[719 * 1920 + 1279], 150);
  d.Redraw(1);
  EXPECT_FALSE(d.IsVideoShown());
  EXPECT_EQ(d.Redraw(0), 1);
  EXPECT_TRUE(d.IsVideoShown());
  {
    auto lock = d.Lock();
    EXPECT_FALSE(d.Scene().still);
    EXPECT_FALSE(d.Scene().inset);
    EXPECT_EQ(Sides(d.Scene().dest), Sides({0, 60, 640, 420}));
    EXPECT_EQ(Sides(d.Scene().source), Sides({0, 0, 1280, 720}));
  }
  d.SelectStillImage(2);
  d.ShowFrame(0, nullptr, 0, 0, 5, nullptr);
  auto lock = d.Lock();
  EXPECT_TRUE(d.Scene().still);
  EXPECT_EQ(d.Scene().stillIndex, 2);
  EXPECT_FALSE(d.IsVideoShown());
}

// Zoom and drag act only while video is shown: ZoomIn on every view, ZoomOut
// on view 0, SetZoom clamped to 16x, each at the next frame, which then draws
// the inset with its markings on the inset surface only.
TEST_F(DisplayCore, ZoomAndDragWhileVideoIsShown) {
  d.SetClientSize(640, 360);
  const Frame f(1280, 720);
  int zoom = 0;
  d.ZoomIn();
  d.GetZoom(&zoom, nullptr, nullptr);
  EXPECT_EQ(zoom, 256);
  EXPECT_FALSE(d.BeginDrag({10, 10}));
  Show(f);
  d.ZoomIn();
  EXPECT_EQ(d.GetGeometry(1).requestedZoom, 512);
  EXPECT_EQ(d.GetGeometry(0).zoom, 256);
  Show(f);
  {
    auto lock = d.Lock();
    const DisplayScene& s = d.Scene();
    ASSERT_TRUE(s.inset);
    EXPECT_EQ(Sides(s.source), Sides({320, 180, 960, 540}));
    EXPECT_EQ(Sides(s.insetSource), Sides({0, 0, 1280, 720}));
    EXPECT_EQ(Sides(s.insetDest), Sides({464, 16, 624, 106}));
    EXPECT_EQ(d.InsetSurface(0)->Y()[400 * 1920 + 320], 70);  // the region's left edge
    EXPECT_EQ(d.MainSurface(0)->Y()[400 * 1920 + 320], 100);  // not on the main surface
  }
  // A drag moves the zoomed region once and tells the parent at each move.
  ASSERT_TRUE(d.BeginDrag({100, 100}));
  EXPECT_TRUE(d.DragTo({150, 100}));
  EXPECT_TRUE(d.DragTo({200, 100}));
  d.EndDrag();
  EXPECT_FALSE(d.DragTo({300, 100}));
  EXPECT_EQ(d.notes, (std::vector<int>{1241, 1241}));
  Show(f);
  Show(f);
  EXPECT_EQ(Sides(d.GetGeometry(0).source), Sides({220, 180, 860, 540}));
  d.Redraw(1);  // stopped: the still is shown
  d.ZoomIn();
  EXPECT_EQ(d.GetGeometry(0).requestedZoom, 512);
  d.Redraw(0);
  d.ZoomOut();
  EXPECT_EQ(d.GetGeometry(0).requestedZoom, 256);
  EXPECT_EQ(d.GetGeometry(1).requestedZoom, 512);
  d.SetZoom(1 << 30, {}, {});
  d.GetZoom(&zoom, nullptr, nullptr);
  EXPECT_EQ(zoom, 4096);
  d.SetInsetVisible(0);
  Show(f);
  EXPECT_EQ(d.GetGeometry(0).source.Width(), 1280 / 16);
  auto lock = d.Lock();
  EXPECT_FALSE(d.Scene().inset);
}

// A lost device shows and uploads nothing and tells the parent; ResetDevice
// acts only then, and a successful one brings the stills back.
TEST_F(DisplayCore, LostDeviceAndItsReset) {
  EXPECT_EQ(d.ResetDevice(), 0);
  EXPECT_EQ(d.rebuilds, 0);
  const std::uint8_t bits[8] = {10, 20, 30, 0, 40, 50, 60, 0};
  const StillBitmap bmp{bits, 1, 2, 4};
  ASSERT_EQ(d.SetStillImage(1, &bmp), 1);
  Show(Frame(64, 48));
  d.SetDeviceLost(1);
  const int before = d.presents;
  Show(Frame(64, 48, 9));
  EXPECT_EQ(d.presents, before);
  EXPECT_EQ(d.MainSurface(0)->Y()[0], 100);
  EXPECT_EQ(d.notes, std::vector<int>{1243});
  EXPECT_EQ(d.Redraw(1), 0);
  d.rebuildOk = false;
  EXPECT_EQ(d.ResetDevice(), 0);
  EXPECT_EQ(d.Still(1), nullptr);
  d.rebuildOk = true;
  EXPECT_EQ(d.ResetDevice(), 1);
  EXPECT_EQ(d.rebuilds, 2);
  ASSERT_NE(d.Still(1), nullptr);
  EXPECT_EQ(d.Still(1)->rgb, (std::vector<std::uint8_t>{60, 50, 40, 30, 20, 10}));
  ASSERT_NE(d.Still(0), nullptr);
  EXPECT_NE(d.MainSurface(0), nullptr);
  EXPECT_EQ(d.IsDeviceLost(), 1);  // the caller clears the flag
}

TEST_F(DisplayCore, FlipModeAndOversizedFrames) {
  Frame f(4, 2);
  f.y = {1, 2, 3, 4, 5, 6, 7, 8};
  d.SetFlipMode(3, 0);
  Show(f);
  EXPECT_EQ(d.MainSurface(0)->Y()[0], 8);
  EXPECT_EQ(d.MainSurface(0)->Y()[1920 + 3], 1);
  d.SetFlipMode(9, -1);  // ignored
  Show(f);
  EXPECT_EQ(d.MainSurface(0)->Y()[0], 8);
  const int presents = d.presents;
  Show(Frame(1936, 1088));
  EXPECT_EQ(d.presents, presents);
}

// No caption until a font is set; the text can change afterwards.
TEST_F(DisplayCore, CaptionOnlyOnceAFontIsSet) {
  const Frame f(1280, 720);
  for (bool font : {false, true}) {
    if (font) d.SetCaption("DejaVu Sans", 36, "Front", 0x0000FFFF);
    d.SetCaptionText("Rear");
    Show(f);
    auto lock = d.Lock();
    ASSERT_EQ(d.Scene().caption, font);
  }
  auto lock = d.Lock();
  EXPECT_EQ(d.Scene().captions.caption.text, "Rear");
  EXPECT_EQ(d.Scene().captions.caption.fontHeight, 18);  // 36 at 720 rows: the picture has 360
  EXPECT_EQ(d.Scene().fontFace, "DejaVu Sans");
}

}  // namespace
}  // namespace lumora
