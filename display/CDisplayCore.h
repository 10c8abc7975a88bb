#pragma once
// Everything a video display does apart from putting pixels on the screen:
// the frame surfaces, the still images, zoom, drag, inset and caption state,
// the colour controls and the device-lost flag. A presenter (OpenGL or
// QPainter widget) derives from it, keeps the client size up to date, and
// draws the scene that the last presentation left behind.

#include "display/CColourControls.h"
#include "display/CDisplayGeometry.h"
#include "display/CYv12Surface.h"
#include "engine/IVideoDisplay.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace lumora {

// A still image as 8-bit RGB rows, top-down, no padding.
struct StillImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;
};

// What the next paint shows: the outcome of the last presentation.
struct DisplayScene {
  bool valid = false;
  bool still = false;
  int view = 0;
  DisplayRect target;  // the view rectangle: the only part presented
  DisplayRect dest;    // the picture rectangle
  DisplayRect source;  // frame pixels, or the whole still image
  int stillIndex = 0;
  bool inset = false;
  DisplayRect insetDest;
  DisplayRect insetSource;
  bool caption = false;  // a caption font has been set
  CaptionLayout captions;
  std::string fontFace;
  std::uint32_t captionColour = 0;  // 0x00BBGGRR
  CColourControls::Values colours{0, CColourControls::kOne, CColourControls::kOne};
};

class CDisplayCore : public IVideoDisplay {
 public:
  static constexpr int kViews = 2;
  static constexpr int kStills = 3;
  static constexpr int kStillDefaultWidth = 640;
  static constexpr int kStillDefaultHeight = 360;
  // Notifications to the parent window (message 1123).
  static constexpr unsigned kNotifyMessage = 1123;
  static constexpr int kNotifyDrag = 1241;
  static constexpr int kNotifyPresentFailed = 1243;

  CDisplayCore();
  ~CDisplayCore() override;

  int InitDisplay(void* parent, int pixelFormat) override;
  int SetStillImage(int index, const StillBitmap* bitmap) override;
  void ReleaseStillImages() override;
  int Redraw(int showStill) override;
  int ResetDevice() override;
  void ShowFrame(int view, const std::uint8_t* const planes[3], int width, int height,
                 int pixelFormat, const int strides[3]) override;
  void GetZoom(int* zoom, DisplayPoint* point, DisplayRect* rect) override;
  void SetZoom(int zoom, DisplayPoint point, DisplayRect rect) override;
  void ZoomIn() override;
  void ZoomOut() override;
  void SetCaption(const char* faceName, int height, const char* text,
                  std::uint32_t colour) override;
  void SetCaptionText(const char* text) override;
  void SetStretch(int flag, int view) override;
  void SetFlipMode(int mode, int view) override;
  void SetBrightness(int percent) override;
  void SetContrast(int percent) override;
  void SelectStillImage(int index) override;
  void SetDeviceLost(int flag) override;
  void SetInsetSide(int side) override;
  void SetInsetVisible(int flag) override;
  int IsDeviceLost() override;

  // Mouse dragging of a zoomed picture (client coordinates). BeginDrag
  // returns whether dragging started.
  bool BeginDrag(DisplayPoint p);
  // Adds the movement since the last point to the drag offset; returns
  // whether a drag was in progress.
  bool DragTo(DisplayPoint p);
  void EndDrag();
  bool IsDragging() const { return dragging_; }

  // Client size, kept by the window (any thread may read it).
  void SetClientSize(int width, int height);
  DisplayRect ClientRect() const;

  bool IsVideoShown() const { return videoShown_.load(); }
  bool IsInitialised() const { return initialised_; }
  void SetEnabled(bool enabled) { enabled_ = enabled ? 1 : 0; }
  void* Parent() const { return parent_; }
  ViewGeometry GetGeometry(int view) const;
  int SelectedStill() const { return selectedStill_.load(); }

  // For presenters: hold the lock while reading the scene and the surfaces.
  std::unique_lock<std::mutex> Lock() const { return std::unique_lock<std::mutex>(mutex_); }
  const DisplayScene& Scene() const { return scene_; }
  // Incremented whenever the scene or a surface it shows changes.
  std::uint64_t SceneSerial() const { return sceneSerial_; }
  std::uint64_t StillSerial() const { return stillSerial_; }
  const CYv12Surface* MainSurface(int view) const;
  const CYv12Surface* InsetSurface(int view) const;
  // Null when the still surface has not been created (or was released).
  const StillImage* Still(int index) const;

  // Converts a bottom-up BGR bitmap to a StillImage; null or invalid
  // bitmaps give false.
  static bool ConvertBitmap(const StillBitmap& bitmap, StillImage& out);

 protected:
  // Window-system steps. CreateDevice runs once in InitDisplay;
  // RebuildDevice in ResetDevice (under the lock) recreates what the device
  // held (textures, cached images). Both return false on failure.
  virtual bool CreateDevice() { return true; }
  virtual bool RebuildDevice() { return true; }
  // Asks for a repaint on the window's own thread; callable from any thread.
  virtual void RequestPresent() {}
  // Posts a notification (message 1123) to the parent window.
  virtual void NotifyParent(int wParam) { (void)wParam; }

 private:
  struct StillSlot {
    bool remembered = false;  // a bitmap was given
    StillImage bitmap;        // its pixels
    bool created = false;     // the surface exists
    StillImage surface;
  };

  void CreateFrameSurfaces();
  void ReleaseFrameSurfaces();
  bool CreateStill(int index);
  void ReleaseStillsLocked();
  void UploadLocked(int view, const std::uint8_t* const planes[3], int w, int h,
                    const int strides[3]);
  int Present(int view, const DisplayRect& picture, const DisplayRect& viewRect, bool still);

  mutable std::mutex mutex_;
  void* parent_ = nullptr;
  int pixelFormat_ = 0;
  bool initialised_ = false;
  CColourControls colours_;
  std::atomic<int> selectedStill_{0};
  std::atomic<int> deviceLost_{0};
  std::atomic<int> enabled_{1};
  bool captionFont_ = false;
  std::string captionFace_;
  int captionHeight_ = 0;
  std::string captionText_;
  std::uint32_t captionColour_ = 0;
  std::array<int, kViews> flipMode_{};
  std::array<int, kViews> stretch_{};
  int insetVisible_ = 1;
  int insetSide_ = 1;
  std::array<std::unique_ptr<CYv12Surface>, kViews> main_;
  std::array<std::unique_ptr<CYv12Surface>, kViews> inset_;
  std::array<StillSlot, kStills> stills_;
  std::array<ViewGeometry, kViews> geometry_;
  std::atomic<int> clientWidth_{0};
  std::atomic<int> clientHeight_{0};
  bool dragging_ = false;
  DisplayPoint lastMouse_;
  int dragView_ = 0;
  std::atomic<bool> videoShown_{false};
  DisplayScene scene_;
  std::uint64_t sceneSerial_ = 0;
  std::uint64_t stillSerial_ = 0;
};

}  // namespace lumora
