#include "data/qt/CGSensorDlg.h"

#include <QPainter>
#include <QPolygon>

#include "data/GSensorPlot.h"
#include "data/qt/GraphPaint.h"
#include "platform/qt/ColorRef.h"
#include "res/SkinBitmaps.h"

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
  if (QWidget* owner = parentWidget()) {
    const QRect frame = owner->frameGeometry();
    move(frame.center() - QPoint(kWidth / 2, kHeight / 2));
  }
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
    const GSensorPlot::Polylines lines = GSensorPlot::Make(
        m_pText ? m_pText->m_arrGSensor : std::vector<CGSensorData>{}, plot.width(), plot.height());
    auto draw = [&p](const std::vector<PlotPoint>& points, std::uint32_t colour) {
      QPolygon polygon;
      for (const PlotPoint& pt : points) polygon << QPoint(pt.x, pt.y);
      p.setPen(FromColorRef(colour));
      p.drawPolyline(polygon);
    };
    draw(lines.x, GSensorPlot::kXColour);
    draw(lines.y, GSensorPlot::kYColour);
    draw(lines.z, GSensorPlot::kZColour);
  }
  GraphPaint::DrawTransparent(dc, QPoint(GSensorPlot::kLeft, GSensorPlot::kTop), plot,
                              GSensorPlot::kTransparent);
}

}  // namespace lumora
