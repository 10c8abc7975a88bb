#include "app/MainLayout.h"

#include "app/AppIds.h"

namespace lumora {

LayoutRect MainLayout::EnlargedVideoRect(int clientWidth, int clientHeight) {
  LayoutRect rect{kEnlargedSide, kEnlargedTop, clientWidth - 2 * kEnlargedSide,
                  clientHeight - kEnlargedTop - kEnlargedBottom};
  if (rect.width < 0) rect.width = 0;
  if (rect.height < 0) rect.height = 0;
  return rect;
}

namespace {

PaneGeometry NormalPane(int placement) {
  if (placement == kPaneLarge) return {true, MainLayout::kLargePane};
  if (placement == kPaneSmall) return {true, MainLayout::kSmallPane};
  return {false, {}};
}

PaneGeometry EnlargedPane(int placement, int clientWidth, int clientHeight) {
  if (placement % 2 == 1) return {true, MainLayout::EnlargedVideoRect(clientWidth, clientHeight)};
  return {false, {}};
}

}  // namespace

PaneLayout MainLayout::LayPanes(int windowMode, int frontPlacement, int rearPlacement,
                                int channelCount, int clientWidth, int clientHeight) {
  PaneLayout layout;
  if (windowMode == kModeEnlarged) {
    layout.front = EnlargedPane(frontPlacement, clientWidth, clientHeight);
    layout.rear = EnlargedPane(rearPlacement, clientWidth, clientHeight);
  } else {
    layout.front = NormalPane(frontPlacement);
    layout.rear = NormalPane(rearPlacement);
  }
  // Without a rear channel there is nothing to show in the rear window.
  if (channelCount < 2) layout.rear = {false, {}};
  return layout;
}

std::string MainLayout::MapSizeCaption(int mapState) {
  return mapState == 1 ? "지도 작게보기" : "지도 크게보기";
}

LayoutRect MainLayout::ProgressStrip(int windowMode, int clientHeight) {
  if (windowMode == kModeEnlarged) return {25, clientHeight - 70, 562 - 25, 20};
  return {105, 415, 642 - 105, 30};
}

bool MainLayout::InProgressStrip(int windowMode, int clientHeight, int x, int y) {
  const LayoutRect strip = ProgressStrip(windowMode, clientHeight);
  return x >= strip.x && x <= strip.Right() && y >= strip.y && y <= strip.Bottom();
}

std::int64_t MainLayout::StripTarget(std::int64_t total, int windowMode, int x) {
  const LayoutRect strip = ProgressStrip(windowMode, 0);
  const std::int64_t offset = static_cast<std::int64_t>(x) - strip.x;
  return total * offset / strip.width;
}

bool MainLayout::InDragStrip(int windowMode, int clientHeight, int x, int y) {
  if (windowMode != kModeNormal) return false;
  if (x < 0 || x >= 1024 || y < 0 || y >= 33) return false;
  return !InProgressStrip(windowMode, clientHeight, x, y);
}

}  // namespace lumora

namespace lumora {
namespace {

struct Place {
  int id;
  LayoutRect rect;
  bool transportRow;  // follows the bottom band in mode 2
};

// Mode-1 places of the skin, 1020 x 720.
constexpr Place kPlaces[] = {
    {kIdMinimise, {950, 6, 28, 22}, false},
    {kIdExit, {982, 6, 32, 22}, false},
    {kIdWindowSize, {900, 6, 44, 22}, false},
    {kIdPositionLabel, {20, 420, 80, 20}, true},
    {kIdSeekSlider, {105, 420, 537, 20}, true},
    {kIdDurationLabel, {562, 442, 80, 14}, true},
    {kIdMute, {20, 462, 24, 20}, true},
    {kIdVolumeSlider, {50, 462, 92, 20}, true},
    {kIdPrevious, {160, 458, 50, 28}, true},
    {kIdPlay, {214, 458, 60, 28}, true},
    {kIdStop, {278, 458, 50, 28}, true},
    {kIdNext, {332, 458, 50, 28}, true},
    {kIdStepBack, {386, 458, 56, 28}, true},
    {kIdStepForward, {446, 458, 56, 28}, true},
    {kIdSpeed, {506, 458, 40, 28}, true},
    {kIdFullScreen, {550, 458, 40, 28}, true},
    {kIdChangeScreen, {594, 458, 62, 28}, true},
    {kIdSdOpen, {16, 496, 62, 24}, false},
    {kIdOpen, {82, 496, 52, 24}, false},
    {kIdList, {138, 496, 48, 24}, false},
    {kIdGraph, {190, 496, 56, 24}, false},
    {kIdGraphMode, {250, 496, 56, 24}, false},
    {kIdSetup, {310, 496, 56, 24}, false},
    {kIdDownload, {370, 496, 52, 24}, false},
    {kIdPrint, {426, 496, 52, 24}, false},
    {kIdInfo, {482, 496, 48, 24}, false},
    {kIdFormat, {534, 496, 60, 24}, false},
    {kIdZoomIn, {598, 496, 28, 24}, false},
    {kIdZoomOut, {630, 496, 28, 24}, false},
    {kIdDit, {16, 524, 48, 24}, false},
    {kIdMark, {68, 524, 52, 24}, false},
    {kIdDitSetup, {124, 524, 60, 24}, false},
    {kIdMapToggle, {188, 524, 80, 24}, false},
    {kIdFps, {272, 524, 40, 24}, false},
    {kIdCapture, {316, 524, 48, 24}, false},
    {kIdAccelGraph, {368, 524, 96, 24}, false},
    {kIdFrontRearSwitch, {468, 524, 128, 24}, false},
    {kIdVideoRecovery, {600, 524, 56, 24}, false},
    {kIdSmart, {16, 552, 180, 165}, false},
    {kIdLayoutMapCheck, {684, 284, 20, 20}, false},
    {kIdLayoutVideoCheck, {708, 284, 20, 20}, false},
    {kIdMapSize, {734, 282, 110, 24}, false},
    {kIdListToggle, {1006, 330, 14, 40}, false},
    {kIdSettings, {846, 6, 50, 22}, false},
};

}  // namespace

bool ControlPlaces::Place(int id, int windowMode, int clientWidth, int clientHeight,
                          LayoutRect* rect) {
  for (const auto& place : kPlaces) {
    if (place.id != id) continue;
    *rect = place.rect;
    if (windowMode == kModeEnlarged) {
      if (id == kIdMinimise || id == kIdExit || id == kIdWindowSize) {
        rect->x = clientWidth - (1020 - place.rect.x);
      } else if (place.transportRow) {
        // The strip sits at x 25..562, y h-70..h-50 in this mode.
        const LayoutRect strip = MainLayout::ProgressStrip(kModeEnlarged, clientHeight);
        rect->x = place.rect.x - 80;
        rect->y = place.rect.y - 420 + strip.y + 2;
        if (id == kIdSeekSlider) rect->x = strip.x;
      } else {
        return false;
      }
    }
    return true;
  }
  return false;
}

}  // namespace lumora
