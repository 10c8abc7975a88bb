#include "display/CVideoViewPlacement.h"

#include <algorithm>

namespace lumora {

DisplayRect CVideoViewPlacement::Place(int clientW, int clientH, int zoomLevel,
                                       const DisplayRect& current, DisplayPoint delta) {
  const double factor = (zoomLevel - 1) * 0.5 + 1.0;
  const int w = std::max(clientW, static_cast<int>(clientW * factor));
  const int h = std::max(clientH, static_cast<int>(clientH * factor));
  const int x = std::clamp(current.left + delta.x, clientW - w, 0);
  const int y = std::clamp(current.top + delta.y, clientH - h, 0);
  return DisplayRect{x, y, x + w, y + h};
}

}  // namespace lumora
