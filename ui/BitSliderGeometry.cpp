#include "ui/BitSliderGeometry.h"

#include <algorithm>
#include <cstdint>

namespace lumora {

BitSliderGeometry::BitSliderGeometry(QSize control, QSize thumb, int thumb_offset, int minimum,
                                     int maximum, bool vertical)
    : control_(control),
      thumb_(thumb),
      thumb_offset_(thumb_offset),
      minimum_(minimum),
      maximum_(std::max(minimum, maximum)),
      vertical_(vertical) {}

int BitSliderGeometry::ThumbCentre(int position) const {
  const int half = ThumbLength() / 2;
  const std::int64_t travel = std::max(0, Length() - ThumbLength());
  const std::int64_t span = static_cast<std::int64_t>(maximum_) - minimum_;
  if (span <= 0) return half;
  const std::int64_t p = std::clamp<std::int64_t>(position, minimum_, maximum_) - minimum_;
  return half + static_cast<int>(p * travel / span);
}

QRect BitSliderGeometry::ThumbRect(int position) const {
  const int start = ThumbCentre(position) - ThumbLength() / 2;
  if (vertical_) return QRect(thumb_offset_, start, thumb_.width(), thumb_.height());
  return QRect(start, thumb_offset_, thumb_.width(), thumb_.height());
}

QRect BitSliderGeometry::FilledRect(int position) const {
  const int end = FilledLength(position);
  if (vertical_) return QRect(0, 0, control_.width(), end);
  return QRect(0, 0, end, control_.height());
}

QRect BitSliderGeometry::EmptyRect(int position) const {
  const int start = FilledLength(position);
  if (vertical_) return QRect(0, start, control_.width(), control_.height() - start);
  return QRect(start, 0, control_.width() - start, control_.height());
}

int BitSliderGeometry::PositionAt(int along) const {
  const std::int64_t travel = Length() - ThumbLength();
  const std::int64_t span = static_cast<std::int64_t>(maximum_) - minimum_;
  if (travel <= 0 || span <= 0) return minimum_;
  const std::int64_t offset = std::clamp<std::int64_t>(along - ThumbLength() / 2, 0, travel);
  return minimum_ + static_cast<int>((offset * span + travel / 2) / travel);
}

}  // namespace lumora
