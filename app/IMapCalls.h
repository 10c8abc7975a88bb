#pragma once
// The map pane as the main window uses it: script calls in the camera
// software's "javascript:Function('a', 'b')" form, the marker for a play
// position, and the pane's page and placement.

#include <cstdint>
#include <string>

#include "data/MapMarkerRule.h"

namespace lumora {

class IMapCalls {
 public:
  virtual ~IMapCalls() = default;
  // Runs one call text such as "javascript:DrawCurrent('139.774494', '35.684066')".
  virtual void CallScript(const std::string& callText) = 0;
  // Moves the marker to the GPS fix of the play position, if there is one.
  virtual void MarkPosition(std::int64_t positionMs) = 0;
  // The values of the last fix the marker update found (for the data panel);
  // false when the pane keeps none.
  virtual bool LastFix(MarkerFix* fix) const {
    (void)fix;
    return false;
  }
  // Draws the whole route of the recording just opened.
  virtual void ShowRoute() {}
  // Loads the map page, once the pane sits in its window (start-up).
  virtual void LoadPage() {}
};

}  // namespace lumora
