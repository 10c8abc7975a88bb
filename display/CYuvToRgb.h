#pragma once
// Scales a region of a YV12 frame surface to an RGB picture with libswscale,
// reading the samples as BT.709 full range and applying the colour controls.
// The software counterpart of the GPU shader.

#include "display/CColourControls.h"
#include "display/CYv12Surface.h"
#include "engine/IVideoDisplay.h"

#include <cstdint>

struct SwsContext;

namespace lumora {

class CYuvToRgb {
 public:
  CYuvToRgb() = default;
  ~CYuvToRgb();
  CYuvToRgb(const CYuvToRgb&) = delete;
  CYuvToRgb& operator=(const CYuvToRgb&) = delete;

  // Writes dstW x dstH RGB24 pixels (rows of dstStride bytes) showing
  // `source` (frame pixels, clipped to the surface; left and top rounded down
  // to even so the chroma lines up). Returns false when there is nothing to
  // convert or the scaler cannot be set up.
  bool Convert(const CYv12Surface& surface, DisplayRect source, int dstW, int dstH,
               const CColourControls::Values& colours, std::uint8_t* dst, int dstStride);

 private:
  SwsContext* ctx_ = nullptr;
  CColourControls::Values applied_{0, 0, 0};
  bool detailsSet_ = false;
};

}  // namespace lumora
