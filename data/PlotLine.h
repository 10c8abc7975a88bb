#pragma once
// One straight line of a pen width and a 0x00BBGGRR colour, as the data panel
// and the graph window hand them to their painters.

#include <cstdint>

namespace lumora {

struct PlotLine {
  int x1 = 0;
  int y1 = 0;
  int x2 = 0;
  int y2 = 0;
  int width = 1;
  std::uint32_t colour = 0;
  bool operator==(const PlotLine&) const = default;
};

}  // namespace lumora
