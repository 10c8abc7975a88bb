#include "data/qt/GraphPaint.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/qt/ColorRef.h"

namespace lumora {

void GraphPaint::Line(QPainter& dc, const GraphLine& line) {
  const QPen previous = dc.pen();
  QPen pen(FromColorRef(line.colour));
  pen.setWidth(line.width);
  dc.setPen(pen);
  dc.drawLine(line.x1, line.y1, line.x2, line.y2);
  dc.setPen(previous);
}

void GraphPaint::Text(QPainter& dc, const GraphText& text, int alignment,
                      std::uint32_t background) {
  const QRect rect(QPoint(text.left, text.top), QPoint(text.right - 1, text.bottom - 1));
  const QString s = QString::fromStdString(text.text);
  dc.save();
  dc.setClipRect(rect);
  dc.fillRect(dc.fontMetrics().boundingRect(rect, alignment | Qt::TextSingleLine, s) & rect,
              FromColorRef(background));
  dc.setPen(FromColorRef(text.colour));
  dc.drawText(rect, alignment | Qt::TextSingleLine, s);
  dc.restore();
}

QFont GraphPaint::BoldFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(14);
  font.setBold(true);
  const int average = QFontMetrics(font).averageCharWidth();
  if (average > 0)
    font.setStretch(std::clamp(static_cast<int>(std::lround(700.0 / average)), 1, 4000));
  return font;
}

void GraphPaint::DrawTransparent(QPainter& dc, const QPoint& at, const QImage& image,
                                 std::uint32_t transparent) {
  if (image.isNull()) return;
  QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = FromColorRef(transparent).rgb();
  for (int y = 0; y < keyed.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x)
      if ((row[x] | 0xFF000000u) == key) row[x] = 0;
  }
  dc.drawImage(at, keyed);
}

}  // namespace lumora
