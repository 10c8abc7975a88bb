// The display's rules (expected values worked out by hand), the YV12 surface,
// its BT.709 conversion and the core behind both display widgets.
#include "display/CColourControls.h"
#include "display/CDisplayCore.h"
#include "display/CDisplayGeometry.h"
#include "display/CScrollAxis.h"
#include "display/CSnapshot.h"
#include "display/CYuvToRgb.h"
#include "display/CYv12Surface.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace lumora {
namespace {

using G = CDisplayGeometry;

std::array<int, 4> Sides(const DisplayRect& r) { return {r.left, r.top, r.right, r.bottom}; }

TEST(DisplayGeometry, FitRectKeepsTheAspectWithEqualBars) {
  const struct {
    DisplayRect view;
    int w, h;
    DisplayRect want;
  } rows[] = {
      {{0, 0, 640, 480}, 1280, 720, {0, 60, 640, 420}},  // bars above and below
      {{10, 0, 650, 360}, 640, 480, {90, 0, 570, 360}},  // bars left and right
      {{0, 0, 640, 360}, 1920, 1080, {0, 0, 640, 360}},  // equal aspect fills
      {{0, 0, 633, 354}, 1920, 1080, {2, 0, 631, 354}},  // integer: (633 - 629) / 2
      {{0, 0, 0, 0}, 640, 360, {0, 0, 0, 0}},            // degenerate view
      {{0, 0, 100, 50}, 0, 360, {0, 0, 100, 50}},        // degenerate picture
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.w * 10000 + row.view.right);
    EXPECT_EQ(Sides(G::FitRect(row.view, row.w, row.h)), Sides(row.want));
  }
}

TEST(DisplayGeometry, ZoomTableBothWaysWithClamps) {
  const struct {
    int from, in, out;
  } rows[] = {{256, 512, 256},      {512, 768, 256},    {768, 1024, 512},   {1024, 1536, 768},
              {1536, 2048, 1024},   {2048, 3072, 1536}, {3072, 4096, 2048}, {4096, 4096, 3072},
              {100000, 4096, 4096}, {300, 512, 256},    {0, 256, 256}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.from);
    EXPECT_EQ(G::ZoomInStep(row.from), row.in);
    EXPECT_EQ(G::ZoomOutStep(row.from), row.out);
  }
}

// One frame laid out in a view, zoomed in `zooms` times (a zoom takes effect
// at the next frame), fitted or stretched.
TEST(DisplayGeometry, LayoutFrameLetterboxesZoomsAndStretches) {
  const struct {
    DisplayRect client;
    int w, h, zooms;
    bool stretch;
    DisplayRect picture, source;
  } rows[] = {
      {{0, 0, 640, 480}, 1280, 720, 0, false, {0, 60, 640, 420}, {0, 0, 1280, 720}},
      // The fitted 640 x 360 doubled about its centre, clipped to the view.
      {{0, 0, 640, 480}, 1280, 720, 1, false, {0, 0, 640, 480}, {320, 120, 960, 600}},
      // 1088 rows: 360 * 1920 / 1088 = 635 wide, (640 - 635) / 2 = 2 each side.
      {{0, 0, 640, 360}, 1920, 1088, 0, false, {2, 0, 638, 360}, {0, 0, 1920, 1088}},
      {{0, 0, 640, 480}, 1280, 720, 0, true, {0, 0, 640, 480}, {0, 0, 1280, 720}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.client.bottom * 10 + row.zooms);
    ViewGeometry g;
    G::LayoutFrame(g, row.client, row.w, row.h, row.stretch);
    for (int i = 0; i < row.zooms; ++i) {
      G::ApplyZoomIn(g);
      G::LayoutFrame(g, row.client, row.w, row.h, row.stretch);
    }
    EXPECT_EQ(g.zoom, row.zooms ? 512 : 256);
    EXPECT_EQ(Sides(g.picture), Sides(row.picture));
    EXPECT_EQ(Sides(g.source), Sides(row.source));
  }
}

// A 1280 x 720 frame in a 640 x 360 view at 2x, then dragged, zoomed in or out.
TEST(DisplayGeometry, ZoomedLayoutFollowsDragAndZoom) {
  ViewGeometry g;
  const auto layout = [&] { G::LayoutFrame(g, {0, 0, 640, 360}, 1280, 720, false); };
  layout();
  G::ApplyZoomIn(g);
  layout();
  const struct {
    DisplayPoint drag;
    int zoom;  // 0: no change, 1: in, -1: out
    DisplayRect source;
  } steps[] = {
      {{0, 0}, 0, {320, 180, 960, 540}},             // the middle half
      {{100, 0}, 0, {220, 180, 860, 540}},           // drag right moves the region left
      {{5000, 5000}, 0, {0, 0, 640, 360}},           // never past the top left
      {{-50000, -50000}, 0, {640, 360, 1280, 720}},  // nor past the bottom right
      {{120, 180}, 0, {520, 180, 1160, 540}},
      {{0, 0}, 1, {627, 240, 1053, 480}},  // 3x: width 426 about the shown centre 840
      {{0, 0}, -1, {520, 180, 1160, 540}},
      {{0, 0}, -1, {0, 0, 1280, 720}},  // back to 1x: the whole picture
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(s.source.left);
    g.drag = s.drag;
    if (s.zoom > 0) G::ApplyZoomIn(g);
    if (s.zoom < 0) G::ApplyZoomOut(g);
    layout();
    EXPECT_EQ(Sides(g.source), Sides(s.source));
    EXPECT_EQ(Sides(g.picture), Sides(DisplayRect{0, 0, 640, 360}));
    EXPECT_EQ(g.drag.x, 0);  // a drag is used once
  }
}

TEST(DisplayGeometry, InsetMarginsAndSide) {
  // Margins 20 and a quarter of the width on a 768 x 432 picture, scaled to
  // the picture: 640 x 360 gives margins 640*20/768 = 16 and 360*20/432 = 16.
  const struct {
    DisplayRect picture;
    int side;
    DisplayRect want;
  } rows[] = {
      {{0, 0, 768, 432}, 1, {556, 20, 748, 128}},    {{0, 0, 768, 432}, 0, {20, 20, 212, 128}},
      {{100, 50, 740, 410}, 1, {564, 66, 724, 156}}, {{100, 50, 740, 410}, 0, {116, 66, 276, 156}},
      {{0, 0, 1280, 720}, 1, {927, 33, 1247, 213}},  {{0, 0, 0, 0}, 1, {0, 0, 0, 0}}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.picture.right * 10 + row.side);
    EXPECT_EQ(Sides(G::InsetRect(row.picture, row.side)), Sides(row.want));
  }
}

std::string Describe(const CaptionItem& item) {
  if (!item.visible) return "";
  return item.text + " " + std::to_string(item.fontHeight) + " " + std::to_string(item.x) + "," +
         std::to_string(item.y) + (item.rightAligned ? " R" : "");
}

TEST(DisplayGeometry, CaptionAndZoomLabelPlaces) {
  // Fonts scale with the picture height (caption by H/720, label by H/1080),
  // the margin is 15 at 720 rows (7 at 360); "R": right-aligned at x.
  const struct {
    DisplayRect picture;
    int font, zoom;
    bool video, inset;
    int side;
    const char *caption, *label;
  } rows[] = {
      {{0, 0, 1280, 720}, 30, 256, true, true, 1, "Front 30 15,15", ""},
      // Inset on the left: the caption moves right, the label sits in the
      // inset (at 1280*20/768 + 15, 720*20/432 + 15).
      {{0, 0, 1280, 720}, 30, 1536, true, true, 0, "Front 30 1265,15 R", "6X 20 48,48"},
      {{0, 0, 640, 360}, 24, 3072, true, false, 0, "Front 12 7,7", "12X 8 633,7 R"},
      {{0, 0, 640, 360}, 24, 3072, false, false, 0, "Front 12 7,7", ""},  // a still: no label
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.caption);
    const CaptionLayout c =
        G::LayoutCaption(row.picture, row.font, "Front", row.video, row.zoom, row.inset, row.side);
    EXPECT_EQ(Describe(c.caption), row.caption);
    EXPECT_EQ(Describe(c.zoomLabel), row.label);
  }
}

// One axis of 400 with a page of 360 (at most 40), request by request.
TEST(ScrollAxis, LinePageThumbAndWheelSteps) {
  CScrollAxis a;
  a.SetRange(0, 400);
  a.SetPage(360);
  constexpr int kWheel = -1;  // `arg` is the wheel delta
  using A = CScrollAxis;
  const struct {
    int code, arg, moved, pos;
  } steps[] = {{A::kLineDown, 0, 1, 1},
               {A::kPageDown, 0, 20, 21},
               {A::kLineUp, 0, -1, 20},
               {A::kPageUp, 0, -20, 0},
               {A::kThumbTrack, 30, 30, 30},
               {A::kThumbPosition, 12, -18, 12},
               {99, 0, 0, 12},
               {A::kPageDown, 0, 20, 32},
               {A::kPageDown, 0, 8, 40},
               {A::kThumbTrack, 1000, 0, 40},
               {kWheel, 120, -20, 20},
               {kWheel, -120, 20, 40},
               {kWheel, 60, 0, 40}};
  for (const auto& s : steps) {
    SCOPED_TRACE(std::to_string(s.code) + " " + std::to_string(s.arg));
    EXPECT_EQ(s.code == kWheel ? a.Wheel(s.arg) : a.Scroll(s.code, s.arg), s.moved);
    EXPECT_EQ(a.Position(), s.pos);
  }
  a.SetPosition(0);
  a.SetPage(400);  // the page covers the range: nothing to scroll
  EXPECT_EQ(a.Wheel(-120), 0);
  EXPECT_EQ(a.Scroll(CScrollAxis::kPageDown), 0);
}

// Percent of a range made symmetric about its default (brightness -100..100
// levels, contrast 0..2); contrast never below a tenth; stills use defaults.
TEST(ColourControls, PercentsForVideoDefaultsForStills) {
  constexpr int kOne = CColourControls::kOne;
  const struct {
    int brightnessPercent, contrastPercent, brightness, contrast;
  } rows[] = {{50, 50, 0, kOne},
              {75, 100, 50 * kOne, 2 * kOne},
              {150, 0, 100 * kOne, 6553},
              {-20, 25, -100 * kOne, kOne / 2}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.brightnessPercent);
    CColourControls c;
    c.SetBrightness(row.brightnessPercent);
    c.SetContrast(row.contrastPercent);
    EXPECT_EQ(c.ForVideo().brightness, row.brightness);
    EXPECT_EQ(c.ForVideo().contrast, row.contrast);
    EXPECT_EQ(c.ForStill().brightness, 0);
    EXPECT_EQ(c.ForStill().contrast, kOne);
  }
}

// Short positions of AVI recordings are the command-line snapshot test's.
TEST(SnapshotName, StemHoursAndChannel) {
  EXPECT_EQ(CSnapshot::FileName("LUMORA^20261205_083004_F^1^2^NI.MP4", 3723004, 1),
            "LUMORA^20261205_083004_F^1^2^NI_01-02-03.004_R.png");
  EXPECT_EQ(CSnapshot::FileName("clip.avi", -40, 0), "clip_00-00-00.000_F.png");
}

// A w x h picture with rows padded by 3 whose samples tell where they came
// from: Y = y0 + 16 r + c, U = 100 + 8 r + c, V = 200 + 8 r + c (mod 256).
struct Picture {
  int w, h;
  std::vector<std::uint8_t> y, u, v;
  int strides[3];
  const std::uint8_t* planes[3];
  Picture(int width, int height, int y0 = 0)
      : w(width),
        h(height),
        strides{w + 3, w / 2 + 3, w / 2 + 3},
        planes{Fill(y, 16, y0), Fill(u, 8, 100), Fill(v, 8, 200)} {}
  const std::uint8_t* Fill(std::vector<std::uint8_t>& plane, int rowStep, int base) {
    const int cols = rowStep == 16 ? w : w / 2;
    const int rows = rowStep == 16 ? h : h / 2;
    plane.assign(static_cast<std::size_t>(cols + 3) * rows, 0xEE);
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < cols; ++c) plane[r * (cols + 3) + c] = (base + r * rowStep + c) & 0xFF;
    return plane.data();
  }
};

std::uint8_t SY(const CYv12Surface& s, int r, int c) { return s.Y()[r * CYv12Surface::kPitch + c]; }
std::uint8_t SU(const CYv12Surface& s, int r, int c) {
  return s.U()[r * CYv12Surface::kChromaPitch + c];
}
std::uint8_t SV(const CYv12Surface& s, int r, int c) {
  return s.V()[r * CYv12Surface::kChromaPitch + c];
}

// Mode 1 turns the picture upside down, 2 mirrors it, 3 does both; the row
// padding is not copied, the rest stays black.
TEST(Yv12Surface, EachFlipModePlacesTheSamplesAndMisfitsAreRefused) {
  const Picture p(8, 4);
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
  CYv12Surface s;  // what does not fit is refused and leaves it black
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

// A 1088-row picture is copied as its first 1080 rows, upside down too.
TEST(Yv12Surface, Height1088IsCopiedAs1080) {
  const Picture p(16, 1088);
  CYv12Surface s;
  ASSERT_TRUE(s.CopyFrame(p.planes, p.strides, p.w, p.h, 0));
  EXPECT_EQ(SY(s, 1079, 1), (1079 * 16 + 1) & 0xFF);
  EXPECT_EQ(SY(s, 1080, 1), 0);
  EXPECT_EQ(SU(s, 539, 1), (100 + 539 * 8 + 1) & 0xFF);
  EXPECT_EQ(SU(s, 540, 1), 128);
  CYv12Surface up;
  ASSERT_TRUE(up.CopyFrame(p.planes, p.strides, p.w, p.h, 1));
  EXPECT_EQ(SY(up, 0, 1), (1079 * 16 + 1) & 0xFF);
  EXPECT_EQ(SY(up, 1079, 1), 1);
  EXPECT_EQ(SY(up, 1080, 1), 0);
  EXPECT_EQ(CYv12Surface::CopiedRows(1088), 1080);
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
TEST(YuvToRgb, ConvertsAndScalesARegionAndRefusesEmptyOnes) {
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
  // Empty regions and outputs are refused.
  const CColourControls::Values c{0, kOne, kOne};
  EXPECT_FALSE(conv.Convert(s, {10, 10, 10, 20}, 4, 4, c, out.data(), 12));
  EXPECT_FALSE(conv.Convert(s, {0, 0, 16, 16}, 0, 4, c, out.data(), 12));
  EXPECT_FALSE(conv.Convert(s, {0, 0, 16, 16}, 4, 4, c, out.data(), 4));
  EXPECT_FALSE(conv.Convert(s, {5000, 5000, 6000, 6000}, 4, 4, c, out.data(), 12));
}

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
  void Show(const Picture& f) { d.ShowFrame(0, f.planes, f.w, f.h, 5, f.strides); }
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
  Show(Picture(1280, 720));
  EXPECT_TRUE(d.IsVideoShown());
  EXPECT_GE(d.presents, 1);
  EXPECT_EQ(d.MainSurface(0)->Y()[719 * 1920 + 1279], (719 * 16 + 1279) & 0xFF);
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
  const Picture f(1280, 720);
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
    EXPECT_EQ(d.MainSurface(0)->Y()[400 * 1920 + 320], (400 * 16 + 320) & 0xFF);  // not here
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
  Show(Picture(64, 48));
  d.SetDeviceLost(1);
  const int before = d.presents;
  Show(Picture(64, 48, 9));
  EXPECT_EQ(d.presents, before);
  EXPECT_EQ(d.MainSurface(0)->Y()[0], 0);
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

// The flip mode of view 0 (an unknown one is ignored), a frame too large for
// the surface is not shown, no caption until a font is set.
TEST_F(DisplayCore, FlipOversizedFramesAndCaption) {
  const Picture f(4, 2);
  d.SetFlipMode(3, 0);
  Show(f);
  EXPECT_EQ(d.MainSurface(0)->Y()[0], 19);
  EXPECT_EQ(d.MainSurface(0)->Y()[1920 + 2], 1);
  d.SetFlipMode(9, -1);
  Show(f);
  EXPECT_EQ(d.MainSurface(0)->Y()[0], 19);
  const int presents = d.presents;
  Show(Picture(1936, 1088));
  EXPECT_EQ(d.presents, presents);
  for (bool font : {false, true}) {
    if (font) d.SetCaption("DejaVu Sans", 36, "Front", 0x0000FFFF);
    d.SetCaptionText("Rear");
    Show(Picture(1280, 720));
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
