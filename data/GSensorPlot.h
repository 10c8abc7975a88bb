#pragma once
// The three polylines of the acceleration-graph window: the track's reading
// list (CGSensorData) over the first minute of the recording in a plot of a
// given size, x = time x width / 60 000, y = middle - value x (height / 2) / 128.

#include <cstdint>
#include <vector>

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
  static Polylines Make(const std::vector<CGSensorData>& readings, int width = kWidth,
                        int height = kHeight);
};

}  // namespace lumora
