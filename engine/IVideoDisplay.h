#pragma once
// What the player needs of a video display, kept free of any window system so
// the engine builds and runs without Qt. The Qt/OpenGL display, the QPainter
// display and the headless test displays implement it.

#include <cstdint>

namespace lumora {

struct DisplayPoint {
  int x = 0;
  int y = 0;
};

struct DisplayRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
};

// A still picture handed to SetStillImage: 24-bit BGR rows, bottom-up, each
// row padded to a multiple of four bytes (the layout of a device-independent
// bitmap). A null pointer stands for "no bitmap".
struct StillBitmap {
  const std::uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
};

// Operations in the order of their slots on the display.
class IVideoDisplay {
 public:
  virtual ~IVideoDisplay() = default;

  // parent: the video window the display lives in (opaque to the engine).
  // Returns 0 on success, -1 on failure.
  virtual int InitDisplay(void* parent, int pixelFormat) = 0;
  virtual int SetStillImage(int index, const StillBitmap* bitmap) = 0;
  virtual void ReleaseStillImages() = 0;
  virtual int Redraw(int showStill) = 0;
  virtual int ResetDevice() = 0;
  // Called from the player thread. planes/strides in the order Y, U, V.
  // Null planes present the selected still image instead.
  virtual void ShowFrame(int view, const std::uint8_t* const planes[3], int width, int height,
                         int pixelFormat, const int strides[3]) = 0;
  virtual void GetZoom(int* zoom, DisplayPoint* point, DisplayRect* rect) = 0;
  virtual void SetZoom(int zoom, DisplayPoint point, DisplayRect rect) = 0;
  virtual void ZoomIn() = 0;
  virtual void ZoomOut() = 0;
  virtual void SetCaption(const char* faceName, int height, const char* text,
                          std::uint32_t colour) = 0;
  virtual void SetCaptionText(const char* text) = 0;
  virtual void SetStretch(int flag, int view) = 0;
  virtual void SetFlipMode(int mode, int view) = 0;
  virtual void SetBrightness(int percent) = 0;
  virtual void SetContrast(int percent) = 0;
  virtual void SelectStillImage(int index) = 0;
  virtual void SetDeviceLost(int flag) = 0;
  virtual void SetInsetSide(int side) = 0;
  virtual void SetInsetVisible(int flag) = 0;
  virtual int IsDeviceLost() = 0;

  // Moves the display to (0, 0) of its parent and sizes it to the parent's
  // client area (the player's ResizeDisplays).
  virtual void FitToParent() = 0;

  // Called by the player thread just before ShowFrame with the picture's
  // presentation time in seconds. Displays that do not need it ignore it.
  virtual void SetFrameTime(double seconds) { (void)seconds; }
};

// Creates the display of channel `index` inside video window `parent`.
// The player owns what it returns and deletes it.
class IDisplayFactory {
 public:
  virtual ~IDisplayFactory() = default;
  virtual IVideoDisplay* CreateDisplay(int index, void* parent) = 0;
};

// The window that receives the player's reports. EndOfRecording stands for
// the posted message 0x462; it is called on the player thread and must only
// queue work for the owner's own thread.
class IPlayerOwner {
 public:
  virtual ~IPlayerOwner() = default;
  virtual void PostEndOfRecording() = 0;
};

inline constexpr unsigned kMessageEndOfRecording = 0x462;

}  // namespace lumora
