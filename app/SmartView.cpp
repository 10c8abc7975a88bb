#include "app/SmartView.h"

#include <QPainter>

#include "res/SkinBitmaps.h"

namespace lumora {
namespace {

// Colours of the two indicator groups for each bitmap of the 448..459 set:
// inactive grey, active green, warning red; the third state tints the frame.
QColor GroupColour(int state) {
  switch (state) {
    case 1:
      return QColor(0x3C, 0xC8, 0x5A);
    case 2:
      return QColor(0xE0, 0x3A, 0x2E);
    default:
      return QColor(0x50, 0x55, 0x5A);
  }
}

}  // namespace

SmartView::SmartView(QWidget* parent) : QWidget(parent) {
  setFixedSize(SmartIndicator::kWidth, SmartIndicator::kHeight);
}

void SmartView::SetFrame(const SmartFrame& frame) {
  frame_ = frame;
  update();
}

void SmartView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setRenderHint(QPainter::Antialiasing);
  const QPixmap skin = SkinBitmap(frame_.bitmap);
  if (!skin.isNull()) {
    painter.drawPixmap(0, 0, skin);
    if (frame_.drawAlert) {
      // White is the alert picture's transparent colour.
      QImage alert = SkinImage(SmartIndicator::kAlertBitmap).convertToFormat(QImage::Format_ARGB32);
      for (int y = 0; y < alert.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(alert.scanLine(y));
        for (int x = 0; x < alert.width(); ++x)
          if ((line[x] & 0xFFFFFF) == 0xFFFFFF) line[x] = 0;
      }
      painter.drawImage(0, 0, alert);
    }
    DrawSpeed(painter);
    return;
  }
  painter.fillRect(rect(), QColor(0x1C, 0x21, 0x25));
  const int index = frame_.bitmap >= 448 ? frame_.bitmap - 448 : 0;
  const int pair = index / 3;  // (0,0) (1,1) (1,2) (2,1)
  const int third = index % 3;
  static const int kFirst[] = {0, 1, 1, 2};
  static const int kSecond[] = {0, 1, 2, 1};
  const int first = kFirst[pair < 4 ? pair : 0];
  const int second = kSecond[pair < 4 ? pair : 0];
  // Lane marks left and right of the read-out, and the third state as a bar.
  painter.setPen(Qt::NoPen);
  painter.setBrush(GroupColour(first));
  painter.drawRoundedRect(QRect(8, 20, 14, 120), 4, 4);
  painter.setBrush(GroupColour(second));
  painter.drawRoundedRect(QRect(158, 20, 14, 120), 4, 4);
  painter.setBrush(third == 0 ? QColor(0x50, 0x55, 0x5A)
                              : (third == 1 ? QColor(0xF0, 0xB4, 0x28) : QColor(0xE0, 0x3A, 0x2E)));
  painter.drawRoundedRect(QRect(30, 150, 120, 10), 3, 3);

  DrawSpeed(painter);
  if (frame_.drawAlert) {
    painter.setPen(QPen(QColor(0xE0, 0x3A, 0x2E), 4));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(2, 2, -2, -2));
  }
}

void SmartView::DrawSpeed(QPainter& painter) {
  painter.setPen(Qt::white);
  QFont big(QStringLiteral("Arial"));
  big.setPixelSize(42);
  painter.setFont(big);
  painter.drawText(QRect(30, 25, 80, 125), Qt::AlignLeft | Qt::AlignTop,
                   QString::fromStdString(frame_.speedText));
  QFont unit(QStringLiteral("Arial"));
  unit.setPixelSize(15);
  painter.setFont(unit);
  painter.drawText(QRect(113, 45, 37, 105), Qt::AlignLeft | Qt::AlignTop,
                   QString::fromStdString(frame_.unitText));
}

}  // namespace lumora
