#include "display/CYuvToRgb.h"

#include <algorithm>
#include <cmath>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

namespace lumora {

CYuvToRgb::~CYuvToRgb() { sws_freeContext(ctx_); }

bool CYuvToRgb::Convert(const CYv12Surface& surface, DisplayRect source, int dstW, int dstH,
                        const CColourControls::Values& colours, std::uint8_t* dst, int dstStride) {
  source.left = std::clamp(source.left, 0, CYv12Surface::kWidth) & ~1;
  source.top = std::clamp(source.top, 0, CYv12Surface::kHeight) & ~1;
  source.right = std::clamp(source.right, 0, CYv12Surface::kWidth);
  source.bottom = std::clamp(source.bottom, 0, CYv12Surface::kHeight);
  const int srcW = source.Width();
  const int srcH = source.Height();
  if (srcW < 2 || srcH < 2 || dstW <= 0 || dstH <= 0 || dst == nullptr || dstStride < dstW * 3) {
    return false;
  }
  SwsContext* ctx = sws_getCachedContext(ctx_, srcW, srcH, AV_PIX_FMT_YUV420P, dstW, dstH,
                                         AV_PIX_FMT_RGB24, SWS_BILINEAR, nullptr, nullptr, nullptr);
  if (ctx == nullptr) return false;
  if (ctx != ctx_) detailsSet_ = false;
  ctx_ = ctx;
  if (!detailsSet_ || applied_.brightness != colours.brightness ||
      applied_.contrast != colours.contrast || applied_.saturation != colours.saturation) {
    const int* bt709 = sws_getCoefficients(SWS_CS_ITU709);
    // Brightness here is in 16.16 luma levels; swscale counts 1.0 as 256 levels.
    sws_setColorspaceDetails(ctx_, bt709, 1, bt709, 1, colours.brightness / 256, colours.contrast,
                             colours.saturation);
    applied_ = colours;
    detailsSet_ = true;
  }
  const std::uint8_t* src[3] = {
      surface.Y() + source.top * CYv12Surface::kPitch + source.left,
      surface.U() + (source.top / 2) * CYv12Surface::kChromaPitch + source.left / 2,
      surface.V() + (source.top / 2) * CYv12Surface::kChromaPitch + source.left / 2};
  const int srcStride[3] = {CYv12Surface::kPitch, CYv12Surface::kChromaPitch,
                            CYv12Surface::kChromaPitch};
  std::uint8_t* dstPlanes[1] = {dst};
  const int dstStrides[1] = {dstStride};
  return sws_scale(ctx_, src, srcStride, 0, srcH, dstPlanes, dstStrides) == dstH;
}

}  // namespace lumora
