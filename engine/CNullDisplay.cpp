#include "engine/CNullDisplay.h"

namespace lumora {

CNullDisplay::CNullDisplay(int channel, std::shared_ptr<FrameLog> log)
    : m_nChannel(channel), m_pLog(std::move(log)) {}

int CNullDisplay::InitDisplay(void* parent, int pixelFormat) {
  (void)parent;
  m_nPixelFormat = pixelFormat;
  return 0;
}

int CNullDisplay::SetStillImage(int index, const StillBitmap* bitmap) {
  (void)bitmap;
  return index >= 0 && index <= 2 ? 1 : 0;
}

int CNullDisplay::Redraw(int showStill) {
  m_pLog->CountRedraw(showStill);
  return 1;
}

int CNullDisplay::ResetDevice() {
  ++m_nResets;
  return 1;
}

void CNullDisplay::ShowFrame(int view, const std::uint8_t* const planes[3], int width, int height,
                             int pixelFormat, const int strides[3]) {
  FrameRecord r;
  r.channel = m_nChannel;
  r.view = view;
  r.time = m_dFrameTime;
  r.width = width;
  r.height = height;
  r.pixelFormat = pixelFormat;
  if (planes != nullptr && planes[0] != nullptr && strides != nullptr)
    for (int x = 0; x < width; ++x) r.lumaSum += planes[0][x];
  r.shownAt = std::chrono::steady_clock::now();
  m_pLog->AddFrame(r);
}

void CNullDisplay::GetZoom(int* zoom, DisplayPoint* point, DisplayRect* rect) {
  if (zoom) *zoom = m_nZoom;
  if (point) *point = DisplayPoint{};
  if (rect) *rect = DisplayRect{};
}

void CNullDisplay::SetZoom(int zoom, DisplayPoint, DisplayRect) { m_nZoom = zoom; }

void CNullDisplay::ZoomIn() { m_pLog->CountZoom(1); }

void CNullDisplay::ZoomOut() { m_pLog->CountZoom(-1); }

void CNullDisplay::SetStretch(int flag, int view) {
  (void)view;
  m_nStretch = flag;
}

void CNullDisplay::SelectStillImage(int index) { m_nStill = index; }

void CNullDisplay::SetDeviceLost(int flag) { m_nLost = flag; }

int CNullDisplay::IsDeviceLost() { return m_nLost; }

void CNullDisplay::FitToParent() { ++m_nFits; }

void CNullDisplay::SetFrameTime(double seconds) { m_dFrameTime = seconds; }

IVideoDisplay* CNullDisplayFactory::CreateDisplay(int index, void* parent) {
  (void)parent;
  auto* display = new CNullDisplay(index, m_pLog);
  if (index >= 0 && index < 8) m_pMade[index] = display;
  return display;
}

CNullDisplay* CNullDisplayFactory::Display(int index) const {
  return index >= 0 && index < 8 ? m_pMade[index] : nullptr;
}

}  // namespace lumora
