#pragma once
// What the video windows ask of the window that owns them: swapping the two
// channels between the large and the small area, zooming one channel through
// the player, and redrawing the displays.

namespace lumora {

class IVideoWindowHost {
 public:
  virtual ~IVideoWindowHost() = default;
  virtual void SwapChannels() = 0;
  virtual void ZoomIn(int channel) = 0;
  virtual void ZoomOut(int channel) = 0;
  virtual void RedrawDisplays() = 0;
};

}  // namespace lumora
