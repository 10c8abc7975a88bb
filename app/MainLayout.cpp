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

// Sizes of the skin's buttons.
constexpr int kTransportW = 40;  // round transport buttons
constexpr int kToolW = 36;       // square tool buttons
constexpr int kButtonH = 32;
constexpr int kGap = 4;

// Window mode 1. The bottom bar's buttons sit at y 720 under the map (which
// ends at 707); the groups are transport (prev .. +5 s, then speed, full
// screen, swap, zoom), card and file commands, and DIT mode under the map's
// right edge.
constexpr int kBarY = 720;
constexpr int kPaneRowY = 298;   // between the small video and the map
constexpr int kGraphRowY = 494;  // under the volume slider

constexpr int Col(int first, int index, int width) { return first + index * (width + kGap); }

constexpr int kSpeedX = Col(16, 6, kTransportW) + 10;  // 290
constexpr int kCardX = 510;
constexpr int kDitX = 890;
constexpr int kGraphX = 23;
constexpr int kGraphGap = 8;

constexpr PlacedControl kNormalPlaces[] = {
    // Title strip.
    {kIdFileNameLabel, {200, 8, 480, 18}},
    // Pager of the thumbnail page beside the card settings button.
    {kIdThumbPrevious, {836, 6, 24, 22}},
    {kIdThumbNext, {864, 6, 24, 22}},
    {kIdSettings, {892, 0, kToolW, kButtonH}},
    {kIdWindowSize, {932, 6, 24, 22}},
    {kIdMinimise, {960, 6, 24, 22}},
    {kIdExit, {988, 6, 24, 22}},
    // Seek row under the large video.
    {kIdPositionLabel, {20, 420, 80, 20}},
    {kIdSeekSlider, {105, 420, 537, 20}},
    {kIdDurationLabel, {20, 441, 80, 14}},
    // Column left of the data panel.
    {kIdMute, {20, 461, 24, 22}},
    {kIdVolumeSlider, {50, 462, 92, 20}},
    {kIdSnapshot, {156, 456, kToolW, kButtonH}},
    {kIdStatusLine, {105, 441, 537, 14}},
    {kIdGraphMode, {kGraphX, kGraphRowY, kToolW, kButtonH}},
    {kIdGraph, {kGraphX + (kToolW + kGraphGap), kGraphRowY, kToolW, kButtonH}},
    {kIdAccelGraph, {kGraphX + 2 * (kToolW + kGraphGap), kGraphRowY, kToolW, kButtonH}},
    {kIdVideoRecovery, {kGraphX + 3 * (kToolW + kGraphGap), kGraphRowY, kToolW, kButtonH}},
    {kIdSmart, {17, 536, 180, 165}},
    // Pane and map buttons between the small video and the map.
    {kIdLayoutMapCheck, {Col(690, 0, kToolW), kPaneRowY, kToolW, kButtonH}},
    {kIdLayoutVideoCheck, {Col(690, 1, kToolW), kPaneRowY, kToolW, kButtonH}},
    {kIdFrontRearSwitch, {Col(690, 2, kToolW), kPaneRowY, kToolW, kButtonH}},
    {kIdMapSize, {Col(690, 3, kToolW) + 12, kPaneRowY, kToolW, kButtonH}},
    {kIdMapToggle, {Col(690, 4, kToolW) + 12, kPaneRowY, kToolW, kButtonH}},
    // Clip export, after the map buttons and clear of the list toggle.
    {kIdExport, {Col(690, 5, kToolW) + 24, kPaneRowY, 48, kButtonH}},
    {kIdListToggle, {980, 284, 20, 60}},
    // Bottom bar: transport.
    {kIdPrevious, {Col(16, 0, kTransportW), kBarY, kTransportW, kButtonH}},
    {kIdPlay, {Col(16, 1, kTransportW), kBarY, kTransportW, kButtonH}},
    {kIdStop, {Col(16, 2, kTransportW), kBarY, kTransportW, kButtonH}},
    {kIdNext, {Col(16, 3, kTransportW), kBarY, kTransportW, kButtonH}},
    {kIdStepBack, {Col(16, 4, kTransportW), kBarY, kTransportW, kButtonH}},
    {kIdStepForward, {Col(16, 5, kTransportW), kBarY, kTransportW, kButtonH}},
    {kIdSpeed, {Col(kSpeedX, 0, kToolW), kBarY, kToolW, kButtonH}},
    {kIdFullScreen, {Col(kSpeedX, 1, kToolW), kBarY, kToolW, kButtonH}},
    {kIdChangeScreen, {Col(kSpeedX, 2, kToolW), kBarY, kToolW, kButtonH}},
    {kIdZoomIn, {Col(kSpeedX, 3, kToolW), kBarY, kToolW, kButtonH}},
    {kIdZoomOut, {Col(kSpeedX, 4, kToolW), kBarY, kToolW, kButtonH}},
    // Bottom bar: card and file commands.
    {kIdSdOpen, {Col(kCardX, 0, kToolW), kBarY, kToolW, kButtonH}},
    {kIdOpen, {Col(kCardX, 1, kToolW), kBarY, kToolW, kButtonH}},
    {kIdList, {Col(kCardX, 2, kToolW), kBarY, kToolW, kButtonH}},
    {kIdThumbList, {Col(kCardX, 3, kToolW), kBarY, kToolW, kButtonH}},
    {kIdSetup, {Col(kCardX, 4, kToolW), kBarY, kToolW, kButtonH}},
    {kIdDownload, {Col(kCardX, 5, kToolW), kBarY, kToolW, kButtonH}},
    {kIdPrint, {Col(kCardX, 6, kToolW), kBarY, kToolW, kButtonH}},
    {kIdFormat, {Col(kCardX, 7, kToolW), kBarY, kToolW, kButtonH}},
    {kIdInfo, {Col(kCardX, 8, kToolW), kBarY, kToolW, kButtonH}},
    // Bottom bar: DIT mode, under the map.
    {kIdDit, {Col(kDitX, 0, kToolW), kBarY, kToolW, kButtonH}},
    {kIdMark, {Col(kDitX, 1, kToolW), kBarY, kToolW, kButtonH}},
    {kIdDitSetup, {Col(kDitX, 2, kToolW), kBarY, kToolW, kButtonH}},
};

// Window mode 2: places relative to the client's right edge (window
// buttons) or to the band of 79 pixels under the video (the rest).
struct EnlargedPlace {
  int id;
  bool fromRight;  // x counts back from the client's right edge
  int x;
  int y;  // from the top, or (in the band) from the client's bottom edge
  int width;
  int height;
};

constexpr int kBandRow = 44;  // the button row's top, above the client's bottom

constexpr EnlargedPlace kEnlargedPlaces[] = {
    {kIdSettings, true, 128, 0, kToolW, kButtonH},
    {kIdWindowSize, true, 88, 6, 24, 22},
    {kIdMinimise, true, 60, 6, 24, 22},
    {kIdExit, true, 32, 6, 24, 22},
    // The band: the seek slider on the progress strip (x 25..562,
    // y h-70..h-50), the time labels after it, the button row under it.
    {kIdSeekSlider, false, 25, 70, 537, 20},
    {kIdPositionLabel, false, 572, 70, 70, 20},
    {kIdDurationLabel, false, 646, 70, 70, 20},
    {kIdPrevious, false, Col(25, 0, kTransportW), kBandRow, kTransportW, kButtonH},
    {kIdPlay, false, Col(25, 1, kTransportW), kBandRow, kTransportW, kButtonH},
    {kIdStop, false, Col(25, 2, kTransportW), kBandRow, kTransportW, kButtonH},
    {kIdNext, false, Col(25, 3, kTransportW), kBandRow, kTransportW, kButtonH},
    {kIdStepBack, false, Col(25, 4, kTransportW), kBandRow, kTransportW, kButtonH},
    {kIdStepForward, false, Col(25, 5, kTransportW), kBandRow, kTransportW, kButtonH},
    {kIdSpeed, false, Col(299, 0, kToolW), kBandRow, kToolW, kButtonH},
    {kIdFullScreen, false, Col(299, 1, kToolW), kBandRow, kToolW, kButtonH},
    {kIdChangeScreen, false, Col(299, 2, kToolW), kBandRow, kToolW, kButtonH},
    {kIdZoomIn, false, Col(299, 3, kToolW), kBandRow, kToolW, kButtonH},
    {kIdZoomOut, false, Col(299, 4, kToolW), kBandRow, kToolW, kButtonH},
    {kIdMute, false, 510, kBandRow - 5, 24, 22},
    {kIdVolumeSlider, false, 540, kBandRow - 6, 92, 20},
    {kIdSnapshot, false, 640, kBandRow, kToolW, kButtonH},
    {kIdExport, false, Col(640, 1, kToolW), kBandRow, 48, kButtonH},
    {kIdStatusLine, false, 720, 70, 280, 20},
};

}  // namespace

std::vector<PlacedControl> ControlPlaces::All(int windowMode, int clientWidth, int clientHeight) {
  std::vector<PlacedControl> placed;
  if (windowMode != kModeEnlarged) {
    placed.assign(std::begin(kNormalPlaces), std::end(kNormalPlaces));
    return placed;
  }
  for (const EnlargedPlace& p : kEnlargedPlaces) {
    LayoutRect rect{p.x, p.y, p.width, p.height};
    if (p.fromRight) rect.x = clientWidth - p.x;
    if (!p.fromRight) rect.y = clientHeight - p.y;
    placed.push_back({p.id, rect});
  }
  // The previous-size button closes the band's row at the right.
  placed.push_back({kIdPreviousSize,
                    {clientWidth - MainLayout::kEnlargedSide - kToolW, clientHeight - kBandRow,
                     kToolW, kButtonH}});
  return placed;
}

bool ControlPlaces::Place(int id, int windowMode, int clientWidth, int clientHeight,
                          LayoutRect* rect) {
  for (const PlacedControl& control : All(windowMode, clientWidth, clientHeight)) {
    if (control.id != id) continue;
    *rect = control.rect;
    return true;
  }
  return false;
}

}  // namespace lumora
