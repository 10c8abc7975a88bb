#include "display/CColourControls.h"

#include <algorithm>

namespace lumora {

namespace {

std::int32_t Scale(const ColourRange& r, int percent) {
  const std::int64_t span = static_cast<std::int64_t>(r.upper) - r.lower;
  return static_cast<std::int32_t>(r.lower + span * percent / 100);
}

std::int32_t Pick(const ColourRange& r, std::int32_t video, bool useCurrent) {
  if (r.result < 0) return video;
  return useCurrent ? r.current : r.def;
}

}  // namespace

CColourControls::CColourControls()
    : brightness_(MakeSymmetric(-100 * kOne, 100 * kOne, 0)),
      contrast_(MakeSymmetric(0, 10 * kOne, kOne)),
      saturation_(MakeSymmetric(0, 10 * kOne, kOne)) {}

ColourRange CColourControls::MakeSymmetric(std::int32_t min, std::int32_t max, std::int32_t def) {
  ColourRange r;
  r.result = 0;
  r.def = def;
  r.current = def;
  r.lower = min;
  r.upper = max;
  const std::int64_t above = static_cast<std::int64_t>(max) - def;
  const std::int64_t below = static_cast<std::int64_t>(def) - min;
  if (above > below) {
    r.upper = static_cast<std::int32_t>(2LL * def - min);
  } else if (above < below) {
    r.lower = static_cast<std::int32_t>(2LL * def - max);
  }
  return r;
}

void CColourControls::SetBrightness(int percent) {
  brightness_.current =
      std::clamp(Scale(brightness_, percent), brightness_.lower, brightness_.upper);
}

void CColourControls::SetContrast(int percent) {
  const std::int32_t floor = contrast_.lower + kContrastFloor;
  contrast_.current =
      std::clamp(Scale(contrast_, percent), floor, std::max(floor, contrast_.upper));
}

CColourControls::Values CColourControls::ForVideo() const {
  return {Pick(brightness_, 0, true), Pick(contrast_, kOne, true), Pick(saturation_, kOne, true)};
}

CColourControls::Values CColourControls::ForStill() const {
  return {Pick(brightness_, 0, false), Pick(contrast_, kOne, false),
          Pick(saturation_, kOne, false)};
}

}  // namespace lumora
