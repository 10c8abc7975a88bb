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

// Mode-1 places on the skin: the panel under the large video holds the seek
// strip and the transport row, the band under it the tool buttons, the panel
// under the small video the layout check boxes.
constexpr Place kPlaces[] = {
    {kIdSettings, {892, 0, 36, 32}, false},
    {kIdWindowSize, {932, 6, 24, 22}, false},
    {kIdMinimise, {960, 6, 24, 22}, false},
    {kIdExit, {988, 6, 24, 22}, false},
    {kIdFileNameLabel, {200, 8, 480, 18}, false},
    {kIdPositionLabel, {20, 420, 80, 20}, true},
    {kIdSeekSlider, {105, 420, 537, 20}, true},
    {kIdDurationLabel, {20, 443, 80, 14}, true},
    {kIdMute, {20, 463, 24, 22}, true},
    {kIdVolumeSlider, {50, 462, 92, 20}, true},
    {kIdPrevious, {160, 458, 40, 32}, true},
    {kIdPlay, {204, 458, 40, 32}, true},
    {kIdStop, {248, 458, 40, 32}, true},
    {kIdNext, {292, 458, 40, 32}, true},
    {kIdStepBack, {336, 458, 40, 32}, true},
    {kIdStepForward, {380, 458, 40, 32}, true},
    {kIdSpeed, {430, 458, 36, 32}, true},
    {kIdFullScreen, {470, 458, 36, 32}, true},
    {kIdChangeScreen, {510, 458, 36, 32}, true},
    {kIdZoomIn, {550, 458, 36, 32}, true},
    {kIdZoomOut, {590, 458, 36, 32}, true},
    {kIdSdOpen, {16, 516, 36, 32}, false},
    {kIdOpen, {56, 516, 36, 32}, false},
    {kIdList, {96, 516, 36, 32}, false},
    {kIdGraph, {136, 516, 36, 32}, false},
    {kIdGraphMode, {176, 516, 36, 32}, false},
    {kIdSetup, {216, 516, 36, 32}, false},
    {kIdDownload, {256, 516, 36, 32}, false},
    {kIdPrint, {296, 516, 36, 32}, false},
    {kIdInfo, {336, 516, 36, 32}, false},
    {kIdFormat, {376, 516, 36, 32}, false},
    {kIdDit, {416, 516, 36, 32}, false},
    {kIdMark, {456, 516, 36, 32}, false},
    {kIdDitSetup, {496, 516, 36, 32}, false},
    {kIdMapToggle, {536, 516, 36, 32}, false},
    {kIdAccelGraph, {576, 516, 36, 32}, false},
    {kIdVideoRecovery, {616, 516, 36, 32}, false},
    {kIdSmart, {16, 552, 180, 165}, false},
    {kIdFps, {210, 556, 80, 22}, false},
    {kIdCapture, {294, 556, 80, 22}, false},
    {kIdFrontRearSwitch, {378, 552, 36, 32}, false},
    {kIdLayoutMapCheck, {690, 297, 36, 32}, false},
    {kIdLayoutVideoCheck, {730, 297, 36, 32}, false},
    {kIdMapSize, {770, 297, 36, 32}, false},
    {kIdListToggle, {980, 284, 20, 60}, false},
};

}  // namespace

bool ControlPlaces::Place(int id, int windowMode, int clientWidth, int clientHeight,
                          LayoutRect* rect) {
  for (const auto& place : kPlaces) {
    if (place.id != id) continue;
    *rect = place.rect;
    if (windowMode == kModeEnlarged) {
      if (id == kIdMinimise || id == kIdExit || id == kIdWindowSize || id == kIdSettings) {
        rect->x = clientWidth - (1020 - place.rect.x);
      } else if (place.transportRow) {
        // The strip sits at x 25..562, y h-70..h-50 in this mode.
        const LayoutRect strip = MainLayout::ProgressStrip(kModeEnlarged, clientHeight);
        rect->x = place.rect.x - 80;
        rect->y = place.rect.y - 420 + strip.y - 2;
        if (id == kIdSeekSlider) {
          rect->x = strip.x;
          rect->y = strip.y;
        }
      } else {
        return false;
      }
    }
    return true;
  }
  return false;
}

}  // namespace lumora
