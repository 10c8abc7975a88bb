#pragma once
// What the data panel shows in DIT mode: the speed of every point of the
// drive being replayed (km/h), the speed of the current point and the four
// text lines (date, time of day, latitude, longitude) of the current point.

#include <array>
#include <string>
#include <vector>

namespace lumora {

struct DitPanelValues {
  std::vector<int> speedsKmh;
  int currentSpeedKmh = 0;
  // Empty lines are blanked.
  std::array<std::string, 4> lines;
  int speedUnit = 0;  // 0 km/h, 1 mph
  bool fullScreen = false;
};

}  // namespace lumora
