#include "display/CScrollAxis.h"

#include <algorithm>

namespace lumora {

void CScrollAxis::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
}

int CScrollAxis::MoveBy(int step) {
  const int limit = std::max(min_, max_ - page_);
  const int next = std::clamp(pos_ + step, min_, limit);
  const int moved = next - pos_;
  pos_ = next;
  return moved;
}

int CScrollAxis::Scroll(int code, int thumb) {
  switch (code) {
    case kLineUp:
      return MoveBy(-kLineStep);
    case kLineDown:
      return MoveBy(kLineStep);
    case kPageUp:
      return MoveBy(-kPageStep);
    case kPageDown:
      return MoveBy(kPageStep);
    case kThumbPosition:
    case kThumbTrack:
      return MoveBy(thumb - pos_);
    default:
      return 0;
  }
}

int CScrollAxis::Wheel(int delta) {
  if (delta == kWheelNotch) return MoveBy(-kPageStep);
  if (delta == -kWheelNotch) return MoveBy(kPageStep);
  return 0;
}

}  // namespace lumora
