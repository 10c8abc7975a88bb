#include "display/qt/Draw.h"

#include <QFontMetrics>
#include <QPainter>

#include <cmath>

#include "platform/qt/ColorRef.h"

namespace lumora {

void Draw::DrawLine(QPainter& dc, int x1, int y1, int x2, int y2, std::uint32_t colour) {
  DrawLineWidth(dc, x1, y1, x2, y2, 1, colour);
}

void Draw::DrawLineWidth(QPainter& dc, int x1, int y1, int x2, int y2, int width,
                         std::uint32_t colour) {
  const QPen previous = dc.pen();
  QPen pen(FromColorRef(colour));
  pen.setWidth(width);
  pen.setCapStyle(Qt::SquareCap);
  dc.setPen(pen);
  dc.drawLine(x1, y1, x2, y2);
  dc.setPen(previous);
}

void Draw::DrawPanelLine(QPainter& dc, const PanelLine& line) {
  DrawLineWidth(dc, line.x1, line.y1, line.x2, line.y2, line.width, line.colour);
}

QFont Draw::MakeFont(const QString& family, int height, int width, bool bold) {
  QFont font(family);
  font.setPixelSize(height);
  font.setBold(bold);
  const int average = QFontMetrics(font).averageCharWidth();
  if (average > 0 && width > 0) {
    font.setStretch(std::clamp(static_cast<int>(std::lround(100.0 * width / average)), 1, 4000));
  }
  return font;
}

void Draw::DrawTextBox(QPainter& dc, const QRect& rect, const QString& text, int alignment,
                       std::uint32_t background, std::uint32_t colour) {
  dc.save();
  dc.setClipRect(rect);
  const QRect extent =
      dc.fontMetrics().boundingRect(rect, alignment | Qt::TextSingleLine, text) & rect;
  dc.fillRect(extent, FromColorRef(background));
  dc.setPen(FromColorRef(colour));
  dc.drawText(rect, alignment | Qt::TextSingleLine, text);
  dc.restore();
}

}  // namespace lumora
