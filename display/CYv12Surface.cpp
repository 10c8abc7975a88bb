#include "display/CYv12Surface.h"

#include <algorithm>
#include <cstring>

namespace lumora {

namespace {

void CopyRow(std::uint8_t* dst, const std::uint8_t* src, int n, bool mirror) {
  if (!mirror) {
    std::memcpy(dst, src, static_cast<std::size_t>(n));
    return;
  }
  std::reverse_copy(src, src + n, dst);
}

void CopyPlane(std::uint8_t* dst, int dstPitch, const std::uint8_t* src, int srcStride,
               int rowBytes, int rows, int mode) {
  const bool upsideDown = mode == 1 || mode == 3;
  const bool mirror = mode == 2 || mode == 3;
  for (int r = 0; r < rows; ++r) {
    const int from = upsideDown ? rows - 1 - r : r;
    CopyRow(dst + static_cast<std::ptrdiff_t>(r) * dstPitch,
            src + static_cast<std::ptrdiff_t>(from) * srcStride, rowBytes, mirror);
  }
}

void FillPlaneRect(std::uint8_t* plane, int pitch, int planeW, int planeH, int left, int top,
                   int right, int bottom, std::uint8_t value) {
  left = std::clamp(left, 0, planeW);
  right = std::clamp(right, 0, planeW);
  top = std::clamp(top, 0, planeH);
  bottom = std::clamp(bottom, 0, planeH);
  if (right <= left) return;
  for (int y = top; y < bottom; ++y) {
    std::memset(plane + static_cast<std::ptrdiff_t>(y) * pitch + left, value,
                static_cast<std::size_t>(right - left));
  }
}

}  // namespace

CYv12Surface::CYv12Surface() : data_(static_cast<std::size_t>(kPitch) * kHeight * 3 / 2, 0) {
  // Start as black: luma 0, chroma at its neutral 128.
  std::memset(V(), 128, static_cast<std::size_t>(kPitch) * kHeight / 2);
}

bool CYv12Surface::Fits(int w, int h) { return w > 0 && h > 0 && w <= kWidth && h <= kHeight; }

bool CYv12Surface::CopyFrame(const std::uint8_t* const planes[3], const int strides[3], int w,
                             int h, int mode) {
  if (!Fits(w, h) || planes == nullptr || strides == nullptr) return false;
  for (int i = 0; i < 3; ++i) {
    if (planes[i] == nullptr) return false;
  }
  const int chromaW = w / 2;
  if (strides[0] < w || strides[1] < chromaW || strides[2] < chromaW) return false;
  const int rows = CopiedRows(h);
  CopyPlane(Y(), kPitch, planes[0], strides[0], w, rows, mode);
  CopyPlane(V(), kChromaPitch, planes[2], strides[2], chromaW, rows / 2, mode);
  CopyPlane(U(), kChromaPitch, planes[1], strides[1], chromaW, rows / 2, mode);
  return true;
}

void CYv12Surface::FillMark(const DisplayRect& rect) {
  FillPlaneRect(Y(), kPitch, kWidth, kHeight, rect.left, rect.top, rect.right, rect.bottom, kMarkY);
  const int cw = kWidth / 2;
  const int ch = kHeight / 2;
  FillPlaneRect(V(), kChromaPitch, cw, ch, rect.left / 2, rect.top / 2, rect.right / 2,
                rect.bottom / 2, kMarkV);
  FillPlaneRect(U(), kChromaPitch, cw, ch, rect.left / 2, rect.top / 2, rect.right / 2,
                rect.bottom / 2, kMarkU);
}

void CYv12Surface::DrawInsetMarkings(const DisplayRect& whole, const DisplayRect& region) {
  for (const DisplayRect& r : {whole, region}) {
    if (r.Width() <= 0 || r.Height() <= 0) continue;
    const int t = kMarkThickness;
    FillMark({r.left, r.top, r.right, std::min(r.top + t, r.bottom)});
    FillMark({r.left, std::max(r.bottom - t, r.top), r.right, r.bottom});
    FillMark({r.left, r.top, std::min(r.left + t, r.right), r.bottom});
    FillMark({std::max(r.right - t, r.left), r.top, r.right, r.bottom});
  }
}

}  // namespace lumora
