#include "tools/skingen/SkinPainter.h"
#include "tools/skingen/PanelPictures.h"

#include "res/SkinIds.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>

#include <cmath>

namespace lumora::skingen {
namespace {

// Palette of the dark theme.
const QColor kWindow(0x16, 0x18, 0x1c);
const QColor kPanel(0x1f, 0x23, 0x29);
const QColor kFrame(0x3a, 0x41, 0x4b);
const QColor kAccent(0x3f, 0xa9, 0xf5);
const QColor kInk(0xdf, 0xe5, 0xec);
const QColor kInkDisabled(0x5a, 0x61, 0x6a);
const QColor kWarn(0xff, 0x4b, 0x3e);
const QColor kGood(0x4c, 0xd9, 0x64);

struct Face {
  QColor top, bottom, border, ink;
  QPointF offset;
};

Face FaceFor(int state) {
  switch (state) {
    case kStateDown:
      return {QColor(0x17, 0x1a, 0x1f), QColor(0x20, 0x25, 0x2b), kAccent, QColor(0x6c, 0xcb, 0xff),
              QPointF(1, 1)};
    case kStateOver:
      return {QColor(0x3b, 0x43, 0x4e), QColor(0x2e, 0x35, 0x3e), kAccent, QColor(Qt::white), {}};
    case kStateDisabled:
      return {QColor(0x23, 0x26, 0x2b),
              QColor(0x20, 0x23, 0x28),
              QColor(0x30, 0x35, 0x3c),
              kInkDisabled,
              {}};
    default:
      return {
          QColor(0x31, 0x37, 0x40), QColor(0x25, 0x2a, 0x31), QColor(0x48, 0x51, 0x5c), kInk, {}};
  }
}

QImage NewImage(QSize size, const QColor& fill) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

void Pen(QPainter& p, const QColor& c, qreal width = 2.0) {
  QPen pen(c, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);
}

void Fill(QPainter& p, const QColor& c) {
  p.setPen(Qt::NoPen);
  p.setBrush(c);
}

void Text(QPainter& p, const QRectF& r, const QString& text, const QColor& c, qreal px,
          bool bold = true) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(static_cast<int>(px));
  font.setBold(bold);
  p.setFont(font);
  p.setPen(c);
  p.drawText(r, Qt::AlignCenter, text);
}

QPolygonF Poly(std::initializer_list<QPointF> points) { return QPolygonF(QList<QPointF>(points)); }

// ---- Icons in a 24 x 24 design box ----

void IconMinus(QPainter& p, const QColor& c) {
  Pen(p, c, 2.2);
  p.drawLine(QPointF(6, 16), QPointF(18, 16));
}
void IconCross(QPainter& p, const QColor& c) {
  Pen(p, c, 2.2);
  p.drawLine(QPointF(7, 7), QPointF(17, 17));
  p.drawLine(QPointF(17, 7), QPointF(7, 17));
}
void IconPlay(QPainter& p, const QColor& c) {
  Fill(p, c);
  p.drawPolygon(Poly({{8, 5}, {19, 12}, {8, 19}}));
}
void IconPause(QPainter& p, const QColor& c) {
  Fill(p, c);
  p.drawRoundedRect(QRectF(6.5, 5, 4, 14), 1, 1);
  p.drawRoundedRect(QRectF(13.5, 5, 4, 14), 1, 1);
}
void IconStop(QPainter& p, const QColor& c) {
  Fill(p, c);
  p.drawRoundedRect(QRectF(6, 6, 12, 12), 1.5, 1.5);
}
void IconPrev(QPainter& p, const QColor& c) {
  Fill(p, c);
  p.drawRect(QRectF(5, 6, 2.5, 12));
  p.drawPolygon(Poly({{19, 6}, {8.5, 12}, {19, 18}}));
}
void IconNext(QPainter& p, const QColor& c) {
  Fill(p, c);
  p.drawRect(QRectF(16.5, 6, 2.5, 12));
  p.drawPolygon(Poly({{5, 6}, {15.5, 12}, {5, 18}}));
}
void IconStepBack(QPainter& p, const QColor& c) {
  Fill(p, c);
  p.drawPolygon(Poly({{12, 5}, {3, 10}, {12, 15}}));
  p.drawPolygon(Poly({{20, 5}, {11, 10}, {20, 15}}));
  Text(p, QRectF(4, 14, 16, 10), QStringLiteral("5s"), c, 8);
}
void IconStepForward(QPainter& p, const QColor& c) {
  Fill(p, c);
  p.drawPolygon(Poly({{4, 5}, {13, 10}, {4, 15}}));
  p.drawPolygon(Poly({{12, 5}, {21, 10}, {12, 15}}));
  Text(p, QRectF(4, 14, 16, 10), QStringLiteral("5s"), c, 8);
}
void IconSdCard(QPainter& p, const QColor& c) {
  Pen(p, c, 1.8);
  p.drawPolygon(Poly({{6, 3}, {15, 3}, {18.5, 6.5}, {18.5, 21}, {6, 21}}));
  Pen(p, c, 1.4);
  for (qreal x : {9.0, 11.5, 14.0}) p.drawLine(QPointF(x, 5.5), QPointF(x, 8.5));
  Text(p, QRectF(5, 11, 15, 9), QStringLiteral("SD"), c, 7.5);
}
void IconFolder(QPainter& p, const QColor& c) {
  Pen(p, c, 1.8);
  p.drawPolygon(Poly({{3, 6}, {9, 6}, {11, 8.5}, {21, 8.5}, {21, 19}, {3, 19}}));
  p.drawLine(QPointF(3, 11), QPointF(21, 11));
}
void IconGear(QPainter& p, const QColor& c, QPointF center = {12, 12}, qreal r = 7.0) {
  Fill(p, c);
  QPainterPath path;
  for (int i = 0; i < 8; ++i) {
    p.save();
    p.translate(center);
    p.rotate(i * 45.0);
    p.drawRect(QRectF(-r * 0.2, -r * 1.25, r * 0.4, r * 0.6));
    p.restore();
  }
  path.addEllipse(center, r * 0.85, r * 0.85);
  path.addEllipse(center, r * 0.35, r * 0.35);
  path.setFillRule(Qt::OddEvenFill);
  p.drawPath(path);
}
void IconSetup(QPainter& p, const QColor& c) { IconGear(p, c); }
void IconGraph(QPainter& p, const QColor& c) {
  Pen(p, c, 1.6);
  p.drawLine(QPointF(4, 4), QPointF(4, 20));
  p.drawLine(QPointF(4, 20), QPointF(21, 20));
  Pen(p, c, 2.0);
  p.drawPolyline(Poly({{5, 15}, {9, 9}, {13, 13}, {17, 6}, {20, 10}}));
}
void IconDownload(QPainter& p, const QColor& c) {
  Pen(p, c, 2.0);
  p.drawLine(QPointF(12, 3), QPointF(12, 14));
  p.drawPolyline(Poly({{7.5, 10}, {12, 14.5}, {16.5, 10}}));
  p.drawPolyline(Poly({{4, 15}, {4, 20}, {20, 20}, {20, 15}}));
}
void IconPrint(QPainter& p, const QColor& c) {
  Pen(p, c, 1.7);
  p.drawRect(QRectF(7, 3, 10, 5));
  p.drawRoundedRect(QRectF(3, 8, 18, 9), 1.5, 1.5);
  Fill(p, kPanel);
  p.drawRect(QRectF(7, 13, 10, 8));
  Pen(p, c, 1.7);
  p.drawRect(QRectF(7, 13, 10, 8));
  p.drawLine(QPointF(9, 16.5), QPointF(15, 16.5));
}
void IconCamera(QPainter& p, const QColor& c) {
  Pen(p, c, 1.7);
  p.drawRoundedRect(QRectF(3, 7, 18, 12), 2, 2);
  p.drawLine(QPointF(8, 7), QPointF(9.5, 4.5));
  p.drawLine(QPointF(9.5, 4.5), QPointF(14.5, 4.5));
  p.drawLine(QPointF(14.5, 4.5), QPointF(16, 7));
  p.drawEllipse(QPointF(12, 13), 3.5, 3.5);
}
void IconInfo(QPainter& p, const QColor& c) {
  Pen(p, c, 1.8);
  p.drawEllipse(QPointF(12, 12), 9, 9);
  Fill(p, c);
  p.drawEllipse(QPointF(12, 7.5), 1.4, 1.4);
  p.drawRect(QRectF(11, 10.5, 2, 7.5));
}
void IconCircleArrow(QPainter& p, const QColor& c, QPointF center, qreal r) {
  Pen(p, c, 1.9);
  const QRectF box(center.x() - r, center.y() - r, 2 * r, 2 * r);
  p.drawArc(box, 60 * 16, 280 * 16);
  Fill(p, c);
  const qreal a = 60.0 * M_PI / 180.0;
  const QPointF tip(center.x() + r * std::cos(a), center.y() - r * std::sin(a));
  p.drawPolygon(Poly({tip + QPointF(-4, -2.5), tip + QPointF(1.5, 3.5), tip + QPointF(2.5, -3.5)}));
}
void IconFormat(QPainter& p, const QColor& c) {
  Pen(p, c, 1.6);
  p.drawPolygon(Poly({{3, 3}, {10, 3}, {12.5, 5.5}, {12.5, 16}, {3, 16}}));
  IconCircleArrow(p, c, QPointF(16, 16), 5);
}
void IconFullScreen(QPainter& p, const QColor& c) {
  Pen(p, c, 2.0);
  p.drawPolyline(Poly({{4, 9}, {4, 4}, {9, 4}}));
  p.drawPolyline(Poly({{15, 4}, {20, 4}, {20, 9}}));
  p.drawPolyline(Poly({{20, 15}, {20, 20}, {15, 20}}));
  p.drawPolyline(Poly({{9, 20}, {4, 20}, {4, 15}}));
}
void IconRestoreSize(QPainter& p, const QColor& c) {
  Pen(p, c, 1.8);
  p.drawRect(QRectF(8, 4, 12, 10));
  Fill(p, kPanel);
  p.drawRect(QRectF(4, 10, 12, 10));
  Pen(p, c, 1.8);
  p.drawRect(QRectF(4, 10, 12, 10));
}
void IconSwap(QPainter& p, const QColor& c) {
  Pen(p, c, 2.0);
  p.drawLine(QPointF(4, 8), QPointF(19, 8));
  p.drawPolyline(Poly({{15, 4}, {19, 8}, {15, 12}}));
  p.drawLine(QPointF(5, 16), QPointF(20, 16));
  p.drawPolyline(Poly({{9, 12}, {5, 16}, {9, 20}}));
}
void IconMagnifier(QPainter& p, const QColor& c, bool plus) {
  Pen(p, c, 2.0);
  p.drawEllipse(QPointF(10, 10), 6, 6);
  p.drawLine(QPointF(14.5, 14.5), QPointF(20, 20));
  Pen(p, c, 1.8);
  p.drawLine(QPointF(7, 10), QPointF(13, 10));
  if (plus) p.drawLine(QPointF(10, 7), QPointF(10, 13));
}
void IconMap(QPainter& p, const QColor& c) {
  Pen(p, c, 1.7);
  p.drawPolygon(Poly({{3, 6}, {9, 4}, {15, 6}, {21, 4}, {21, 18}, {15, 20}, {9, 18}, {3, 20}}));
  p.drawLine(QPointF(9, 4), QPointF(9, 18));
  p.drawLine(QPointF(15, 6), QPointF(15, 20));
}
void IconMapSize(QPainter& p, const QColor& c, bool larger) {
  Pen(p, c, 1.7);
  p.drawRect(QRectF(3, 3, 18, 18));
  if (larger) {
    p.drawLine(QPointF(9, 15), QPointF(17, 7));
    p.drawPolyline(Poly({{12, 7}, {17, 7}, {17, 12}}));
  } else {
    p.drawLine(QPointF(17, 7), QPointF(10, 14));
    p.drawPolyline(Poly({{10, 9}, {10, 14}, {15, 14}}));
  }
}
void IconList(QPainter& p, const QColor& c) {
  Fill(p, c);
  for (qreal y : {6.0, 11.0, 16.0}) {
    p.drawEllipse(QPointF(5.5, y + 1), 1.5, 1.5);
    p.drawRect(QRectF(9, y, 11, 2));
  }
}
void IconListToggle(QPainter& p, const QColor& c, bool open) {
  Fill(p, c);
  for (qreal y : {5.0, 11.0, 17.0}) p.drawRect(QRectF(3, y, 9, 2));
  Pen(p, c, 2.2);
  if (open)
    p.drawPolyline(Poly({{20, 7}, {16, 12}, {20, 17}}));
  else
    p.drawPolyline(Poly({{16, 7}, {20, 12}, {16, 17}}));
}
void IconSpeed(QPainter& p, const QColor& c, int multiplier) {
  Text(p, QRectF(0, 2, 24, 20), QStringLiteral("x%1").arg(multiplier), c, 12);
}
void IconDit(QPainter& p, const QColor& c) {
  Text(p, QRectF(0, 2, 24, 20), QStringLiteral("DIT"), c, 9.5);
}
void IconPin(QPainter& p, const QColor& c) {
  QPainterPath path;
  path.moveTo(12, 21);
  path.cubicTo(6, 14, 5, 11, 5, 9);
  path.arcTo(QRectF(5, 2, 14, 14), 180, -180);
  path.cubicTo(19, 11, 18, 14, 12, 21);
  Pen(p, c, 1.8);
  p.drawPath(path);
  Fill(p, c);
  p.drawEllipse(QPointF(12, 9), 2.5, 2.5);
}
void IconDitSetup(QPainter& p, const QColor& c) {
  IconGear(p, c, QPointF(12, 8.5), 5.5);
  Text(p, QRectF(0, 14.5, 24, 9), QStringLiteral("DIT"), c, 7.5);
}
void IconGMode(QPainter& p, const QColor& c, int mode) {
  Pen(p, c, 1.2);
  p.drawLine(QPointF(3, 12), QPointF(21, 12));
  Pen(p, c, 1.8);
  if (mode == 0) {
    QPainterPath wave;
    wave.moveTo(3, 12);
    for (int x = 3; x <= 21; ++x) wave.lineTo(x, 12 - 6 * std::sin((x - 3) * 0.7));
    p.drawPath(wave);
  } else if (mode == 1) {
    p.drawPolyline(
        Poly({{3, 12}, {7, 12}, {9, 4}, {11, 12}, {15, 12}, {16, 8}, {17, 12}, {21, 12}}));
  } else {
    p.drawPolyline(Poly({{3, 18}, {8, 14}, {12, 15}, {16, 8}, {21, 6}}));
  }
  Text(p, QRectF(0, 15, 24, 9),
       mode == 2 ? QStringLiteral("km/h") : QStringLiteral("G%1").arg(mode + 1), c, 6.5);
}
void IconAccGraph(QPainter& p, const QColor& c) {
  Pen(p, c, 1.7);
  p.drawRoundedRect(QRectF(3, 4, 18, 16), 2, 2);
  p.drawPolyline(Poly({{5, 14}, {8, 14}, {10, 8}, {12, 17}, {14, 11}, {16, 14}, {19, 14}}));
}
void IconRecovery(QPainter& p, const QColor& c) { IconCircleArrow(p, c, QPointF(12, 12), 7.5); }
void IconThumbnails(QPainter& p, const QColor& c) {
  Fill(p, c);
  for (qreal x : {4.0, 13.0})
    for (qreal y : {4.0, 13.0}) p.drawRoundedRect(QRectF(x, y, 7, 7), 1, 1);
}
void IconChevron(QPainter& p, const QColor& c, bool right) {
  Pen(p, c, 2.4);
  if (right)
    p.drawPolyline(Poly({{9, 5}, {16, 12}, {9, 19}}));
  else
    p.drawPolyline(Poly({{15, 5}, {8, 12}, {15, 19}}));
}
void IconSliders(QPainter& p, const QColor& c) {
  Pen(p, c, 1.6);
  for (qreal y : {6.0, 12.0, 18.0}) p.drawLine(QPointF(4, y), QPointF(20, y));
  Fill(p, c);
  p.drawEllipse(QPointF(8, 6), 2.5, 2.5);
  p.drawEllipse(QPointF(16, 12), 2.5, 2.5);
  p.drawEllipse(QPointF(11, 18), 2.5, 2.5);
}
void IconSpeaker(QPainter& p, const QColor& c, bool muted) {
  Fill(p, c);
  p.drawPolygon(Poly({{3, 9}, {7, 9}, {12, 4.5}, {12, 19.5}, {7, 15}, {3, 15}}));
  Pen(p, c, 1.7);
  if (muted) {
    p.drawLine(QPointF(15, 9), QPointF(21, 15));
    p.drawLine(QPointF(21, 9), QPointF(15, 15));
  } else {
    p.drawArc(QRectF(10, 8, 8, 8), -50 * 16, 100 * 16);
    p.drawArc(QRectF(9, 4.5, 13, 15), -50 * 16, 100 * 16);
  }
}
void IconLayout(QPainter& p, const QColor& c, const QString& letter) {
  Pen(p, c, 1.6);
  p.drawRect(QRectF(3, 5, 13, 11));
  p.drawRect(QRectF(15, 13, 6, 6));
  Text(p, QRectF(3, 5, 13, 11), letter, c, 8);
}
void IconSkinSize(QPainter& p, const QColor& c) {
  Pen(p, c, 1.6);
  p.drawRect(QRectF(3, 5, 18, 14));
  p.drawLine(QPointF(3, 8), QPointF(21, 8));
  p.drawLine(QPointF(9, 16), QPointF(17, 10));
}

// ---- Buttons and pictures ----

void DrawFace(QPainter& p, QSize size, const Face& face, bool round) {
  const QRectF r(0.5, 0.5, size.width() - 1.0, size.height() - 1.0);
  QLinearGradient g(0, 0, 0, size.height());
  g.setColorAt(0, face.top);
  g.setColorAt(1, face.bottom);
  p.setPen(QPen(face.border, 1.0));
  p.setBrush(g);
  const qreal radius = round ? size.height() / 2.0 - 1 : 4.0;
  p.drawRoundedRect(r, radius, radius);
}

}  // namespace

QImage DrawButton(QSize size, int state, const IconPainter& icon, bool round) {
  // Rounded corners blend into the window colour; a mask lets the real background through.
  QImage image = NewImage(size, kWindow);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const Face face = FaceFor(state);
  DrawFace(p, size, face, round);
  if (icon) {
    const qreal side = std::min(size.width(), size.height()) * 0.72;
    p.translate((size.width() - side) / 2.0 + face.offset.x(),
                (size.height() - side) / 2.0 + face.offset.y());
    p.scale(side / 24.0, side / 24.0);
    icon(p, face.ink);
  }
  return image;
}

namespace {

void AddButton(std::vector<SkinImage>& out, int base, const QString& name, QSize size,
               const IconPainter& icon, bool round = false) {
  static const char* const kSuffix[] = {"normal", "down", "over", "disabled"};
  for (int state = 0; state < kButtonStateCount; ++state) {
    out.push_back({base + state, name + QLatin1Char('_') + QLatin1String(kSuffix[state]),
                   DrawButton(size, state, icon, round)});
  }
}

QImage DrawMask(QSize size, bool round) {
  QImage image = NewImage(size, Qt::white);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  Fill(p, Qt::black);
  const qreal radius = round ? size.height() / 2.0 - 1 : 4.0;
  p.drawRoundedRect(QRectF(0, 0, size.width(), size.height()), radius, radius);
  return image;
}

QImage DrawChannel(QSize size, bool filled) {
  QImage image = NewImage(size, kWindow);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal h = 6.0;
  const QRectF groove(0.5, (size.height() - h) / 2.0, size.width() - 1.0, h);
  if (filled) {
    QLinearGradient g(0, groove.top(), 0, groove.bottom());
    g.setColorAt(0, kAccent.lighter(120));
    g.setColorAt(1, kAccent.darker(130));
    p.setPen(QPen(kAccent.darker(150), 1));
    p.setBrush(g);
  } else {
    p.setPen(QPen(kFrame, 1));
    p.setBrush(QColor(0x2a, 0x2f, 0x36));
  }
  p.drawRoundedRect(groove, h / 2, h / 2);
  return image;
}

QImage DrawThumbStrip(QSize frame) {
  QImage image = NewImage(QSize(frame.width() * 3, frame.height()), kWindow);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor fills[] = {kInk, Qt::white, kAccent};
  for (int k = 0; k < 3; ++k) {
    const QRectF r(k * frame.width() + 1.5, 2.5, frame.width() - 3.0, frame.height() - 5.0);
    p.setPen(QPen(k == 2 ? kAccent.darker(150) : QColor(0x80, 0x88, 0x92), 1));
    p.setBrush(fills[k]);
    p.drawRoundedRect(r, 3, 3);
  }
  return image;
}

QImage DrawBackground() {
  // The client area of window mode 1 (1020 x 760); the panels follow the
  // control places of the main window.
  QImage image = NewImage(QSize(1020, 760), kWindow);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // Title strip: the window is dragged by it.
  QLinearGradient title(0, 0, 0, 33);
  title.setColorAt(0, QColor(0x26, 0x2b, 0x33));
  title.setColorAt(1, QColor(0x1b, 0x1e, 0x23));
  p.fillRect(QRect(0, 0, 1020, 33), title);
  p.fillRect(QRect(0, 32, 1020, 1), kFrame);
  Fill(p, kAccent);
  p.drawEllipse(QPointF(18, 16), 6, 6);
  Text(p, QRectF(30, 0, 200, 33), QStringLiteral("QX-41\u03b1 Viewer"), kInk, 13);
  // Video panes.
  auto pane = [&](const QRect& r) {
    p.setPen(QPen(kFrame, 1));
    p.setBrush(Qt::black);
    p.drawRect(r.adjusted(-2, -2, 1, 1));
  };
  pane(QRect(16, 37, 640, 360));
  pane(QRect(684, 37, 320, 240));
  // One panel under the large video: the seek row across, and the column
  // left of the data panel with the volume, the graph buttons and the
  // driver-assistance indicator.
  QPainterPath seekRow;
  seekRow.addRoundedRect(QRectF(10.5, 404.5, 650, 52), 6, 6);
  QPainterPath column;
  column.addRoundedRect(QRectF(10.5, 404.5, 194, 302), 6, 6);
  p.setPen(QPen(kFrame, 1));
  p.setBrush(kPanel);
  p.drawPath(seekRow.united(column).simplified());
  // The pane and map buttons between the small video and the map.
  p.drawRoundedRect(QRectF(678.5, 283.5, 332, 62), 6, 6);
  // Bottom bar with the transport, card and DIT groups, parted by rules.
  p.fillRect(QRect(0, 712, 1020, 48), QColor(0x12, 0x14, 0x17));
  p.fillRect(QRect(0, 712, 1020, 1), kFrame);
  p.fillRect(QRect(498, 722, 1, 28), kFrame);
  p.fillRect(QRect(878, 722, 1, 28), kFrame);
  return image;
}

QImage DrawThumbnailArea() {
  QImage image = NewImage(QSize(605, 250), kPanel);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kFrame, 1));
  for (int col = 0; col < 5; ++col) {
    for (int row = 0; row < 2; ++row) {
      p.setBrush(QColor(0x17, 0x1a, 0x1e));
      p.drawRoundedRect(QRectF(10.5 + col * 119, 10.5 + row * 120, 109, 109), 4, 4);
    }
  }
  return image;
}

// The driver-assistance picture: two lane marks (0 not seen, 1 seen, 2 departing)
// at the bottom and the vehicle ahead (t: 0 none, 1 seen, 2 collision warning) at the right.
QImage DrawIndicator(int left, int right, int ahead) {
  QImage image = NewImage(QSize(180, 165), QColor(0x14, 0x16, 0x1a));
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(kFrame, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(0.5, 0.5, 179, 164), 6, 6);
  auto laneColour = [](int s) {
    return s == 2 ? kWarn : s == 1 ? kGood : QColor(0x4a, 0x50, 0x58);
  };
  // Road in perspective along the bottom, under the speed text.
  Fill(p, QColor(0x23, 0x27, 0x2d));
  p.drawPolygon(Poly({{70, 120}, {110, 120}, {170, 160}, {10, 160}}));
  p.setPen(QPen(laneColour(left), left == 2 ? 6 : 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(72, 121), QPointF(22, 157));
  p.setPen(QPen(laneColour(right), right == 2 ? 6 : 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(108, 121), QPointF(158, 157));
  // Vehicle ahead, seen from behind, at the top right.
  if (ahead > 0) {
    const QColor car = ahead == 2 ? kWarn : QColor(0xc8, 0xcf, 0xd8);
    Fill(p, car);
    p.drawRoundedRect(QRectF(142, 18, 28, 20), 5, 5);
    p.drawRect(QRectF(144, 36, 6, 5));
    p.drawRect(QRectF(162, 36, 6, 5));
    Fill(p, QColor(0x14, 0x16, 0x1a));
    p.drawRoundedRect(QRectF(146, 21, 20, 7), 2, 2);
    if (ahead == 2) {
      p.setPen(QPen(kWarn, 2));
      p.setBrush(Qt::NoBrush);
      p.drawArc(QRectF(134, 8, 44, 44), 200 * 16, 140 * 16);
      p.drawArc(QRectF(128, 2, 56, 56), 210 * 16, 120 * 16);
    }
  }
  return image;
}

QImage DrawEventAlert() {
  // White is the transparent colour: only the badge is drawn, without smoothing
  // so that no near-white fringe remains around it.
  QImage image = NewImage(QSize(180, 165), Qt::white);
  QPainter p(&image);
  Fill(p, kWarn);
  p.drawRect(QRect(40, 6, 100, 20));
  Text(p, QRectF(40, 6, 100, 20), QStringLiteral("EVENT"), QColor(0x10, 0x10, 0x10), 13);
  return image;
}

QImage DrawGraphModeButton(const QString& label, bool down) {
  QImage image = DrawButton(QSize(40, 39), down ? kStateDown : kStateNormal, nullptr);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  Text(p, QRectF(down ? 1 : 0, down ? 1 : 0, 40, 39), label,
       FaceFor(down ? kStateDown : kStateNormal).ink, label.size() > 3 ? 9 : 12);
  return image;
}

QImage DrawAppIcon() {
  QImage image(64, 64, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  QRadialGradient g(QPointF(24, 20), 48);
  g.setColorAt(0, kAccent.lighter(130));
  g.setColorAt(1, kAccent.darker(160));
  p.setPen(Qt::NoPen);
  p.setBrush(g);
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);
  p.translate(14, 14);
  p.scale(36 / 24.0, 36 / 24.0);
  IconPlay(p, Qt::white);
  return image;
}

QImage DrawLogoStrip() {
  QImage image = NewImage(QSize(48 * 3, 48), kWindow);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor rims[] = {kFrame, kAccent, kAccent.darker(130)};
  for (int k = 0; k < 3; ++k) {
    p.save();
    p.translate(k * 48, 0);
    p.setPen(QPen(rims[k], 2));
    p.setBrush(k == 2 ? QColor(0x17, 0x1a, 0x1f) : kPanel);
    p.drawEllipse(QPointF(24, 24), 21, 21);
    Text(p, QRectF(0, 0, 48, 48), QStringLiteral("L"), k == 0 ? kInk : kAccent, 24);
    p.restore();
  }
  return image;
}

}  // namespace

std::vector<SkinImage> DrawWholeSkin() {
  std::vector<SkinImage> out;
  using namespace std::placeholders;
  const QSize transport(40, 32), tool(36, 32), small(24, 22);
  AddButton(out, kBmpMinimize, QStringLiteral("minimize"), small, IconMinus);
  AddButton(out, kBmpExit, QStringLiteral("exit"), small, IconCross);
  AddButton(out, kBmpPrev, QStringLiteral("prev"), transport, IconPrev, true);
  AddButton(out, kBmpPlay, QStringLiteral("play"), transport, IconPlay, true);
  AddButton(out, kBmpPause, QStringLiteral("pause"), transport, IconPause, true);
  AddButton(out, kBmpStop, QStringLiteral("stop"), transport, IconStop, true);
  AddButton(out, kBmpNext, QStringLiteral("next"), transport, IconNext, true);
  AddButton(out, kBmpStepBack, QStringLiteral("step_back"), transport, IconStepBack, true);
  AddButton(out, kBmpStepForward, QStringLiteral("step_forward"), transport, IconStepForward, true);
  AddButton(out, kBmpSdOpen, QStringLiteral("sd_open"), tool, IconSdCard);
  AddButton(out, kBmpOpen, QStringLiteral("open"), tool, IconFolder);
  AddButton(out, kBmpSetup, QStringLiteral("setup"), tool, IconSetup);
  AddButton(out, kBmpGraph, QStringLiteral("graph"), tool, IconGraph);
  AddButton(out, kBmpDownload, QStringLiteral("download"), tool, IconDownload);
  AddButton(out, kBmpPrint, QStringLiteral("print"), tool, IconPrint);
  AddButton(out, kBmpInfo, QStringLiteral("info"), tool, IconInfo);
  AddButton(out, kBmpSnapshot, QStringLiteral("snapshot"), tool, IconCamera);
  AddButton(out, kBmpFormat, QStringLiteral("format"), tool, IconFormat);
  AddButton(out, kBmpFullScreen, QStringLiteral("full_screen"), tool, IconFullScreen);
  AddButton(out, kBmpRestoreSize, QStringLiteral("restore_size"), tool, IconRestoreSize);
  AddButton(out, kBmpSwap, QStringLiteral("swap"), tool, IconSwap);
  AddButton(out, kBmpZoomIn, QStringLiteral("zoom_in"), tool,
            [](QPainter& p, const QColor& c) { IconMagnifier(p, c, true); });
  AddButton(out, kBmpZoomOut, QStringLiteral("zoom_out"), tool,
            [](QPainter& p, const QColor& c) { IconMagnifier(p, c, false); });
  AddButton(out, kBmpMapToggle, QStringLiteral("map_toggle"), tool, IconMap);
  AddButton(out, kBmpMapLarge, QStringLiteral("map_large"), tool,
            [](QPainter& p, const QColor& c) { IconMapSize(p, c, true); });
  AddButton(out, kBmpMapSmall, QStringLiteral("map_small"), tool,
            [](QPainter& p, const QColor& c) { IconMapSize(p, c, false); });
  AddButton(out, kBmpList, QStringLiteral("list"), tool, IconList);
  AddButton(out, kBmpListOpen, QStringLiteral("list_open"), QSize(20, 60),
            [](QPainter& p, const QColor& c) { IconListToggle(p, c, true); });
  AddButton(out, kBmpListClosed, QStringLiteral("list_closed"), QSize(20, 60),
            [](QPainter& p, const QColor& c) { IconListToggle(p, c, false); });
  const std::pair<int, int> speeds[] = {
      {kBmpSpeed1, 1}, {kBmpSpeed2, 2}, {kBmpSpeed4, 4}, {kBmpSpeed8, 8}};
  for (auto [base, multiplier] : speeds) {
    AddButton(out, base, QStringLiteral("speed_x%1").arg(multiplier), tool,
              [m = multiplier](QPainter& p, const QColor& c) { IconSpeed(p, c, m); });
  }
  AddButton(out, kBmpDit, QStringLiteral("dit"), tool, IconDit);
  AddButton(out, kBmpDitActive, QStringLiteral("dit_active"), tool,
            [](QPainter& p, const QColor&) { IconDit(p, kAccent); });
  AddButton(out, kBmpMark, QStringLiteral("mark"), tool, IconPin);
  AddButton(out, kBmpDitSetup, QStringLiteral("dit_setup"), tool, IconDitSetup);
  for (int mode = 0; mode < 3; ++mode) {
    AddButton(out, kBmpGMode0 + 4 * mode, QStringLiteral("gmode%1").arg(mode), tool,
              [mode](QPainter& p, const QColor& c) { IconGMode(p, c, mode); });
  }
  AddButton(out, kBmpAccGraph, QStringLiteral("acc_graph"), tool, IconAccGraph);
  AddButton(out, kBmpRecovery, QStringLiteral("recovery"), tool, IconRecovery);
  AddButton(out, kBmpThumbnails, QStringLiteral("thumbnails"), tool, IconThumbnails);
  AddButton(out, kBmpPageNext, QStringLiteral("page_next"), small,
            [](QPainter& p, const QColor& c) { IconChevron(p, c, true); });
  AddButton(out, kBmpPagePrev, QStringLiteral("page_prev"), small,
            [](QPainter& p, const QColor& c) { IconChevron(p, c, false); });
  AddButton(out, kBmpCardSettings, QStringLiteral("card_settings"), tool, IconSliders);
  {
    // The mute check box shows its down image while checked: the muted speaker.
    const IconPainter on = [](QPainter& p, const QColor& c) { IconSpeaker(p, c, false); };
    const IconPainter off = [](QPainter& p, const QColor& c) { IconSpeaker(p, c, true); };
    out.push_back({kBmpMute + kStateNormal, QStringLiteral("mute_normal"),
                   DrawButton(small, kStateNormal, on)});
    out.push_back(
        {kBmpMute + kStateDown, QStringLiteral("mute_down"), DrawButton(small, kStateDown, off)});
    out.push_back(
        {kBmpMute + kStateOver, QStringLiteral("mute_over"), DrawButton(small, kStateOver, on)});
    out.push_back({kBmpMute + kStateDisabled, QStringLiteral("mute_disabled"),
                   DrawButton(small, kStateDisabled, on)});
  }
  AddButton(out, kBmpLayoutFront, QStringLiteral("layout_front"), tool,
            [](QPainter& p, const QColor& c) { IconLayout(p, c, QStringLiteral("F")); });
  AddButton(out, kBmpLayoutRear, QStringLiteral("layout_rear"), tool,
            [](QPainter& p, const QColor& c) { IconLayout(p, c, QStringLiteral("R")); });
  AddButton(out, kBmpSkinSize, QStringLiteral("skin_size"), small, IconSkinSize);
  AddButton(out, kBmpTextButton, QStringLiteral("text_button"), QSize(80, 22), nullptr);
  AddButton(out, kBmpOrderBar, QStringLiteral("order_bar"), QSize(256, 12), nullptr);
  AddButton(out, kBmpListX, QStringLiteral("list_x"), QSize(25, 25), IconCross);
  AddButton(out, kBmpCategory, QStringLiteral("category"), QSize(60, 15), nullptr);
  out.push_back({kBmpRoundMask, QStringLiteral("round_mask"), DrawMask(transport, true)});
  out.push_back({kBmpSquareMask, QStringLiteral("square_mask"), DrawMask(tool, false)});

  out.push_back({kBmpSeekFilled, QStringLiteral("seek_filled"), DrawChannel(QSize(537, 20), true)});
  out.push_back({kBmpSeekEmpty, QStringLiteral("seek_empty"), DrawChannel(QSize(537, 20), false)});
  out.push_back({kBmpSeekThumb, QStringLiteral("seek_thumb"), DrawThumbStrip(QSize(14, 20))});
  out.push_back(
      {kBmpVolumeFilled, QStringLiteral("volume_filled"), DrawChannel(QSize(92, 20), true)});
  out.push_back(
      {kBmpVolumeEmpty, QStringLiteral("volume_empty"), DrawChannel(QSize(92, 20), false)});
  out.push_back({kBmpVolumeThumb, QStringLiteral("volume_thumb"), DrawThumbStrip(QSize(10, 20))});
  out.push_back(
      {kBmpBalanceFilled, QStringLiteral("balance_filled"), DrawChannel(QSize(200, 20), true)});
  out.push_back(
      {kBmpBalanceEmpty, QStringLiteral("balance_empty"), DrawChannel(QSize(200, 20), false)});
  out.push_back({kBmpLogo, QStringLiteral("logo"), DrawLogoStrip()});

  out.push_back({kBmpThumbnailArea, QStringLiteral("thumbnail_area"), DrawThumbnailArea()});
  out.push_back({kBmpGraphModeB, QStringLiteral("graph_mode_b"),
                 DrawGraphModeButton(QStringLiteral("|G|"), false)});
  out.push_back({kBmpGraphModeA, QStringLiteral("graph_mode_a"),
                 DrawGraphModeButton(QStringLiteral("\u00b1G"), false)});
  out.push_back({kBmpGraphModeSpeed, QStringLiteral("graph_mode_speed"),
                 DrawGraphModeButton(QStringLiteral("SPEED"), false)});
  out.push_back({kBmpBackground, QStringLiteral("background"), DrawBackground()});
  out.push_back({kBmpGraphModeBDown, QStringLiteral("graph_mode_b_down"),
                 DrawGraphModeButton(QStringLiteral("|G|"), true)});
  out.push_back({kBmpGraphModeADown, QStringLiteral("graph_mode_a_down"),
                 DrawGraphModeButton(QStringLiteral("\u00b1G"), true)});
  out.push_back({kBmpGraphModeSpeedDown, QStringLiteral("graph_mode_speed_down"),
                 DrawGraphModeButton(QStringLiteral("SPEED"), true)});
  // 448 + t: lanes not seen; 451 + t both seen; 454 + t right departing; 457 + t left departing.
  const std::pair<int, int> lanes[] = {{0, 0}, {1, 1}, {1, 2}, {2, 1}};
  for (int pair = 0; pair < 4; ++pair) {
    for (int t = 0; t < 3; ++t) {
      out.push_back({kBmpIndicatorFirst + 3 * pair + t,
                     QStringLiteral("indicator_%1%2_t%3")
                         .arg(lanes[pair].first)
                         .arg(lanes[pair].second)
                         .arg(t),
                     DrawIndicator(lanes[pair].first, lanes[pair].second, t)});
    }
  }
  out.push_back({kBmpAppIcon, QStringLiteral("app_icon"), DrawAppIcon()});
  out.push_back({kBmpEventAlert, QStringLiteral("event_alert"), DrawEventAlert()});
  AppendPanelPictures(out);
  return out;
}

}  // namespace lumora::skingen
