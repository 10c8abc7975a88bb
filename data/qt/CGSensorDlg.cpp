#include "data/qt/CGSensorDlg.h"

#include <QPainter>
#include <QPolygon>
#include <QScreen>

#include "data/GSensorPlot.h"
#include "data/qt/GraphPaint.h"
#include "platform/qt/ColorRef.h"
#include "res/SkinBitmaps.h"
#include "ui/WindowPlacement.h"

namespace lumora {

CGSensorDlg::CGSensorDlg(const CTextData* text, QWidget* owner) : QDialog(owner), m_pText(text) {
  setWindowTitle(QString::fromUtf8("가속도 그래프"));
  setModal(false);
  setFixedSize(kWidth, kHeight);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  setPalette(pal);
  setAutoFillBackground(true);
  CentreOnOwner();
}

void CGSensorDlg::CentreOnOwner() {
  QWidget* owner = parentWidget();
  if (!owner) return;
  QScreen* screen = owner->screen();
  const QRect area = screen ? screen->availableGeometry() : QRect();
  move(WindowPlacement::CentredOn(QSize(kWidth, kHeight), owner->frameGeometry(), area).topLeft());
}

void CGSensorDlg::SetPosition(std::int64_t positionMs) {
  if (positionMs == m_nPosition) return;
  m_nPosition = positionMs;
  update();
}

void CGSensorDlg::paintEvent(QPaintEvent*) {
  QPainter dc(this);
  Paint(dc);
}

QImage CGSensorDlg::Render() {
  QImage image(size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter dc(&image);
  Paint(dc);
  return image;
}

void CGSensorDlg::Paint(QPainter& dc) {
  GraphPaint::DrawTransparent(dc, QPoint(0, 0), SkinImage(kBmpGSensorBackground).scaled(size()),
                              GSensorPlot::kTransparent);
  QImage plot = SkinImage(kBmpGSensorPlot).convertToFormat(QImage::Format_RGB32);
  if (plot.isNull()) return;
  {
    QPainter p(&plot);
    const GSensorPlot::Polylines lines =
        GSensorPlot::Make(m_pText ? m_pText->m_arrGSensor : std::vector<CGSensorData>{},
                          plot.width(), plot.height(), GSensorPlot::MinuteStart(m_nPosition));
    auto draw = [&p](const std::vector<PlotPoint>& points, std::uint32_t colour) {
      QPolygon polygon;
      for (const PlotPoint& pt : points) polygon << QPoint(pt.x, pt.y);
      p.setPen(FromColorRef(colour));
      p.drawPolyline(polygon);
    };
    draw(lines.x, GSensorPlot::kXColour);
    draw(lines.y, GSensorPlot::kYColour);
    draw(lines.z, GSensorPlot::kZColour);
    if (m_pText && !m_pText->m_arrGSensor.empty()) {
      const int x = GSensorPlot::CursorX(m_nPosition, plot.width());
      p.setPen(Qt::white);
      p.drawLine(x, 0, x, plot.height() - 1);
    }
  }
  GraphPaint::DrawTransparent(dc, QPoint(GSensorPlot::kLeft, GSensorPlot::kTop), plot,
                              GSensorPlot::kTransparent);
}

}  // namespace lumora
