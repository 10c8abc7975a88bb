#pragma once
// Thumb and channel arithmetic of a bitmap slider (CBitSlider): where the
// thumb sits for a position, where the filled image ends, which position a
// point along the channel means, and whether a point hits the thumb.

#include <QPoint>
#include <QRect>
#include <QSize>

namespace lumora {

class BitSliderGeometry {
 public:
  BitSliderGeometry(QSize control, QSize thumb, int thumb_offset, int minimum, int maximum,
                    bool vertical);

  // Centre of the thumb along the channel: the thumb stays inside the control,
  // its centre moving linearly from thumb/2 (minimum) to length - thumb/2 (maximum).
  int ThumbCentre(int position) const;
  // The thumb bitmap centred on ThumbCentre, at the thumb offset across the channel.
  QRect ThumbRect(int position) const;
  // The filled image covers [0, FilledLength) along the channel, the empty one the rest.
  int FilledLength(int position) const { return ThumbCentre(position); }
  QRect FilledRect(int position) const;
  QRect EmptyRect(int position) const;
  // The position whose thumb centre is nearest to `along` (clamped to the range).
  int PositionAt(int along) const;
  int Along(QPoint point) const { return vertical_ ? point.y() : point.x(); }

 private:
  int Length() const { return vertical_ ? control_.height() : control_.width(); }
  int ThumbLength() const { return vertical_ ? thumb_.height() : thumb_.width(); }

  QSize control_;
  QSize thumb_;
  int thumb_offset_;
  int minimum_;
  int maximum_;
  bool vertical_;
};

}  // namespace lumora
