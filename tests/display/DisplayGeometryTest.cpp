#include "display/CDisplayGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

void ExpectRect(const DisplayRect& r, int l, int t, int rr, int b) {
  EXPECT_EQ(r.left, l);
  EXPECT_EQ(r.top, t);
  EXPECT_EQ(r.right, rr);
  EXPECT_EQ(r.bottom, b);
}

TEST(DisplayGeometry, WideInNarrowViewGetsEqualBarsAboveAndBelow) {
  const DisplayRect r = CDisplayGeometry::FitRect({0, 0, 640, 480}, 1280, 720);
  ExpectRect(r, 0, 60, 640, 420);
  EXPECT_EQ(r.top - 0, 480 - r.bottom);
}

TEST(DisplayGeometry, NarrowInWideViewGetsEqualBarsLeftAndRight) {
  const DisplayRect r = CDisplayGeometry::FitRect({10, 0, 650, 360}, 640, 480);
  ExpectRect(r, 90, 0, 570, 360);
}

TEST(DisplayGeometry, EqualAspectFillsTheView) {
  ExpectRect(CDisplayGeometry::FitRect({0, 0, 640, 360}, 1920, 1080), 0, 0, 640, 360);
  ExpectRect(CDisplayGeometry::FitRect({0, 0, 633, 354}, 633, 354), 0, 0, 633, 354);
}

TEST(DisplayGeometry, FitUsesIntegerArithmetic) {
  // 633 x 354 view, 1920 x 1080 picture: 633*1080/354 = 1931 > 1920, so the
  // picture is narrower: bars of (633 - 354*1920/1080)/2 = (633 - 629)/2 = 2.
  const DisplayRect r = CDisplayGeometry::FitRect({0, 0, 633, 354}, 1920, 1080);
  ExpectRect(r, 2, 0, 631, 354);
  // A degenerate view or picture leaves the view as it is.
  ExpectRect(CDisplayGeometry::FitRect({0, 0, 0, 0}, 640, 360), 0, 0, 0, 0);
  ExpectRect(CDisplayGeometry::FitRect({0, 0, 100, 50}, 0, 360), 0, 0, 100, 50);
}

TEST(DisplayGeometry, ZoomTableBothWaysWithClamps) {
  const std::vector<int> in = {256, 512, 768, 1024, 1536, 2048, 3072, 4096};
  const std::vector<int> afterIn = {512, 768, 1024, 1536, 2048, 3072, 4096, 4096};
  const std::vector<int> afterOut = {256, 256, 512, 768, 1024, 1536, 2048, 3072};
  for (std::size_t i = 0; i < in.size(); ++i) {
    EXPECT_EQ(CDisplayGeometry::ZoomInStep(in[i]), afterIn[i]) << in[i];
    EXPECT_EQ(CDisplayGeometry::ZoomOutStep(in[i]), afterOut[i]) << in[i];
  }
  EXPECT_EQ(CDisplayGeometry::ZoomInStep(100000), 4096);
  EXPECT_EQ(CDisplayGeometry::ZoomOutStep(100000), 4096);
  EXPECT_EQ(CDisplayGeometry::ZoomOutStep(0), 256);
  EXPECT_EQ(CDisplayGeometry::ZoomInStep(300), 512);
  EXPECT_EQ(CDisplayGeometry::ZoomOutStep(300), 256);
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

class ZoomedLayout : public ::testing::Test {
 protected:
  void SetUp() override {
    CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false);
    ExpectRect(g.picture, 0, 0, 640, 360);
    ExpectRect(g.source, 0, 0, 1280, 720);
    CDisplayGeometry::ApplyZoomIn(g);
    CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false);
  }
  ViewGeometry g;
  DisplayRect client{0, 0, 640, 360};
};

TEST_F(ZoomedLayout, TwoTimesShowsTheMiddleHalf) {
  EXPECT_EQ(g.zoom, 512);
  ExpectRect(g.picture, 0, 0, 640, 360);
  ExpectRect(g.source, 320, 180, 960, 540);
  EXPECT_EQ(g.zoomCentre.x, 640);
  EXPECT_EQ(g.zoomCentre.y, 360);
}

TEST_F(ZoomedLayout, DragRightMovesTheRegionLeft) {
  g.drag = {100, 0};
  CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false);
  // 100 client pixels over an enlarged width of 1280 for a 1280 frame.
  ExpectRect(g.source, 220, 180, 860, 540);
  EXPECT_EQ(g.drag.x, 0);
}

TEST_F(ZoomedLayout, RegionNeverLeavesTheFrame) {
  g.drag = {5000, 5000};
  CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false);
  ExpectRect(g.source, 0, 0, 640, 360);
  g.drag = {-50000, -50000};
  CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false);
  ExpectRect(g.source, 640, 360, 1280, 720);
}

TEST_F(ZoomedLayout, ZoomingFurtherKeepsTheCentreOfWhatIsShown) {
  g.drag = {-200, 0};
  CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false);
  ExpectRect(g.source, 520, 180, 1160, 540);
  CDisplayGeometry::ApplyZoomIn(g);  // 768: three times
  CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false);
  EXPECT_EQ(g.zoom, 768);
  // Source width 640*1280/1920 = 426, centred on 840 (= 520 + 640*320/640).
  ExpectRect(g.source, 627, 240, 1053, 480);
}

TEST_F(ZoomedLayout, ZoomOutToOneShowsTheWholePictureAgain) {
  CDisplayGeometry::ApplyZoomOut(g);
  CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false);
  EXPECT_EQ(g.zoom, 256);
  ExpectRect(g.source, 0, 0, 1280, 720);
  ExpectRect(g.picture, 0, 0, 640, 360);
}

TEST(DisplayGeometry, LetterboxedZoomClipsToTheView) {
  ViewGeometry g;
  const DisplayRect client{0, 0, 640, 480};
  CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false);
  ExpectRect(g.picture, 0, 60, 640, 420);
  CDisplayGeometry::ApplyZoomIn(g);
  CDisplayGeometry::LayoutFrame(g, client, 1280, 720, false);
  // The fitted 640 x 360 doubled about its centre, clipped to the 640 x 480 view.
  ExpectRect(g.picture, 0, 0, 640, 480);
  EXPECT_EQ(g.source.Width(), 640 * 1280 / 1280);
  EXPECT_EQ(g.source.Height(), 480 * 720 / 720);
}

TEST(DisplayGeometry, TallPictureKeepsItsFullHeightInTheSource) {
  ViewGeometry g;
  CDisplayGeometry::LayoutFrame(g, {0, 0, 640, 360}, 1920, 1088, false);
  ExpectRect(g.source, 0, 0, 1920, 1088);
}

TEST(DisplayGeometry, StretchFillsTheView) {
  ViewGeometry g;
  CDisplayGeometry::LayoutFrame(g, {0, 0, 640, 480}, 1280, 720, true);
  ExpectRect(g.picture, 0, 0, 640, 480);
}

TEST(DisplayGeometry, InsetMarginsAndSide) {
  const DisplayRect picture{0, 0, 768, 432};
  ExpectRect(CDisplayGeometry::InsetRect(picture, 1), 556, 20, 748, 128);
  ExpectRect(CDisplayGeometry::InsetRect(picture, 0), 20, 20, 212, 128);
  const DisplayRect moved{100, 50, 740, 410};  // 640 x 360
  // margin x = 640*20/768 = 16, margin y = 360*20/432 = 16, 160 x 90.
  ExpectRect(CDisplayGeometry::InsetRect(moved, 1), 564, 66, 724, 156);
  ExpectRect(CDisplayGeometry::InsetRect(moved, 0), 116, 66, 276, 156);
  ExpectRect(CDisplayGeometry::InsetRect({0, 0, 0, 0}, 1), 0, 0, 0, 0);
}

TEST(DisplayGeometry, CaptionAtTopLeftWhenNotZoomed) {
  const CaptionLayout c =
      CDisplayGeometry::LayoutCaption({0, 0, 1280, 720}, 30, "Front", true, 256, true, 1);
  EXPECT_TRUE(c.caption.visible);
  EXPECT_EQ(c.caption.text, "Front");
  EXPECT_EQ(c.caption.x, 15);
  EXPECT_EQ(c.caption.y, 15);
  EXPECT_FALSE(c.caption.rightAligned);
  EXPECT_EQ(c.caption.fontHeight, 30);
  EXPECT_FALSE(c.zoomLabel.visible);
}

TEST(DisplayGeometry, CaptionMovesRightWhenTheInsetIsOnTheLeft) {
  const DisplayRect picture{0, 0, 1280, 720};
  const CaptionLayout c =
      CDisplayGeometry::LayoutCaption(picture, 30, "Front", true, 1536, true, 0);
  EXPECT_TRUE(c.caption.rightAligned);
  EXPECT_EQ(c.caption.x, 1265);
  ASSERT_TRUE(c.zoomLabel.visible);
  EXPECT_EQ(c.zoomLabel.text, "6X");
  EXPECT_EQ(c.zoomLabel.fontHeight, 20);
  const DisplayRect inset = CDisplayGeometry::InsetRect(picture, 0);
  EXPECT_EQ(c.zoomLabel.x, inset.left + 15);
  EXPECT_EQ(c.zoomLabel.y, inset.top + 15);
  EXPECT_FALSE(c.zoomLabel.rightAligned);
}

TEST(DisplayGeometry, ZoomLabelTopRightWithoutInset) {
  const CaptionLayout c =
      CDisplayGeometry::LayoutCaption({0, 0, 640, 360}, 24, "", true, 3072, false, 0);
  EXPECT_FALSE(c.caption.rightAligned);
  ASSERT_TRUE(c.zoomLabel.visible);
  EXPECT_EQ(c.zoomLabel.text, "12X");
  EXPECT_TRUE(c.zoomLabel.rightAligned);
  EXPECT_EQ(c.zoomLabel.x, 640 - 7);
  EXPECT_EQ(c.zoomLabel.y, 7);
  // A still image never shows the zoom label.
  EXPECT_FALSE(CDisplayGeometry::LayoutCaption({0, 0, 640, 360}, 24, "", false, 3072, false, 0)
                   .zoomLabel.visible);
}

}  // namespace
}  // namespace lumora
