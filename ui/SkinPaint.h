#pragma once
// Drawing rules shared by the skinned controls, as plain functions on images:
// the mask combination, the draw modes (copy, stretch, tile), the caption
// rectangle and the frames of an image strip.

#include <QImage>
#include <QPixmap>
#include <QRect>

class QPainter;

namespace lumora {

class SkinPaint {
 public:
  enum DrawMode { kCopy = 0, kStretch = 1, kTile = 2 };

  // destination = ((destination XOR image) AND mask) XOR image, per pixel:
  // black mask pixels show the image, white ones keep the destination.
  // All three are used at the destination's size (image and mask stretched).
  static QImage ApplyMask(const QImage& destination, const QImage& image, const QImage& mask);

  // Draws `bitmap` into `target` by the draw mode.
  static void DrawBitmap(QPainter& painter, const QRect& target, const QPixmap& bitmap, int mode);

  // Caption rectangle: the item rectangle narrowed by 2 + margin left and right.
  static QRect TextRect(const QRect& item, int focus_margin);

  // Frame `index` of a strip of `count` equal frames (side by side, or one
  // above the other when `vertical`); an empty rectangle when out of range.
  static QRect FrameRect(const QSize& strip, int count, int index, bool vertical);
};

}  // namespace lumora
