#include "ui/SkinPaint.h"

#include <QPainter>

namespace lumora {

QImage SkinPaint::ApplyMask(const QImage& destination, const QImage& image, const QImage& mask) {
  const QSize size = destination.size();
  QImage out = destination.convertToFormat(QImage::Format_RGB32);
  if (size.isEmpty()) return out;
  const QImage src = image.scaled(size).convertToFormat(QImage::Format_RGB32);
  const QImage and_mask = mask.scaled(size).convertToFormat(QImage::Format_RGB32);
  for (int y = 0; y < size.height(); ++y) {
    auto* d = reinterpret_cast<QRgb*>(out.scanLine(y));
    const auto* s = reinterpret_cast<const QRgb*>(src.constScanLine(y));
    const auto* m = reinterpret_cast<const QRgb*>(and_mask.constScanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      // Source-invert, source-and, source-invert; alpha stays opaque.
      d[x] = ((((d[x] ^ s[x]) & m[x]) ^ s[x]) & 0x00FFFFFFu) | 0xFF000000u;
    }
  }
  return out;
}

void SkinPaint::DrawBitmap(QPainter& painter, const QRect& target, const QPixmap& bitmap,
                           int mode) {
  if (bitmap.isNull()) return;
  switch (mode) {
    case kTile:
      painter.drawTiledPixmap(target, bitmap);
      break;
    case kCopy:
      painter.drawPixmap(target.topLeft(), bitmap,
                         QRect(QPoint(0, 0), target.size()).intersected(bitmap.rect()));
      break;
    default:
      painter.drawPixmap(target, bitmap);
      break;
  }
}

QRect SkinPaint::TextRect(const QRect& item, int focus_margin) {
  const int inset = 2 + focus_margin;
  return item.adjusted(inset, 0, -inset, 0);
}

QRect SkinPaint::FrameRect(const QSize& strip, int count, int index, bool vertical) {
  if (count <= 0 || index < 0 || index >= count) return QRect();
  if (vertical) {
    const int h = strip.height() / count;
    return QRect(0, index * h, strip.width(), h);
  }
  const int w = strip.width() / count;
  return QRect(index * w, 0, w, strip.height());
}

}  // namespace lumora
