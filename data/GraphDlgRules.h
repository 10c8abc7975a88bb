#pragma once
// The arithmetic of the "Graph" window: its two layouts, the vertical second
// lines, the frame, the Y labels, the legend, the curves of the three modes
// and the value readout under the mouse. The window only paints what these
// functions return.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/CDrivingTrack.h"
#include "data/PlotLine.h"

namespace lumora {

using GraphLine = PlotLine;

// A text in a rectangle (left, top, right, bottom) in a colour.
struct GraphText {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  std::string text;
  std::uint32_t colour = 0;
};

struct GraphLayout {
  int windowWidth = 990;
  int windowHeight = 600;
  int x0 = 60;   // plot left edge
  int w = 900;   // plot width
  int y0 = 520;  // base line
  int r = 24;    // row height
  // The mode button's top-left corner (40 x 39), inside the window in both
  // layouts: right-aligned with the plot, just under its base line. Button
  // 1252 sits 50 pixels left of it.
  int buttonX = 920;
  int buttonY = 530;
};

class GraphDlgRules {
 public:
  static constexpr std::uint32_t kGridColour = 0x5B4D1C;
  static constexpr std::uint32_t kTextBack = 0x0C0C0C;
  static constexpr std::uint32_t kControlText = 0x808080;
  static constexpr std::uint32_t kXColour = 0xFFFFFF;
  static constexpr std::uint32_t kYColour = 0xFFFF00;
  static constexpr std::uint32_t kZColour = 0x00FF00;
  static constexpr int kModeButtonId = 2196;
  static constexpr int kHiddenButtonId = 1252;
  static constexpr int kReadoutX = 60;
  static constexpr int kReadoutY = 10;

  // Normal 990 x 600, or the compact 800 x 540 one for 600-pixel screens.
  static GraphLayout Layout(bool compact);

  // Pixels per second: W / D x 1000, or 20.0 when D is 0.
  static double PixelsPerSecond(std::int64_t duration, const GraphLayout& layout);
  // x of each vertical second line: s lines below 30 s, s + 1 from 30 s on.
  static std::vector<int> SecondLineXs(std::int64_t duration, const GraphLayout& layout);
  // Second lines, then the frame (base line, 20 rows, borders).
  static std::vector<GraphLine> GridLines(std::int64_t duration, const GraphLayout& layout);
  // The 21 Y labels of a mode, bottom (k = 0) first, with their rectangles.
  static std::vector<GraphText> YLabels(int mode, int speedUnit, const GraphLayout& layout);
  // "X axis", "Y axis", "Z axis" (modes 0 and 1) or "Speed" (mode 2).
  static std::vector<GraphText> Legend(int mode, const GraphLayout& layout);
  // The curves of a mode; all use the sample ordinal as time.
  static std::vector<GraphLine> Curves(const CDrivingTrack& track, int mode, std::int64_t duration,
                                       int speedUnit, const GraphLayout& layout);
  // The text shown at (60, 10) for the mouse at row y (normal-layout constants).
  static std::string Readout(int mode, int y, int speedUnit);

  // 0 -> 1 -> 2 -> 0.
  static int NextMode(int mode) { return mode >= 2 || mode < 0 ? 0 : mode + 1; }
  // Bitmap pair (normal, pressed) of the mode button in a mode.
  static std::pair<int, int> ModeBitmaps(int mode);
};

}  // namespace lumora
