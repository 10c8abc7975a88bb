#include "app/ExportMarks.h"

#include <QPainter>

#include <algorithm>

namespace lumora {

ExportMarks::ExportMarks(QWidget* strip) : QWidget(strip) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  hide();
}

void ExportMarks::SetMarks(std::optional<double> in, std::optional<double> out) {
  m_in = in;
  m_out = out;
  if (parentWidget() != nullptr) setGeometry(parentWidget()->rect());
  setVisible(m_in.has_value() || m_out.has_value());
  raise();
  update();
}

void ExportMarks::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const auto draw = [&](std::optional<double> at, QColor colour) {
    if (!at) return;
    const int x = std::clamp(static_cast<int>(*at * (width() - 1)), 0, width() - 2);
    p.fillRect(x, 0, 2, height(), colour);
    // A small flag at the top marks which way the clip runs.
    const int dir = colour == Qt::green ? 1 : -1;
    const QPoint flag[] = {{x, 0}, {x + dir * 6, 0}, {x, 6}};
    p.setBrush(colour);
    p.setPen(Qt::NoPen);
    p.drawPolygon(flag, 3);
  };
  draw(m_in, Qt::green);
  draw(m_out, Qt::red);
}

}  // namespace lumora
