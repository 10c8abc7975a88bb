#include "display/CDisplayCore.h"

#include <algorithm>
#include <cstdlib>

namespace lumora {

namespace {

// Largest still bitmap accepted (keeps a bad header from asking for gigabytes).
constexpr int kMaxStillSide = 8192;

bool Inside(const DisplayRect& r, DisplayPoint p) {
  return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

}  // namespace

CDisplayCore::CDisplayCore() = default;

CDisplayCore::~CDisplayCore() = default;

int CDisplayCore::InitDisplay(void* parent, int pixelFormat) {
  std::lock_guard<std::mutex> lock(mutex_);
  parent_ = parent;
  pixelFormat_ = pixelFormat;
  colours_ = CColourControls();
  if (!CreateDevice()) {
    ReleaseFrameSurfaces();
    ReleaseStillsLocked();
    initialised_ = false;
    return -1;
  }
  CreateFrameSurfaces();
  initialised_ = true;
  return 0;
}

void CDisplayCore::CreateFrameSurfaces() {
  for (int v = 0; v < kViews; ++v) {
    main_[v] = std::make_unique<CYv12Surface>();
    inset_[v] = std::make_unique<CYv12Surface>();
  }
}

void CDisplayCore::ReleaseFrameSurfaces() {
  for (int v = 0; v < kViews; ++v) {
    main_[v].reset();
    inset_[v].reset();
  }
}

bool CDisplayCore::ConvertBitmap(const StillBitmap& bitmap, StillImage& out) {
  if (bitmap.bits == nullptr || bitmap.width <= 0 || bitmap.height <= 0 ||
      bitmap.width > kMaxStillSide || bitmap.height > kMaxStillSide ||
      bitmap.stride < bitmap.width * 3) {
    return false;
  }
  out.width = bitmap.width;
  out.height = bitmap.height;
  out.rgb.resize(static_cast<std::size_t>(bitmap.width) * bitmap.height * 3);
  for (int y = 0; y < bitmap.height; ++y) {
    // Bottom-up rows: the last row in memory is the top of the picture.
    const std::uint8_t* src =
        bitmap.bits + static_cast<std::ptrdiff_t>(bitmap.height - 1 - y) * bitmap.stride;
    std::uint8_t* dst = out.rgb.data() + static_cast<std::ptrdiff_t>(y) * bitmap.width * 3;
    for (int x = 0; x < bitmap.width; ++x) {
      dst[x * 3 + 0] = src[x * 3 + 2];
      dst[x * 3 + 1] = src[x * 3 + 1];
      dst[x * 3 + 2] = src[x * 3 + 0];
    }
  }
  return true;
}

bool CDisplayCore::CreateStill(int index) {
  StillSlot& slot = stills_[index];
  if (slot.remembered) {
    slot.surface = slot.bitmap;
  } else {
    slot.surface.width = kStillDefaultWidth;
    slot.surface.height = kStillDefaultHeight;
    slot.surface.rgb.assign(static_cast<std::size_t>(kStillDefaultWidth) * kStillDefaultHeight * 3,
                            0);
  }
  slot.created = true;
  ++stillSerial_;
  return true;
}

void CDisplayCore::ReleaseStillsLocked() {
  for (StillSlot& slot : stills_) {
    slot.created = false;
    slot.surface = StillImage{};
  }
  ++stillSerial_;
}

int CDisplayCore::SetStillImage(int index, const StillBitmap* bitmap) {
  if (index < 0 || index >= kStills) return 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    StillSlot& slot = stills_[index];
    slot.remembered = false;
    slot.bitmap = StillImage{};
    if (bitmap != nullptr && bitmap->bits != nullptr) {
      if (!ConvertBitmap(*bitmap, slot.bitmap)) {
        ReleaseStillsLocked();
        return 0;
      }
      slot.remembered = true;
    }
    CreateStill(index);
  }
  return 1;
}

void CDisplayCore::ReleaseStillImages() {
  std::lock_guard<std::mutex> lock(mutex_);
  ReleaseStillsLocked();
}

int CDisplayCore::Redraw(int showStill) {
  const DisplayRect client = ClientRect();
  if (showStill) return Present(0, client, client, true);
  ViewGeometry g;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    g = geometry_[0];
  }
  return Present(0, g.picture, g.view, false);
}

int CDisplayCore::ResetDevice() {
  if (!deviceLost_) return 0;
  std::lock_guard<std::mutex> lock(mutex_);
  ReleaseFrameSurfaces();
  for (StillSlot& slot : stills_) slot.created = false;
  if (!RebuildDevice()) return 0;
  CreateFrameSurfaces();
  for (int i = 0; i < kStills; ++i) CreateStill(i);
  ++sceneSerial_;
  return 1;
}

void CDisplayCore::ShowFrame(int view, const std::uint8_t* const planes[3], int width, int height,
                             int pixelFormat, const int strides[3]) {
  (void)pixelFormat;
  if (view < 0 || view >= kViews) return;
  const DisplayRect client = ClientRect();
  if (planes == nullptr || planes[0] == nullptr) {
    if (!Present(view, client, client, true) && deviceLost_) NotifyParent(kNotifyPresentFailed);
    return;
  }
  // Pictures larger than the frame surfaces are not shown.
  if (!CYv12Surface::Fits(width, height) || strides == nullptr) return;
  DisplayRect picture;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    CDisplayGeometry::LayoutFrame(geometry_[view], client, width, height, stretch_[view] != 0);
    UploadLocked(view, planes, width, height, strides);
    picture = geometry_[view].picture;
  }
  if (!Present(view, picture, client, false) && deviceLost_) NotifyParent(kNotifyPresentFailed);
}

void CDisplayCore::UploadLocked(int view, const std::uint8_t* const planes[3], int w, int h,
                                const int strides[3]) {
  if (deviceLost_ || !enabled_ || !main_[view]) return;
  if (!main_[view]->CopyFrame(planes, strides, w, h, flipMode_[view])) return;
  ViewGeometry& g = geometry_[view];
  if (g.zoom > kZoomUnit && insetVisible_ && inset_[view]) {
    inset_[view]->CopyFrame(planes, strides, w, h, flipMode_[view]);
    const DisplayRect whole{0, 0, w, h};
    inset_[view]->DrawInsetMarkings(whole, g.source);
    g.insetSource = whole;
  }
}

int CDisplayCore::Present(int view, const DisplayRect& picture, const DisplayRect& viewRect,
                          bool still) {
  videoShown_ = !still;
  if (deviceLost_ || !enabled_) return 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!initialised_) {
      deviceLost_ = 1;
      return 0;
    }
    DisplayScene s;
    s.valid = true;
    s.still = still;
    s.view = view;
    s.target = viewRect;
    s.dest = picture;
    const ViewGeometry& g = geometry_[view];
    const int selected = selectedStill_;
    if (still) {
      const StillSlot& slot = stills_[selected];
      s.stillIndex = selected;
      s.source = DisplayRect{0, 0, slot.surface.width, slot.surface.height};
      s.colours = colours_.ForStill();
    } else {
      s.source = g.source;
      s.colours = colours_.ForVideo();
      if (insetVisible_ && g.zoom > kZoomUnit) {
        s.inset = true;
        s.insetDest = CDisplayGeometry::InsetRect(picture, insetSide_);
        s.insetSource = g.insetSource;
      }
    }
    if (captionFont_) {
      s.caption = true;
      s.captions = CDisplayGeometry::LayoutCaption(picture, captionHeight_, captionText_, !still,
                                                   g.zoom, insetVisible_ != 0, insetSide_);
      s.fontFace = captionFace_;
      s.captionColour = captionColour_;
    }
    scene_ = s;
    ++sceneSerial_;
  }
  RequestPresent();
  return 1;
}

void CDisplayCore::GetZoom(int* zoom, DisplayPoint* point, DisplayRect* rect) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (zoom != nullptr) *zoom = geometry_[0].requestedZoom;
  if (point != nullptr) *point = geometry_[0].zoomPoint;
  if (rect != nullptr) *rect = ClientRect();
}

void CDisplayCore::SetZoom(int zoom, DisplayPoint point, DisplayRect rect) {
  (void)point;
  (void)rect;
  std::lock_guard<std::mutex> lock(mutex_);
  // Factors beyond the table would overflow the enlarged rectangle.
  geometry_[0].requestedZoom = std::clamp(zoom, kZoomUnit, kZoomMax);
  geometry_[0].zoomChanged = true;
}

void CDisplayCore::ZoomIn() {
  if (!videoShown_) return;
  std::lock_guard<std::mutex> lock(mutex_);
  for (ViewGeometry& g : geometry_) CDisplayGeometry::ApplyZoomIn(g);
}

void CDisplayCore::ZoomOut() {
  if (!videoShown_) return;
  std::lock_guard<std::mutex> lock(mutex_);
  CDisplayGeometry::ApplyZoomOut(geometry_[0]);
}

void CDisplayCore::SetCaption(const char* faceName, int height, const char* text,
                              std::uint32_t colour) {
  std::lock_guard<std::mutex> lock(mutex_);
  captionFont_ = true;
  captionFace_ = faceName != nullptr ? faceName : "";
  captionHeight_ = std::abs(height);
  captionText_ = text != nullptr ? text : "";
  captionColour_ = colour;
}

void CDisplayCore::SetCaptionText(const char* text) {
  std::lock_guard<std::mutex> lock(mutex_);
  captionText_ = text != nullptr ? text : "";
}

void CDisplayCore::SetStretch(int flag, int view) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (int v = 0; v < kViews; ++v) {
    if (view < 0 || view == v) stretch_[v] = flag;
  }
}

void CDisplayCore::SetFlipMode(int mode, int view) {
  if (mode < 0 || mode > 3) return;
  std::lock_guard<std::mutex> lock(mutex_);
  for (int v = 0; v < kViews; ++v) {
    if (view < 0 || view == v) flipMode_[v] = mode;
  }
}

void CDisplayCore::SetBrightness(int percent) {
  std::lock_guard<std::mutex> lock(mutex_);
  colours_.SetBrightness(percent);
}

void CDisplayCore::SetContrast(int percent) {
  std::lock_guard<std::mutex> lock(mutex_);
  colours_.SetContrast(percent);
}

void CDisplayCore::SelectStillImage(int index) {
  if (index < 0 || index >= kStills) return;
  selectedStill_ = index;
}

void CDisplayCore::SetDeviceLost(int flag) { deviceLost_ = flag ? 1 : 0; }

void CDisplayCore::SetInsetSide(int side) {
  std::lock_guard<std::mutex> lock(mutex_);
  insetSide_ = side == 0 ? 0 : 1;
}

void CDisplayCore::SetInsetVisible(int flag) {
  std::lock_guard<std::mutex> lock(mutex_);
  insetVisible_ = flag ? 1 : 0;
}

int CDisplayCore::IsDeviceLost() { return deviceLost_; }

bool CDisplayCore::BeginDrag(DisplayPoint p) {
  if (!videoShown_) return false;
  std::lock_guard<std::mutex> lock(mutex_);
  for (int v = 0; v < kViews; ++v) {
    if (Inside(geometry_[v].picture, p)) {
      dragging_ = true;
      dragView_ = v;
      lastMouse_ = p;
      return true;
    }
  }
  return false;
}

bool CDisplayCore::DragTo(DisplayPoint p) {
  if (!dragging_) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ViewGeometry& g = geometry_[dragView_];
    g.drag.x += p.x - lastMouse_.x;
    g.drag.y += p.y - lastMouse_.y;
    lastMouse_ = p;
  }
  NotifyParent(kNotifyDrag);
  return true;
}

void CDisplayCore::EndDrag() { dragging_ = false; }

void CDisplayCore::SetClientSize(int width, int height) {
  clientWidth_ = std::max(0, width);
  clientHeight_ = std::max(0, height);
}

DisplayRect CDisplayCore::ClientRect() const {
  return DisplayRect{0, 0, clientWidth_.load(), clientHeight_.load()};
}

ViewGeometry CDisplayCore::GetGeometry(int view) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return geometry_[std::clamp(view, 0, kViews - 1)];
}

const CYv12Surface* CDisplayCore::MainSurface(int view) const {
  return view >= 0 && view < kViews ? main_[view].get() : nullptr;
}

const CYv12Surface* CDisplayCore::InsetSurface(int view) const {
  return view >= 0 && view < kViews ? inset_[view].get() : nullptr;
}

const StillImage* CDisplayCore::Still(int index) const {
  if (index < 0 || index >= kStills || !stills_[index].created) return nullptr;
  return &stills_[index].surface;
}

}  // namespace lumora
