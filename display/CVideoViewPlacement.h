#pragma once
// Where a video area's static control goes while it is dragged: its size is
// the area's client size times ((zoom level - 1) x 0.5 + 1) and it always
// covers the client area.

#include "engine/IVideoDisplay.h"

namespace lumora {

class CVideoViewPlacement {
 public:
  // current: the control's rectangle in the area; delta: mouse movement.
  static DisplayRect Place(int clientW, int clientH, int zoomLevel, const DisplayRect& current,
                           DisplayPoint delta);
};

}  // namespace lumora
