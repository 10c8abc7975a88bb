#include "display/CDisplayGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

void ExpectRect(const DisplayRect& r, const DisplayRect& want) {
  EXPECT_EQ(r.left, want.left);
  EXPECT_EQ(r.top, want.top);
  EXPECT_EQ(r.right, want.right);
  EXPECT_EQ(r.bottom, want.bottom);
}

TEST(DisplayGeometry, FitRectKeepsTheAspectWithEqualBars) {
  struct Row {
    DisplayRect view;
    int w, h;
    DisplayRect want;
  };
  const Row rows[] = {
      {{0, 0, 640, 480}, 1280, 720, {0, 60, 640, 420}},  // bars above and below
      {{10, 0, 650, 360}, 640, 480, {90, 0, 570, 360}},  // bars left and right
      {{0, 0, 640, 360}, 1920, 1080, {0, 0, 640, 360}},  // equal aspect fills
      {{0, 0, 633, 354}, 633, 354, {0, 0, 633, 354}},    // same size
      {{0, 0, 633, 354}, 1920, 1080, {2, 0, 631, 354}},  // integer: (633 - 629) / 2
      {{0, 0, 0, 0}, 640, 360, {0, 0, 0, 0}},            // degenerate view
      {{0, 0, 100, 50}, 0, 360, {0, 0, 100, 50}},        // degenerate picture
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.w * 10000 + row.view.right);
    ExpectRect(CDisplayGeometry::FitRect(row.view, row.w, row.h), row.want);
  }
}

TEST(DisplayGeometry, ZoomTableBothWaysWithClamps) {
  struct Row {
    int from, in, out;
  };
  const Row rows[] = {{256, 512, 256},    {512, 768, 256},    {768, 1024, 512},
                      {1024, 1536, 768},  {1536, 2048, 1024}, {2048, 3072, 1536},
                      {3072, 4096, 2048}, {4096, 4096, 3072}, {100000, 4096, 4096},
                      {300, 512, 256}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.from);
    EXPECT_EQ(CDisplayGeometry::ZoomInStep(row.from), row.in);
    EXPECT_EQ(CDisplayGeometry::ZoomOutStep(row.from), row.out);
  }
  EXPECT_EQ(CDisplayGeometry::ZoomOutStep(0), 256);
}

TEST(DisplayGeometry, ZoomInAimsAtTheMiddleOfThePicture) {
  ViewGeometry g;
  g.picture = {0, 0, 640, 360};
  CDisplayGeometry::ApplyZoomIn(g);
  EXPECT_EQ(g.requestedZoom, 512);
  EXPECT_EQ(g.zoom, 256);  // takes effect at the next frame
  EXPECT_TRUE(g.zoomChanged);
  EXPECT_EQ(g.zoomPoint.x, 320);
  EXPECT_EQ(g.zoomPoint.y, 180);
  CDisplayGeometry::ApplyZoomOut(g);
  EXPECT_EQ(g.requestedZoom, 256);
}

// A 1280 x 720 frame in a 640 x 360 view, zoomed twice, then dragged, zoomed
// again or zoomed out; each step's source rectangle worked out by hand.
TEST(DisplayGeometry, ZoomedLayoutFollowsDragAndZoom) {
  ViewGeometry g;
  const DisplayRect client{0, 0, 640, 360};
  const auto layout = [&] { CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false); };
  layout();
  ExpectRect(g.source, {0, 0, 1280, 720});
  CDisplayGeometry::ApplyZoomIn(g);
  layout();
  EXPECT_EQ(g.zoom, 512);
  ExpectRect(g.picture, {0, 0, 640, 360});
  ExpectRect(g.source, {320, 180, 960, 540});  // the middle half
  EXPECT_EQ(g.zoomCentre.x, 640);
  EXPECT_EQ(g.zoomCentre.y, 360);
  struct Step {
    DisplayPoint drag;
    int zoom;  // 0: no change, 1: in, -1: out
    DisplayRect source;
  };
  const Step steps[] = {
      {{100, 0}, 0, {220, 180, 860, 540}},           // drag right moves the region left
      {{5000, 5000}, 0, {0, 0, 640, 360}},           // never past the top left
      {{-50000, -50000}, 0, {640, 360, 1280, 720}},  // nor past the bottom right
      {{120, 180}, 0, {520, 180, 1160, 540}},
      {{0, 0}, 1, {627, 240, 1053, 480}},  // 3x: width 426 about the shown centre 840
      {{0, 0}, -1, {520, 180, 1160, 540}},
      {{0, 0}, -1, {0, 0, 1280, 720}},  // back to 1x: the whole picture
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.source.left);
    g.drag = s.drag;
    if (s.zoom > 0) CDisplayGeometry::ApplyZoomIn(g);
    if (s.zoom < 0) CDisplayGeometry::ApplyZoomOut(g);
    layout();
    ExpectRect(g.source, s.source);
    EXPECT_EQ(g.drag.x, 0);
  }
  ExpectRect(g.picture, {0, 0, 640, 360});
}

TEST(DisplayGeometry, LetterboxTallPictureAndStretch) {
  ViewGeometry g;
  CDisplayGeometry::LayoutFrame(g, {0, 0, 640, 480}, 1280, 720, false);
  ExpectRect(g.picture, {0, 60, 640, 420});
  CDisplayGeometry::ApplyZoomIn(g);
  CDisplayGeometry::LayoutFrame(g, {0, 0, 640, 480}, 1280, 720, false);
  // The fitted 640 x 360 doubled about its centre, clipped to the 640 x 480 view.
  ExpectRect(g.picture, {0, 0, 640, 480});
  ExpectRect(g.source, {320, 120, 960, 600});
  ViewGeometry tall;
  CDisplayGeometry::LayoutFrame(tall, {0, 0, 640, 360}, 1920, 1088, false);
  ExpectRect(tall.source, {0, 0, 1920, 1088});
  ViewGeometry stretched;
  CDisplayGeometry::LayoutFrame(stretched, {0, 0, 640, 480}, 1280, 720, true);
  ExpectRect(stretched.picture, {0, 0, 640, 480});
}

TEST(DisplayGeometry, InsetMarginsAndSide) {
  struct Row {
    DisplayRect picture;
    int side;
    DisplayRect want;
  };
  // Margins 20 and size a quarter on a 768 x 432 picture, scaled to the picture:
  // 640 x 360 gives margins 640*20/768 = 16 and 360*20/432 = 16, 160 x 90.
  const Row rows[] = {{{0, 0, 768, 432}, 1, {556, 20, 748, 128}},
                      {{0, 0, 768, 432}, 0, {20, 20, 212, 128}},
                      {{100, 50, 740, 410}, 1, {564, 66, 724, 156}},
                      {{100, 50, 740, 410}, 0, {116, 66, 276, 156}},
                      {{0, 0, 0, 0}, 1, {0, 0, 0, 0}}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.picture.left * 10 + row.side);
    ExpectRect(CDisplayGeometry::InsetRect(row.picture, row.side), row.want);
  }
}

TEST(DisplayGeometry, CaptionAndZoomLabelPlaces) {
  struct Row {
    DisplayRect picture;
    int font, zoom;
    bool video, inset;
    int side;
    int captionFont, captionX, captionY;
    bool captionRight;
    const char* label;  // nullptr: no zoom label
    int labelFont, labelX, labelY;
    bool labelRight;
  };
  // Sizes scale with the picture height: the caption font by H/720, the label
  // font by H/1080, the margin is 15 at 720 rows (7 at 360).
  const Row rows[] = {
      // Not zoomed: caption at the top left, no label.
      {{0, 0, 1280, 720}, 30, 256, true, true, 1, 30, 15, 15, false, nullptr, 0, 0, 0, false},
      // Inset on the left: the caption moves right, the label sits in the inset
      // (at 1280*20/768 + 15, 720*20/432 + 15).
      {{0, 0, 1280, 720}, 30, 1536, true, true, 0, 30, 1265, 15, true, "6X", 20, 48, 48, false},
      // No inset: the label at the top right.
      {{0, 0, 640, 360}, 24, 3072, true, false, 0, 12, 7, 7, false, "12X", 8, 633, 7, true},
      // A still image never shows the label.
      {{0, 0, 640, 360}, 24, 3072, false, false, 0, 12, 7, 7, false, nullptr, 0, 0, 0, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.zoom * 10 + row.video);
    const CaptionLayout c = CDisplayGeometry::LayoutCaption(
        row.picture, row.font, "Front", row.video, row.zoom, row.inset, row.side);
    EXPECT_TRUE(c.caption.visible);
    EXPECT_EQ(c.caption.text, "Front");
    EXPECT_EQ(c.caption.fontHeight, row.captionFont);
    EXPECT_EQ(c.caption.x, row.captionX);
    EXPECT_EQ(c.caption.y, row.captionY);
    EXPECT_EQ(c.caption.rightAligned, row.captionRight);
    ASSERT_EQ(c.zoomLabel.visible, row.label != nullptr);
    if (row.label == nullptr) continue;
    EXPECT_EQ(c.zoomLabel.text, row.label);
    EXPECT_EQ(c.zoomLabel.fontHeight, row.labelFont);
    EXPECT_EQ(c.zoomLabel.x, row.labelX);
    EXPECT_EQ(c.zoomLabel.y, row.labelY);
    EXPECT_EQ(c.zoomLabel.rightAligned, row.labelRight);
  }
}

}  // namespace
}  // namespace lumora
