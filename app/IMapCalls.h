#pragma once
// The map pane as the main window uses it: script calls in the camera
// software's "javascript:Function('a', 'b')" form, the marker for a play
// position, and the pane's page and placement.

#include <cstdint>
#include <string>

namespace lumora {

class IMapCalls {
 public:
  virtual ~IMapCalls() = default;
  // Runs one call text such as "javascript:DrawCurrent('139.774494', '35.684066')".
  virtual void CallScript(const std::string& callText) = 0;
  // Moves the marker to the GPS fix of the play position, if there is one.
  virtual void MarkPosition(std::int64_t positionMs) = 0;
};

}  // namespace lumora
