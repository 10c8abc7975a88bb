#include "display/CScrollAxis.h"
#include "display/CVideoViewPlacement.h"

#include <gtest/gtest.h>

namespace lumora {
namespace {

TEST(ScrollAxis, LinePageAndThumbSteps) {
  CScrollAxis a;
  a.SetRange(0, 400);
  a.SetPage(360);  // at most 40
  EXPECT_EQ(a.Scroll(CScrollAxis::kLineDown), 1);
  EXPECT_EQ(a.Scroll(CScrollAxis::kPageDown), 20);
  EXPECT_EQ(a.Position(), 21);
  EXPECT_EQ(a.Scroll(CScrollAxis::kLineUp), -1);
  EXPECT_EQ(a.Scroll(CScrollAxis::kPageUp), -20);
  EXPECT_EQ(a.Position(), 0);
  EXPECT_EQ(a.Scroll(CScrollAxis::kPageUp), 0);
  EXPECT_EQ(a.Scroll(CScrollAxis::kThumbTrack, 30), 30);
  EXPECT_EQ(a.Scroll(CScrollAxis::kThumbPosition, 12), -18);
  EXPECT_EQ(a.Position(), 12);
  EXPECT_EQ(a.Scroll(99), 0);
}

TEST(ScrollAxis, PageDownAtTheEndStopsAtRangeMinusPage) {
  CScrollAxis a;
  a.SetRange(0, 400);
  a.SetPage(360);
  a.Scroll(CScrollAxis::kPageDown);
  a.Scroll(CScrollAxis::kPageDown);
  EXPECT_EQ(a.Position(), 40);
  EXPECT_EQ(a.Scroll(CScrollAxis::kPageDown), 0);
  EXPECT_EQ(a.Position(), 40);
  EXPECT_EQ(a.Scroll(CScrollAxis::kThumbTrack, 1000), 0);
}

TEST(ScrollAxis, WheelNotchesScrollTwenty) {
  CScrollAxis a;
  a.SetRange(0, 1000);
  a.SetPage(100);
  EXPECT_EQ(a.Wheel(-120), 20);
  EXPECT_EQ(a.Wheel(-120), 20);
  EXPECT_EQ(a.Wheel(120), -20);
  EXPECT_EQ(a.Position(), 20);
  EXPECT_EQ(a.Wheel(240), 0);
  EXPECT_EQ(a.Wheel(-60), 0);
  EXPECT_EQ(a.Position(), 20);
}

TEST(ScrollAxis, NothingToScrollWhenThePageCoversTheRange) {
  CScrollAxis a;
  a.SetRange(0, 360);
  a.SetPage(360);
  EXPECT_EQ(a.Wheel(-120), 0);
  EXPECT_EQ(a.Scroll(CScrollAxis::kPageDown), 0);
  EXPECT_EQ(a.Position(), 0);
}

TEST(VideoViewPlacement, ZoomLevelOneFillsTheArea) {
  const DisplayRect r = CVideoViewPlacement::Place(640, 360, 1, {0, 0, 640, 360}, {50, -30});
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.Width(), 640);
  EXPECT_EQ(r.Height(), 360);
}

TEST(VideoViewPlacement, LargerLevelsFollowTheDragButCoverTheArea) {
  // Level 3: twice the client size.
  DisplayRect r = CVideoViewPlacement::Place(640, 360, 3, {0, 0, 1280, 720}, {-100, -50});
  EXPECT_EQ(r.left, -100);
  EXPECT_EQ(r.top, -50);
  EXPECT_EQ(r.Width(), 1280);
  r = CVideoViewPlacement::Place(640, 360, 3, r, {-5000, 5000});
  EXPECT_EQ(r.left, -640);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.bottom, 720);
}

}  // namespace
}  // namespace lumora
