#pragma once
// The three polylines of the acceleration-graph window: the track's reading
// list (CGSensorData) over the first minute of the recording in a plot of a
// given size, x = time x width / 60 000, y = middle - value x (height / 2) / 128.

#include <cstdint>
#include <vector>

#include "data/CDrivingTrack.h"
#include "data/CGSensorData.h"

namespace lumora {

struct PlotPoint {
  int x = 0;
  int y = 0;
  bool operator==(const PlotPoint&) const = default;
};

class GSensorPlot {
 public:
  static constexpr int kWidth = 460;
  static constexpr int kHeight = 160;
  static constexpr int kLeft = 46;
  static constexpr int kTop = 31;
  static constexpr std::uint32_t kSpanMs = 60000;
  static constexpr std::uint32_t kXColour = 0x00FE00;
  static constexpr std::uint32_t kYColour = 0x0000FF;
  static constexpr std::uint32_t kZColour = 0xFF0000;
  static constexpr std::uint32_t kTransparent = 0x00FF00;

  struct Polylines {
    std::vector<PlotPoint> x;
    std::vector<PlotPoint> y;
    std::vector<PlotPoint> z;
  };
  // Readings of the minute that starts at `startMs` (the first minute by default).
  static Polylines Make(const std::vector<CGSensorData>& readings, int width = kWidth,
                        int height = kHeight, std::uint32_t startMs = 0);

  // Units of a reading per g: +-2 g fill the plot's height.
  static constexpr int kUnitsPerG = 64;
  // The reading list filled from the track's G-sensor table: set A X, Y, Z
  // at kUnitsPerG per g (limited to +-128), sample i at i x duration / N ms.
  static std::vector<CGSensorData> ReadingsFrom(const CDrivingTrack& track,
                                                std::int64_t durationMs);
  // The minute the window shows for a play position: the one containing it.
  static std::uint32_t MinuteStart(std::int64_t positionMs);
  // x of the position cursor in a plot `width` wide.
  static int CursorX(std::int64_t positionMs, int width = kWidth);
};

}  // namespace lumora
