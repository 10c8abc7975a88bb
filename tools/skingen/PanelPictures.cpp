#include "tools/skingen/PanelPictures.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <numbers>

#include "res/SkinIds.h"

namespace lumora::skingen {
namespace {

const QColor kFace(0x1C, 0x21, 0x25);
const QColor kRing(0x5A, 0x64, 0x6E);
const QColor kInk(0xD8, 0xDC, 0xE0);
const QColor kDim(0x80, 0x88, 0x90);
const QColor kRed(0xE0, 0x50, 0x40);
const QColor kKey(0x00, 0xFF, 0x00);  // transparent colour of the graph window

// Unit vector from the needle centre towards a speed 0..160, by the panel's
// rule: a = (s x 1.6875 - 45) degrees measured from the left (up to 80) or
// from the right (160 - s above 80), y growing downwards.
QPointF SpeedDirection(double speed) {
  const double folded = speed <= 80 ? speed : 160 - speed;
  const double a = (folded * 1.6875 - 45.0) * std::numbers::pi / 180.0;
  return {speed <= 80 ? -std::cos(a) : std::cos(a), -std::sin(a)};
}

// 177 x 178; the needle turns about (53, 52) with radius 45. Outside the
// dial the picture is transparent so that the graph strip stays visible.
QImage DrawSpeedometerFace() {
  QImage image(177, 178, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c(53, 52);
  p.setPen(QPen(kRing, 2));
  p.setBrush(kFace);
  p.drawEllipse(c, 51, 51);
  for (int s = 0; s <= 160; s += 10) {
    const QPointF d = SpeedDirection(s);
    const bool major = s % 40 == 0;
    p.setPen(QPen(s >= 120 ? kRed : kInk, major ? 2 : 1));
    p.drawLine(c + d * (major ? 38 : 42), c + d * 47);
  }
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(9);
  p.setFont(font);
  p.setPen(kDim);
  for (int s = 0; s <= 160; s += 40) {
    const QPointF at = c + SpeedDirection(s) * 29;
    p.drawText(QRectF(at.x() - 12, at.y() - 6, 24, 12), Qt::AlignCenter, QString::number(s));
  }
  p.setPen(kInk);
  p.setBrush(kRing);
  p.drawEllipse(c, 4, 4);
  return image;
}

// 89 x 92; the arrow starts at (45, 44) and is 23 pixels long.
QImage DrawHeadingFace() {
  QImage image(89, 92, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QPointF c(45, 44);
  p.setPen(QPen(kRing, 2));
  p.setBrush(kFace);
  p.drawEllipse(c, 40, 40);
  p.setPen(QPen(kDim, 1));
  p.drawEllipse(c, 23, 23);
  for (int deg = 0; deg < 360; deg += 30) {
    const double a = deg * std::numbers::pi / 180.0;
    const QPointF d(std::sin(a), -std::cos(a));
    p.drawLine(c + d * 25, c + d * 29);
  }
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(10);
  font.setBold(true);
  p.setFont(font);
  const std::pair<QString, QPointF> letters[] = {{QStringLiteral("N"), {0, -34}},
                                                 {QStringLiteral("E"), {34, 0}},
                                                 {QStringLiteral("S"), {0, 34}},
                                                 {QStringLiteral("W"), {-34, 0}}};
  for (const auto& [text, offset] : letters) {
    p.setPen(text == QLatin1String("N") ? kRed : kInk);
    const QPointF at = c + offset;
    p.drawText(QRectF(at.x() - 7, at.y() - 7, 14, 14), Qt::AlignCenter, text);
  }
  return image;
}

// 521 x 249 window picture: a title band, a frame around the plot place
// (46, 31) 460 x 160 and the axis names; green shows the window behind.
QImage DrawGSensorBackground() {
  QImage image(521, 249, QImage::Format_RGB32);
  image.fill(kKey);
  QPainter p(&image);
  p.fillRect(QRect(0, 0, 521, 249), kFace);
  p.fillRect(QRect(46, 31, 460, 160), kKey);
  p.setPen(QPen(kRing, 2));
  p.drawRect(QRect(45, 30, 462, 162));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(11);
  p.setFont(font);
  p.setPen(kDim);
  p.drawText(QRect(4, 31, 38, 14), Qt::AlignRight, QStringLiteral("+"));
  p.drawText(QRect(4, 104, 38, 14), Qt::AlignRight, QStringLiteral("0"));
  p.drawText(QRect(4, 177, 38, 14), Qt::AlignRight, QStringLiteral("-"));
  p.drawText(QRect(46, 196, 60, 14), Qt::AlignLeft, QStringLiteral("0 s"));
  p.drawText(QRect(446, 196, 60, 14), Qt::AlignRight, QStringLiteral("60 s"));
  const std::pair<QColor, QString> keys[] = {{QColor(0x00, 0xFE, 0x00), QStringLiteral("X")},
                                             {QColor(0xFF, 0x00, 0x00), QStringLiteral("Y")},
                                             {QColor(0x00, 0x00, 0xFF), QStringLiteral("Z")}};
  int x = 380;
  for (const auto& [colour, name] : keys) {
    p.fillRect(QRect(x, 12, 10, 3), colour);
    p.setPen(kInk);
    p.drawText(QRect(x + 13, 6, 20, 14), Qt::AlignLeft, name);
    x += 40;
  }
  return image;
}

// 460 x 160 plot: green (transparent) with a faint grid and the middle line.
QImage DrawGSensorPlot() {
  QImage image(460, 160, QImage::Format_RGB32);
  image.fill(kKey);
  QPainter p(&image);
  p.setPen(QColor(0x1C, 0x4D, 0x5B));
  for (int x = 0; x < 460; x += 46) p.drawLine(x, 0, x, 159);
  for (int y = 0; y < 160; y += 40) p.drawLine(0, y, 459, y);
  p.setPen(kRing);
  p.drawLine(0, 80, 459, 80);
  return image;
}

}  // namespace

void AppendPanelPictures(std::vector<SkinImage>& out) {
  out.push_back({kBmpGSensorPlot, QStringLiteral("gsensor_plot"), DrawGSensorPlot()});
  out.push_back(
      {kBmpGSensorBackground, QStringLiteral("gsensor_background"), DrawGSensorBackground()});
  out.push_back({kBmpSpeedometerFace, QStringLiteral("speedometer_face"), DrawSpeedometerFace()});
  out.push_back({kBmpHeadingFace, QStringLiteral("heading_face"), DrawHeadingFace()});
}

}  // namespace lumora::skingen
