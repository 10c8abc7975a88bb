#include "display/CDisplayGeometry.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace lumora {

namespace {

constexpr std::array<int, 8> kZoomSteps = {256, 512, 768, 1024, 1536, 2048, 3072, 4096};

std::int64_t Mul(std::int64_t a, std::int64_t b) { return a * b; }

int MulDiv(std::int64_t a, std::int64_t b, std::int64_t c) {
  return c == 0 ? 0 : static_cast<int>(Mul(a, b) / c);
}

DisplayRect Intersect(const DisplayRect& a, const DisplayRect& b) {
  DisplayRect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
  if (r.right <= r.left || r.bottom <= r.top) return DisplayRect{};
  return r;
}

// Places [lo, lo + size) inside [0, limit), keeping its size.
void ClampSpan(int& lo, int& hi, int size, int limit) {
  hi = lo + size;
  if (lo < 0) {
    lo = 0;
    hi = size;
  } else if (hi > limit) {
    hi = limit;
    lo = limit - size;
  }
}

}  // namespace

DisplayRect CDisplayGeometry::FitRect(const DisplayRect& view, int w, int h) {
  DisplayRect r = view;
  const int W = view.Width();
  const int H = view.Height();
  if (w <= 0 || h <= 0 || W <= 0 || H <= 0) return r;
  const int fitted = MulDiv(W, h, H);
  if (fitted == w) return r;
  if (w < fitted) {
    // Narrower than the view: bars left and right.
    const int inset = (W - MulDiv(H, w, h)) / 2;
    r.left += inset;
    r.right -= inset;
  } else {
    const int inset = (H - MulDiv(W, h, w)) / 2;
    r.top += inset;
    r.bottom -= inset;
  }
  return r;
}

int CDisplayGeometry::ZoomInStep(int factor) {
  for (int step : kZoomSteps) {
    if (step > factor) return step;
  }
  return kZoomMax;
}

int CDisplayGeometry::ZoomOutStep(int factor) {
  int result = kZoomUnit;
  for (int step : kZoomSteps) {
    if (step >= factor) break;
    result = step;
  }
  return std::clamp(result, kZoomUnit, kZoomMax);
}

void CDisplayGeometry::ApplyZoomIn(ViewGeometry& g) {
  g.requestedZoom = ZoomInStep(g.requestedZoom);
  g.zoomPoint = DisplayPoint{g.picture.Width() / 2, g.picture.Height() / 2};
  g.zoomChanged = true;
}

void CDisplayGeometry::ApplyZoomOut(ViewGeometry& g) {
  g.requestedZoom = ZoomOutStep(g.requestedZoom);
  g.zoomChanged = true;
}

void CDisplayGeometry::LayoutFrame(ViewGeometry& g, const DisplayRect& client, int w, int h,
                                   bool stretch) {
  g.view = client;
  const DisplayRect fitted = stretch ? client : FitRect(client, w, h);

  if (g.zoomChanged) {
    g.zoomChanged = false;
    if (g.view.Width() != g.picture.Width() && g.view.Height() != g.picture.Height()) {
      g.picture = g.view;
    }
    g.zoom = g.requestedZoom;
    const int picW = g.picture.Width();
    const int picH = g.picture.Height();
    if (picW > 0 && picH > 0) {
      g.zoomCentre.x = g.source.left + MulDiv(g.source.Width(), g.zoomPoint.x, picW);
      g.zoomCentre.y = g.source.top + MulDiv(g.source.Height(), g.zoomPoint.y, picH);
    } else {
      g.zoomCentre = DisplayPoint{w / 2, h / 2};
    }
  }

  if (g.zoom <= kZoomUnit) {
    g.picture = fitted;
    g.source = DisplayRect{0, 0, w, h};
    return;
  }

  const int z = g.zoom / kZoomUnit;
  const int fitW = fitted.Width();
  const int fitH = fitted.Height();
  const int growX = (fitW * z - fitW) / 2;
  const int growY = (fitH * z - fitH) / 2;
  const DisplayRect enlarged{fitted.left - growX, fitted.top - growY, fitted.right + growX,
                             fitted.bottom + growY};
  const DisplayRect clipped = Intersect(enlarged, g.view);
  g.picture = clipped;

  const int srcW = std::min(w, MulDiv(clipped.Width(), w, enlarged.Width()));
  const int srcH = std::min(h, MulDiv(clipped.Height(), h, enlarged.Height()));

  // Dragging the picture right shows what lies further left in the frame.
  g.zoomCentre.x -= MulDiv(g.drag.x, w, enlarged.Width());
  g.zoomCentre.y -= MulDiv(g.drag.y, h, enlarged.Height());
  g.drag = DisplayPoint{};

  DisplayRect src;
  src.left = g.zoomCentre.x - srcW / 2;
  src.top = g.zoomCentre.y - srcH / 2;
  ClampSpan(src.left, src.right, srcW, w);
  ClampSpan(src.top, src.bottom, srcH, h);
  g.source = src;
  g.zoomCentre = DisplayPoint{src.left + srcW / 2, src.top + srcH / 2};
}

DisplayRect CDisplayGeometry::InsetRect(const DisplayRect& picture, int side) {
  const int W = picture.Width();
  const int H = picture.Height();
  if (W <= 0 || H <= 0) return DisplayRect{};
  const int marginX = W * 20 / 768;
  const int marginY = H * 20 / 432;
  const int insetW = W / 4;
  const int insetH = MulDiv(H, insetW, W);
  DisplayRect r;
  r.top = picture.top + marginY;
  r.bottom = r.top + insetH;
  if (side == 0) {
    r.left = picture.left + marginX;
    r.right = r.left + insetW;
  } else {
    r.right = picture.right - marginX;
    r.left = r.right - insetW;
  }
  return r;
}

CaptionLayout CDisplayGeometry::LayoutCaption(const DisplayRect& picture, int fontHeight,
                                              const std::string& text, bool video, int zoom,
                                              bool insetVisible, int insetSide) {
  CaptionLayout out;
  const int H = picture.Height();
  const int m = H * 15 / 720;
  const bool zoomed = video && zoom > kZoomUnit;

  CaptionItem& c = out.caption;
  c.visible = true;
  c.text = text;
  c.fontHeight = MulDiv(fontHeight, H, 720);
  c.y = m;
  if (insetVisible && zoomed && insetSide == 0) {
    c.x = picture.right - m;
    c.rightAligned = true;
  } else {
    c.x = m;
  }

  if (zoomed) {
    CaptionItem& l = out.zoomLabel;
    l.visible = true;
    l.text = ZoomLabel(zoom);
    l.fontHeight = MulDiv(fontHeight, H, 1080);
    if (insetVisible) {
      const DisplayRect inset = InsetRect(picture, insetSide);
      l.x = inset.left + m;
      l.y = inset.top + m;
    } else {
      l.x = picture.right - m;
      l.y = picture.top + m;
      l.rightAligned = true;
    }
  }
  return out;
}

std::string CDisplayGeometry::ZoomLabel(int zoom) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%dX", zoom / kZoomUnit);
  return buf;
}

}  // namespace lumora
