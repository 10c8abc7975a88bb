#include "display/CPrintScale.h"

#include <algorithm>
#include <cmath>

namespace lumora {

PrintSize CPrintScale::Compute(int area, int areaWidth, int areaHeight, int screenWidth,
                               int screenHeight, int pageWidth, int pageHeight) {
  PrintSize out;
  const double refW = area == kWindow ? kWindowReferenceWidth : screenWidth;
  const double refH = area == kWindow ? kWindowReferenceHeight : screenHeight;
  if (refW <= 0 || refH <= 0 || pageWidth <= 0 || pageHeight <= 0 || areaWidth <= 0 ||
      areaHeight <= 0) {
    return out;
  }
  const double refAspect = refW / refH;
  const double pageAspect = static_cast<double>(pageWidth) / pageHeight;
  if (refAspect <= pageAspect) {
    out.widthFactor = (refAspect / pageAspect) * (areaWidth / refW);
    out.heightFactor = areaHeight / refH;
  } else {
    out.widthFactor = areaWidth / refW;
    out.heightFactor = (pageAspect / refAspect) * (areaHeight / refH);
  }
  const double largest = std::max(out.widthFactor, out.heightFactor);
  if (largest > 1.0) {
    out.widthFactor /= largest;
    out.heightFactor /= largest;
  }
  out.width = static_cast<int>(std::lround(pageWidth * out.widthFactor));
  out.height = static_cast<int>(std::lround(pageHeight * out.heightFactor));
  return out;
}

}  // namespace lumora
