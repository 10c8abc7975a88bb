#include <gtest/gtest.h>

#include "app/AppIds.h"
#include "app/MainLayout.h"
#include "app/PlaybackRules.h"
#include "app/SmartIndicator.h"

namespace lumora {
namespace {

TEST(MainLayout, NormalModePlacesPanesByPlacement) {
  PaneLayout layout = MainLayout::LayPanes(kModeNormal, kPaneLarge, kPaneSmall, 2, 1020, 720);
  EXPECT_EQ(layout.front, (PaneGeometry{true, {16, 37, 640, 360}}));
  EXPECT_EQ(layout.rear, (PaneGeometry{true, {684, 37, 320, 240}}));
  layout = MainLayout::LayPanes(kModeNormal, kPaneSmall, kPaneLarge, 2, 1020, 720);
  EXPECT_EQ(layout.front.rect, MainLayout::kSmallPane);
  EXPECT_EQ(layout.rear.rect, MainLayout::kLargePane);
  layout = MainLayout::LayPanes(kModeNormal, kPaneHidden, kPaneSmall, 2, 1020, 720);
  EXPECT_FALSE(layout.front.visible);
  EXPECT_TRUE(layout.rear.visible);
}

TEST(MainLayout, RearPaneOnlyWithARearChannel) {
  for (int channels : {-1, 0, 1}) {
    const PaneLayout layout =
        MainLayout::LayPanes(kModeNormal, kPaneLarge, kPaneSmall, channels, 1020, 720);
    EXPECT_TRUE(layout.front.visible);
    EXPECT_FALSE(layout.rear.visible) << channels;
  }
}

TEST(MainLayout, EnlargedModeFillsClientLessMargins) {
  const PaneLayout layout =
      MainLayout::LayPanes(kModeEnlarged, kPaneLarge, kPaneSmall, 2, 1920, 1080);
  EXPECT_EQ(layout.front, (PaneGeometry{true, {18, 50, 1920 - 36, 1080 - 129}}));
  EXPECT_FALSE(layout.rear.visible);
  const PaneLayout swapped =
      MainLayout::LayPanes(kModeEnlarged, kPaneSmall, kPaneLarge, 2, 1920, 1080);
  EXPECT_FALSE(swapped.front.visible);
  EXPECT_TRUE(swapped.rear.visible);
  EXPECT_EQ(MainLayout::EnlargedVideoRect(20, 100), (LayoutRect{18, 50, 0, 0}));
}

TEST(MainLayout, MapSizeCaptionFollowsMapState) {
  EXPECT_EQ(MainLayout::MapSizeCaption(1), "지도 작게보기");
  for (int state : {0, 2, 4}) EXPECT_EQ(MainLayout::MapSizeCaption(state), "지도 크게보기");
}

TEST(MainLayout, ProgressStripInBothModes) {
  EXPECT_TRUE(MainLayout::InProgressStrip(kModeNormal, 720, 105, 415));
  EXPECT_TRUE(MainLayout::InProgressStrip(kModeNormal, 720, 642, 445));
  EXPECT_FALSE(MainLayout::InProgressStrip(kModeNormal, 720, 104, 430));
  EXPECT_FALSE(MainLayout::InProgressStrip(kModeNormal, 720, 643, 430));
  EXPECT_FALSE(MainLayout::InProgressStrip(kModeNormal, 720, 300, 446));
  EXPECT_TRUE(MainLayout::InProgressStrip(kModeEnlarged, 1000, 25, 930));
  EXPECT_TRUE(MainLayout::InProgressStrip(kModeEnlarged, 1000, 562, 950));
  EXPECT_FALSE(MainLayout::InProgressStrip(kModeEnlarged, 1000, 300, 951));
  EXPECT_FALSE(MainLayout::InProgressStrip(kModeEnlarged, 1000, 300, 430));
}

TEST(MainLayout, StripTargetIsProportional) {
  EXPECT_EQ(MainLayout::StripTarget(60000, kModeNormal, 105), 0);
  EXPECT_EQ(MainLayout::StripTarget(60000, kModeNormal, 642), 60000);
  EXPECT_EQ(MainLayout::StripTarget(60000, kModeNormal, 105 + 537 / 2), 60000LL * 268 / 537);
  EXPECT_EQ(MainLayout::StripTarget(1000, kModeEnlarged, 25 + 537), 1000);
  // 64-bit arithmetic: a long recording does not overflow.
  EXPECT_EQ(MainLayout::StripTarget(4'000'000'000LL, kModeNormal, 642), 4'000'000'000LL);
}

TEST(MainLayout, DragStripOnlyInNormalModeOutsideTheSeekBar) {
  EXPECT_TRUE(MainLayout::InDragStrip(kModeNormal, 720, 0, 0));
  EXPECT_TRUE(MainLayout::InDragStrip(kModeNormal, 720, 1023, 32));
  EXPECT_FALSE(MainLayout::InDragStrip(kModeNormal, 720, 1024, 10));
  EXPECT_FALSE(MainLayout::InDragStrip(kModeNormal, 720, 10, 33));
  EXPECT_FALSE(MainLayout::InDragStrip(kModeEnlarged, 720, 10, 10));
}

TEST(ControlPlaces, NormalModeKeepsFixedSlidersAndMovesTransportInMode2) {
  LayoutRect rect;
  ASSERT_TRUE(ControlPlaces::Place(kIdSeekSlider, kModeNormal, 1020, 720, &rect));
  EXPECT_EQ(rect, MainLayout::kSeekSlider);
  ASSERT_TRUE(ControlPlaces::Place(kIdVolumeSlider, kModeNormal, 1020, 720, &rect));
  EXPECT_EQ(rect, MainLayout::kVolumeSlider);
  ASSERT_TRUE(ControlPlaces::Place(kIdSeekSlider, kModeEnlarged, 1920, 1000, &rect));
  const LayoutRect strip = MainLayout::ProgressStrip(kModeEnlarged, 1000);
  EXPECT_EQ(rect.x, strip.x);
  EXPECT_GE(rect.y, strip.y);
  ASSERT_TRUE(ControlPlaces::Place(kIdPlay, kModeEnlarged, 1920, 1000, &rect));
  EXPECT_LE(rect.Bottom(), 1000);
  EXPECT_FALSE(ControlPlaces::Place(kIdSdOpen, kModeEnlarged, 1920, 1000, &rect));
  ASSERT_TRUE(ControlPlaces::Place(kIdExit, kModeEnlarged, 1920, 1000, &rect));
  EXPECT_LE(rect.Right(), 1920);
  EXPECT_FALSE(ControlPlaces::Place(9999, kModeNormal, 1020, 720, &rect));
}

TEST(ControlPlaces, NoTwoVisibleControlsOverlapInNormalMode) {
  const int ids[] = {kIdSettings,
                     kIdWindowSize,
                     kIdMinimise,
                     kIdExit,
                     kIdFileNameLabel,
                     kIdPositionLabel,
                     kIdSeekSlider,
                     kIdDurationLabel,
                     kIdMute,
                     kIdVolumeSlider,
                     kIdPrevious,
                     kIdPlay,
                     kIdStop,
                     kIdNext,
                     kIdStepBack,
                     kIdStepForward,
                     kIdSpeed,
                     kIdFullScreen,
                     kIdChangeScreen,
                     kIdZoomIn,
                     kIdZoomOut,
                     kIdSdOpen,
                     kIdOpen,
                     kIdList,
                     kIdGraph,
                     kIdGraphMode,
                     kIdSetup,
                     kIdDownload,
                     kIdPrint,
                     kIdInfo,
                     kIdFormat,
                     kIdDit,
                     kIdMark,
                     kIdDitSetup,
                     kIdMapToggle,
                     kIdAccelGraph,
                     kIdVideoRecovery,
                     kIdSmart,
                     kIdFps,
                     kIdCapture,
                     kIdFrontRearSwitch,
                     kIdLayoutMapCheck,
                     kIdLayoutVideoCheck,
                     kIdMapSize,
                     kIdListToggle};
  std::vector<LayoutRect> rects;
  for (int id : ids) {
    LayoutRect rect;
    ASSERT_TRUE(ControlPlaces::Place(id, kModeNormal, 1020, 720, &rect)) << id;
    EXPECT_LE(rect.Right(), 1020) << id;
    EXPECT_LE(rect.Bottom(), 720) << id;
    rects.push_back(rect);
  }
  for (std::size_t i = 0; i < rects.size(); ++i) {
    for (std::size_t j = i + 1; j < rects.size(); ++j) {
      const LayoutRect& a = rects[i];
      const LayoutRect& b = rects[j];
      const bool overlap =
          a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
      EXPECT_FALSE(overlap) << ids[i] << " and " << ids[j];
    }
  }
}

TEST(PlaybackRules, TimeTextAndVolumeWord) {
  EXPECT_EQ(PlaybackRules::TimeText(0), "00:00:00");
  EXPECT_EQ(PlaybackRules::TimeText(59999), "00:00:59");
  EXPECT_EQ(PlaybackRules::TimeText(3723000), "01:02:03");
  EXPECT_EQ(PlaybackRules::TimeText(-5), "00:00:00");
  EXPECT_EQ(PlaybackRules::VolumeWord(50), 0x7FFF7FFFu);
  EXPECT_EQ(PlaybackRules::VolumeWord(0), 0u);
  EXPECT_EQ(PlaybackRules::VolumeWord(1), 655u + (655u << 16));
  EXPECT_EQ(PlaybackRules::VolumeWord(99), 64879u + (64879u << 16));
  EXPECT_EQ(PlaybackRules::NextSpeed(1), 2);
  EXPECT_EQ(PlaybackRules::NextSpeed(2), 1);
}

TEST(PlaybackRules, RowLookupAndMapCall) {
  EXPECT_EQ(PlaybackRules::RowAt(30000, 60000, 600), 300);
  EXPECT_EQ(PlaybackRules::RowAt(59999, 60000, 600), 599);
  EXPECT_EQ(PlaybackRules::RowAt(100, 0, 600), 0);
  EXPECT_EQ(PlaybackRules::RowAt(100, 60000, 0), 0);
  EXPECT_EQ(PlaybackRules::DrawCurrentCall(139.774494, 35.684066),
            "javascript:DrawCurrent('139.774494', '35.684066')");
  EXPECT_FALSE(PlaybackRules::UsableRecordCount(0));
  EXPECT_TRUE(PlaybackRules::UsableRecordCount(1));
  EXPECT_TRUE(PlaybackRules::UsableRecordCount(17999));
  EXPECT_FALSE(PlaybackRules::UsableRecordCount(18000));
}

std::vector<std::uint16_t> Row(std::initializer_list<std::pair<int, int>> words) {
  std::vector<std::uint16_t> row(SmartIndicator::kWordCount, 0);
  for (auto [index, value] : words) row[index] = static_cast<std::uint16_t>(value);
  return row;
}

TEST(SmartIndicator, GroupsSelectTheBitmap) {
  std::vector<std::vector<std::uint16_t>> rows;
  auto source = [&rows](int r) -> const std::uint16_t* {
    return r >= 0 && r < static_cast<int>(rows.size()) ? rows[r].data() : nullptr;
  };
  SmartIndicator indicator;
  rows = {Row({})};
  EXPECT_EQ(indicator.Refresh(source, 0, 1, 0, false).bitmap, 448);
  rows = {Row({{4, 1}, {5, 1}, {9, 2}})};
  EXPECT_EQ(indicator.Refresh(source, 0, 1, 0, false).bitmap, 453);
  rows = {Row({{4, 1}, {5, 1}, {7, 3}})};  // second group warns: (1, 2)
  EXPECT_EQ(indicator.Refresh(source, 0, 1, 0, false).bitmap, 454);
  rows = {Row({{4, 1}, {6, 1}, {5, 1}, {9, 1}})};  // (2, 1), t = 1
  EXPECT_EQ(indicator.Refresh(source, 0, 1, 0, false).bitmap, 458);
  // (2, 2) has no bitmap: the one shown before stays.
  rows = {Row({{4, 1}, {6, 1}, {5, 1}, {7, 1}})};
  EXPECT_EQ(indicator.Refresh(source, 0, 1, 0, false).bitmap, 458);
  // Word 2 set keeps the first group at state 1.
  rows = {Row({{4, 1}, {6, 1}, {2, 1}, {5, 1}})};
  EXPECT_EQ(indicator.Refresh(source, 0, 1, 0, false).bitmap, 451);
  // Word 9 values other than 1 and 2 count as off.
  rows = {Row({{9, 3}})};
  EXPECT_EQ(indicator.Refresh(source, 0, 1, 0, false).bitmap, 448);
}

TEST(SmartIndicator, EventAlertDrawsSixTimesAfterTheLastMarker) {
  std::vector<std::vector<std::uint16_t>> rows(20, Row({}));
  rows[10] = Row({{12, 2}});
  auto source = [&rows](int r) -> const std::uint16_t* {
    return r >= 0 && r < static_cast<int>(rows.size()) ? rows[r].data() : nullptr;
  };
  SmartIndicator indicator;
  EXPECT_FALSE(indicator.Refresh(source, 3, 20, 0, false).drawAlert);
  // Rows 7..12 see the marker (i - 3 .. i + 2 includes 10).
  EXPECT_FALSE(indicator.Refresh(source, 6, 20, 0, false).drawAlert);
  EXPECT_TRUE(indicator.Refresh(source, 8, 20, 0, false).drawAlert);
  // Away from the marker the alert keeps drawing until six draws are done.
  int draws = 0;
  for (int i = 0; i < 10; ++i) draws += indicator.Refresh(source, 17, 20, 0, false).drawAlert;
  EXPECT_EQ(draws, 5);
  EXPECT_FALSE(indicator.Refresh(source, 14, 20, 0, false).drawAlert);
  EXPECT_TRUE(indicator.Refresh(source, 12, 20, 0, false).drawAlert);
}

TEST(SmartIndicator, SpeedTextInBothUnits) {
  SmartIndicator indicator;
  const SmartFrame kmh = indicator.Refresh(nullptr, 0, 0, 88, false);
  EXPECT_EQ(kmh.speedText, " 88");
  EXPECT_EQ(kmh.unitText, "km/h");
  const SmartFrame mph = indicator.Refresh(nullptr, 0, 0, 100, true);
  EXPECT_EQ(mph.speedText, " 62");
  EXPECT_EQ(mph.unitText, "mph");
  EXPECT_EQ(indicator.Refresh(nullptr, 0, 0, 7, false).speedText, "  7");
}

}  // namespace
}  // namespace lumora
