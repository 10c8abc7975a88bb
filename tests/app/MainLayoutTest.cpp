#include <gtest/gtest.h>

#include "app/AppIds.h"
#include "app/MainLayout.h"
#include "app/PlaybackRules.h"
#include "app/SeekQueue.h"
#include "app/SmartIndicator.h"
#include "display/DataPanelRules.h"

#include <iterator>
#include <string>
#include <tuple>
#include <vector>

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

bool Overlap(const LayoutRect& a, const LayoutRect& b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

bool Inside(const LayoutRect& inner, const LayoutRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

// What the window draws in mode 1 besides its controls: the two video panes,
// the data panel's gauge faces, text block, graph strip with its axis labels,
// and the map.
std::vector<std::pair<const char*, LayoutRect>> DrawnAreas() {
  using R = DataPanelRules;
  return {
      {"large pane", MainLayout::kLargePane},
      {"small pane", MainLayout::kSmallPane},
      {"speedometer", {R::kSpeedFaceX, R::kSpeedFaceY, R::kSpeedFaceWidth, R::kSpeedFaceHeight}},
      {"heading",
       {R::kHeadingFaceX, R::kHeadingFaceY, R::kHeadingFaceWidth, R::kHeadingFaceHeight}},
      {"text block",
       {R::kTextLeft, R::kLabelY, R::kTextRight - R::kTextLeft,
        R::kLongitudeY + R::kTextLineHeight - R::kLabelY}},
      {"graph strip", {R::kCopyTargetX, R::kCopyTargetY, R::kCopyWidth, R::kCopyHeight}},
      // Five right-aligned labels in (216, 575 + 18 i, 255, 615 + 18 i).
      {"axis labels", {216, 575, 255 - 216, 615 + 18 * 4 - 575}},
      {"map", MainLayout::kMapShown},
  };
}

const int kTransportIds[] = {kIdPrevious,     kIdPlay,        kIdStop,   kIdNext,
                             kIdStepBack,     kIdStepForward, kIdSpeed,  kIdFullScreen,
                             kIdChangeScreen, kIdZoomIn,      kIdZoomOut};

TEST(ControlPlaces, EveryCommandButtonHasAPlaceInNormalMode) {
  // Every button of the command table that does something is reachable; the
  // buttons without an action (FPS, capture), the check boxes 1110/1111, the
  // compact layout's category buttons, the second thumbnail button (the same
  // page as 1155) and the previous-size button of mode 2 have none.
  const int placed[] = {kIdMinimise,      kIdExit,           kIdPrevious,
                        kIdPlay,          kIdStop,           kIdNext,
                        kIdStepBack,      kIdStepForward,    kIdSdOpen,
                        kIdSettings,      kIdFullScreen,     kIdGraphMode,
                        kIdMute,          kIdChangeScreen,   kIdFrontRearSwitch,
                        kIdAccelGraph,    kIdLayoutMapCheck, kIdLayoutVideoCheck,
                        kIdMapSize,       kIdZoomIn,         kIdVideoRecovery,
                        kIdWindowSize,    kIdListToggle,     kIdOpen,
                        kIdSetup,         kIdGraph,          kIdDownload,
                        kIdPrint,         kIdInfo,           kIdZoomOut,
                        kIdList,          kIdFormat,         kIdSmart,
                        kIdMapToggle,     kIdSpeed,          kIdDit,
                        kIdMark,          kIdDitSetup,       kIdSeekSlider,
                        kIdVolumeSlider,  kIdPositionLabel,  kIdDurationLabel,
                        kIdFileNameLabel, kIdThumbList,      kIdThumbNext,
                        kIdThumbPrevious, kIdExport,         kIdSnapshot,
                        kIdStatusLine};
  LayoutRect rect;
  for (int id : placed) {
    EXPECT_TRUE(ControlPlaces::Place(id, kModeNormal, 1020, 760, &rect)) << id;
  }
  for (int id : {kIdFps, kIdCapture, kIdCheck1110, kIdCheck1111, kIdPreviousSize, kIdThumbFile,
                 kIdCategoryEvent, 9999}) {
    EXPECT_FALSE(ControlPlaces::Place(id, kModeNormal, 1020, 760, &rect)) << id;
  }
  EXPECT_EQ(ControlPlaces::All(kModeNormal, 1020, 760).size(), std::size(placed));
}

TEST(ControlPlaces, NormalModeKeepsTheFixedSliders) {
  LayoutRect rect;
  ASSERT_TRUE(ControlPlaces::Place(kIdSeekSlider, kModeNormal, 1020, 760, &rect));
  EXPECT_EQ(rect, MainLayout::kSeekSlider);
  ASSERT_TRUE(ControlPlaces::Place(kIdVolumeSlider, kModeNormal, 1020, 760, &rect));
  EXPECT_EQ(rect, MainLayout::kVolumeSlider);
  ASSERT_TRUE(ControlPlaces::Place(kIdSmart, kModeNormal, 1020, 760, &rect));
  EXPECT_EQ(rect.width, 180);
  EXPECT_EQ(rect.height, 165);
  // The seek slider lies on the strip that seeks when clicked.
  EXPECT_TRUE(Inside(MainLayout::kSeekSlider, MainLayout::ProgressStrip(kModeNormal, 760)));
}

TEST(ControlPlaces, NormalModeCoversNothingTheWindowDrawsAndNoOtherControl) {
  const auto placed =
      ControlPlaces::All(kModeNormal, MainLayout::kClientWidth, MainLayout::kClientHeight);
  ASSERT_GT(placed.size(), 40u);
  const LayoutRect client{0, 0, MainLayout::kClientWidth, MainLayout::kClientHeight};
  const auto areas = DrawnAreas();
  for (const PlacedControl& control : placed) {
    EXPECT_TRUE(Inside(control.rect, client)) << control.id;
    for (const auto& [name, area] : areas)
      EXPECT_FALSE(Overlap(control.rect, area)) << control.id << " covers the " << name;
  }
  for (std::size_t i = 0; i < placed.size(); ++i) {
    for (std::size_t j = i + 1; j < placed.size(); ++j) {
      EXPECT_FALSE(Overlap(placed[i].rect, placed[j].rect))
          << placed[i].id << " and " << placed[j].id;
    }
  }
  // The map reaches y 707; everything fits in the client height.
  EXPECT_GE(MainLayout::kClientHeight, MainLayout::kMapShown.Bottom());
}

TEST(ControlPlaces, TransportButtonsFormOneRowInBothModes) {
  for (auto [mode, w, h] :
       {std::tuple{kModeNormal, 1020, 760}, std::tuple{kModeEnlarged, 1280, 720},
        std::tuple{kModeEnlarged, 1920, 1080}}) {
    LayoutRect first;
    ASSERT_TRUE(ControlPlaces::Place(kTransportIds[0], mode, w, h, &first));
    int lastRight = first.x;
    for (int id : kTransportIds) {
      LayoutRect rect;
      ASSERT_TRUE(ControlPlaces::Place(id, mode, w, h, &rect)) << id;
      EXPECT_EQ(rect.y, first.y) << id;
      EXPECT_GE(rect.x, lastRight) << id;       // left to right, in table order
      EXPECT_LE(rect.x - lastRight, 16) << id;  // and close together
      lastRight = rect.Right();
    }
  }
}

TEST(ControlPlaces, EnlargedModeFitsTheBandUnderTheVideo) {
  for (auto [w, h] :
       {std::pair{1280, 720}, std::pair{1920, 1080}, std::pair{1024, 768}, std::pair{2560, 1440}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const auto placed = ControlPlaces::All(kModeEnlarged, w, h);
    const LayoutRect client{0, 0, w, h};
    const LayoutRect video = MainLayout::EnlargedVideoRect(w, h);
    const LayoutRect band{0, h - MainLayout::kEnlargedBottom, w, MainLayout::kEnlargedBottom};
    EXPECT_EQ(video.Bottom(), band.y);
    for (const PlacedControl& control : placed) {
      EXPECT_TRUE(Inside(control.rect, client)) << control.id;
      EXPECT_FALSE(Overlap(control.rect, video)) << control.id;
    }
    for (std::size_t i = 0; i < placed.size(); ++i) {
      for (std::size_t j = i + 1; j < placed.size(); ++j) {
        EXPECT_FALSE(Overlap(placed[i].rect, placed[j].rect))
            << placed[i].id << " and " << placed[j].id;
      }
    }
    LayoutRect rect;
    // The seek slider lies on the clickable strip x 25..562, y h-70..h-50.
    ASSERT_TRUE(ControlPlaces::Place(kIdSeekSlider, kModeEnlarged, w, h, &rect));
    EXPECT_TRUE(Inside(rect, MainLayout::ProgressStrip(kModeEnlarged, h)));
    // The transport row, the previous-size button and the strip are in the band.
    for (int id : kTransportIds) {
      ASSERT_TRUE(ControlPlaces::Place(id, kModeEnlarged, w, h, &rect)) << id;
      EXPECT_TRUE(Inside(rect, band)) << id;
    }
    for (int id : {kIdSnapshot, kIdExport, kIdPreviousSize}) {
      ASSERT_TRUE(ControlPlaces::Place(id, kModeEnlarged, w, h, &rect)) << id;
      EXPECT_TRUE(Inside(rect, band)) << id;
    }
    EXPECT_GT(rect.x, w / 2);
    // The window buttons sit at the top right, above the video.
    for (int id : {kIdExit, kIdMinimise, kIdWindowSize, kIdSettings}) {
      ASSERT_TRUE(ControlPlaces::Place(id, kModeEnlarged, w, h, &rect)) << id;
      EXPECT_LE(rect.Bottom(), MainLayout::kEnlargedTop) << id;
      EXPECT_GT(rect.x, w - 200) << id;
    }
    ASSERT_TRUE(ControlPlaces::Place(kIdExit, kModeEnlarged, w, h, &rect));
    EXPECT_GE(rect.Right(), w - 16);
    // The card commands, the map buttons and the indicator hide in this mode.
    for (int id : {kIdSdOpen, kIdOpen, kIdMapToggle, kIdSmart, kIdDit, kIdFileNameLabel})
      EXPECT_FALSE(ControlPlaces::Place(id, kModeEnlarged, w, h, &rect)) << id;
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
  // The seek slider's tooltip: the time, or in DIT mode the share of the drive.
  EXPECT_EQ(PlaybackRules::SeekTooltip(false, 23500, 30000), "00:00:23");
  EXPECT_EQ(PlaybackRules::SeekTooltip(true, 150, 600), "25%");
  EXPECT_EQ(PlaybackRules::SeekTooltip(true, 5, 0), "0%");
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

TEST(PlaybackRules, HeldPlayerMovesOnOnlyAtTheEndOfARecording) {
  using Step = PlaybackRules::HeldStep;
  const struct {
    std::int64_t position, duration;
    bool endReached;
    Step step;
  } rows[] = {
      {0, 60000, false, Step::kHold},       // paused while priming, or stepped back to 0:00
      {0, 60000, true, Step::kNext},        // stopped by the end notice
      {1, 60000, false, Step::kFollow},     //
      {59999, 60000, true, Step::kFollow},  //
      {60000, 60000, false, Step::kHold},   // at the end, the notice not yet served
      {60000, 60000, true, Step::kNext},    //
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.position);
    EXPECT_EQ(PlaybackRules::StepWhileHeld(r.position, r.duration, r.endReached), r.step);
  }
  // Wheel: 5 s per notch within 0 .. duration.
  EXPECT_EQ(PlaybackRules::WheelTarget(10000, 60000, 1), 15000);
  EXPECT_EQ(PlaybackRules::WheelTarget(10000, 60000, -3), 0);
  EXPECT_EQ(PlaybackRules::WheelTarget(58000, 60000, 2), 60000);
  EXPECT_EQ(PlaybackRules::WheelTarget(0, -1, 1), 0);
}

TEST(SeekQueue, KeepsOnlyTheNewestTargetWhileOneRuns) {
  SeekQueue q;
  EXPECT_EQ(q.Ask(1000, false), std::optional<std::int64_t>(1000));
  EXPECT_TRUE(q.Busy(true));
  EXPECT_EQ(q.Shown(0, true), 1000);  // the target, not the old position
  EXPECT_EQ(q.Ask(2000, true), std::nullopt);
  EXPECT_EQ(q.Ask(3000, true), std::nullopt);
  EXPECT_EQ(q.Shown(0, true), 3000);
  EXPECT_EQ(q.Next(true), std::nullopt);  // the first still runs
  EXPECT_EQ(q.Next(false), std::optional<std::int64_t>(3000));
  EXPECT_EQ(q.Ask(4000, true), std::nullopt);  // waits behind the running 3000
  EXPECT_EQ(q.Next(false), std::optional<std::int64_t>(4000));
  EXPECT_EQ(q.Next(false), std::nullopt);
  EXPECT_FALSE(q.Busy(false));
  EXPECT_EQ(q.Shown(4321, false), 4321);
  q.Ask(5000, true);
  q.Clear();
  EXPECT_FALSE(q.Busy(true));
  EXPECT_EQ(q.Shown(7, true), 7);
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
