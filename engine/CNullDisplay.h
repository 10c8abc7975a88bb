#pragma once
// A display that draws nothing and writes what it is shown into a FrameLog:
// for tests, benchmarks and the command-line player.

#include <atomic>
#include <memory>

#include "engine/FrameLog.h"
#include "engine/IVideoDisplay.h"

namespace lumora {

class CNullDisplay : public IVideoDisplay {
 public:
  CNullDisplay(int channel, std::shared_ptr<FrameLog> log);

  int InitDisplay(void* parent, int pixelFormat) override;
  int SetStillImage(int index, const StillBitmap* bitmap) override;
  void ReleaseStillImages() override {}
  int Redraw(int showStill) override;
  int ResetDevice() override;
  void ShowFrame(int view, const std::uint8_t* const planes[3], int width, int height,
                 int pixelFormat, const int strides[3]) override;
  void GetZoom(int* zoom, DisplayPoint* point, DisplayRect* rect) override;
  void SetZoom(int zoom, DisplayPoint point, DisplayRect rect) override;
  void ZoomIn() override;
  void ZoomOut() override;
  void SetCaption(const char*, int, const char*, std::uint32_t) override {}
  void SetCaptionText(const char*) override {}
  void SetStretch(int flag, int view) override;
  void SetFlipMode(int, int) override {}
  void SetBrightness(int) override {}
  void SetContrast(int) override {}
  void SelectStillImage(int index) override;
  void SetDeviceLost(int flag) override;
  void SetInsetSide(int) override {}
  void SetInsetVisible(int) override {}
  int IsDeviceLost() override;
  void FitToParent() override;
  void SetFrameTime(double seconds) override;

  int PixelFormat() const { return m_nPixelFormat; }
  int SelectedStill() const { return m_nStill; }
  int Stretch() const { return m_nStretch; }
  int FitCount() const { return m_nFits; }
  // Makes the next IsDeviceLost answer 1, as a display whose device went away.
  void LoseDevice() { m_nLost = 1; }
  int ResetCount() const { return m_nResets; }

 private:
  int m_nChannel;
  std::shared_ptr<FrameLog> m_pLog;
  int m_nPixelFormat = 0;
  int m_nStill = 0;
  int m_nStretch = -1;
  int m_nZoom = 256;
  std::atomic<int> m_nLost{0};
  std::atomic<int> m_nFits{0};
  std::atomic<int> m_nResets{0};
  double m_dFrameTime = 0.0;
};

class CNullDisplayFactory : public IDisplayFactory {
 public:
  CNullDisplayFactory() : m_pLog(std::make_shared<FrameLog>()) {}
  IVideoDisplay* CreateDisplay(int index, void* parent) override;
  std::shared_ptr<FrameLog> Log() const { return m_pLog; }
  // The displays made so far (owned by the player that asked for them).
  CNullDisplay* Display(int index) const;

 private:
  std::shared_ptr<FrameLog> m_pLog;
  CNullDisplay* m_pMade[8] = {};
};

}  // namespace lumora
