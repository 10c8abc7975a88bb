#pragma once
// Geometry rules of the main window: the two video panes in window modes 1
// and 2, the progress strip that seeks when clicked, the strip that drags the
// window, and the caption of the map-size button. Pure functions of the
// window state so that tests check them without a window.

#include <cstdint>
#include <string>
#include <vector>

namespace lumora {

struct LayoutRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int Right() const { return x + width; }
  int Bottom() const { return y + height; }
  bool operator==(const LayoutRect&) const = default;
};

struct PaneGeometry {
  bool visible = false;
  LayoutRect rect;
  bool operator==(const PaneGeometry&) const = default;
};

struct PaneLayout {
  PaneGeometry front;
  PaneGeometry rear;
};

class MainLayout {
 public:
  static constexpr LayoutRect kLargePane{16, 37, 640, 360};
  static constexpr LayoutRect kSmallPane{684, 37, 320, 240};
  static constexpr LayoutRect kMapShown{680, 354, 326, 353};
  static constexpr LayoutRect kMapHidden{5000, 5000, 345, 270};
  static constexpr LayoutRect kSeekSlider{105, 420, 537, 20};
  static constexpr LayoutRect kVolumeSlider{50, 462, 92, 20};
  static constexpr int kNormalWidth = 1020;
  static constexpr int kNormalHeight = 594;
  // Client size of window mode 1: the panes, the data panel and the map
  // above a bottom bar with the transport and card commands.
  static constexpr int kClientWidth = 1020;
  static constexpr int kClientHeight = 760;
  // Margins of a video window in window mode 2.
  static constexpr int kEnlargedSide = 18;
  static constexpr int kEnlargedTop = 50;
  static constexpr int kEnlargedBottom = 79;
  // Size of the list window that docks at the right edge.
  static constexpr int kListWidth = 256;
  static constexpr int kListHeight = kClientHeight;

  // Where the front and rear video windows go. In mode 1 placement 1 is the
  // large pane, 2 the small pane and 0 hidden; the rear window only shows
  // when the recording has a rear channel. In mode 2 a window with an odd
  // placement fills the client area less the margins; the others hide.
  static PaneLayout LayPanes(int windowMode, int frontPlacement, int rearPlacement,
                             int channelCount, int clientWidth, int clientHeight);
  static LayoutRect EnlargedVideoRect(int clientWidth, int clientHeight);

  // "지도 작게보기" in map state 1, "지도 크게보기" otherwise (UTF-8).
  static std::string MapSizeCaption(int mapState);

  // The progress strip, edges inclusive: x 105..642, y 415..445 in mode 1;
  // x 25..562, y (h - 70)..(h - 50) in mode 2.
  static LayoutRect ProgressStrip(int windowMode, int clientHeight);
  static bool InProgressStrip(int windowMode, int clientHeight, int x, int y);
  // total x (x - left) / (right - left) in 64-bit integers, for a click at x
  // inside the strip (duration in ms, or the DIT point count).
  static std::int64_t StripTarget(std::int64_t total, int windowMode, int x);
  // True when a left press at (x, y) drags the window: mode 1, inside
  // 0 <= x < 1024, 0 <= y < 33 and not on the progress strip.
  static bool InDragStrip(int windowMode, int clientHeight, int x, int y);
};

}  // namespace lumora

namespace lumora {

struct PlacedControl {
  int id = 0;
  LayoutRect rect;
};

// Where each control of the control bar sits. Window mode 1 (client
// 1020 x 760): window buttons in the title strip; the time labels beside the
// seek slider; mute, volume, the graph buttons and the driver-assistance
// indicator in the column left of the data panel; the pane and map buttons
// between the small video and the map; the transport, card and DIT commands
// in the bottom bar. Window mode 2: the window buttons at the top right and
// the seek slider, time labels, transport row, volume and the previous-size
// button in the 79-pixel band under the enlarged video. Controls without a
// place in a mode stay hidden in it.
class ControlPlaces {
 public:
  // False for controls that are not placed (kept hidden).
  static bool Place(int id, int windowMode, int clientWidth, int clientHeight, LayoutRect* rect);
  // Every placed control of a mode, in table order.
  static std::vector<PlacedControl> All(int windowMode, int clientWidth, int clientHeight);
};

}  // namespace lumora
