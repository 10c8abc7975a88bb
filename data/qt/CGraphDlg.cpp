#include "data/qt/CGraphDlg.h"

#include <QMouseEvent>
#include <QPainter>

#include "data/qt/GraphPaint.h"
#include "platform/qt/ColorRef.h"
#include "res/SkinBitmaps.h"
#include "ui/CSkinButton.h"

namespace lumora {

CGraphDlg::CGraphDlg(const CDrivingTrack* track, std::int64_t durationMs, int speedUnit,
                     bool compact, QWidget* parent)
    : QDialog(parent),
      m_pTrack(track),
      m_nDuration(durationMs),
      m_nSpeedUnit(speedUnit),
      m_layout(GraphDlgRules::Layout(compact)) {
  setWindowTitle(QStringLiteral("Graph"));
  setModal(true);
  setMouseTracking(true);
  setFixedSize(m_layout.windowWidth, m_layout.windowHeight);
  move(0, 0);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::black);
  pal.setColor(QPalette::ButtonText, FromColorRef(GraphDlgRules::kControlText));
  pal.setColor(QPalette::WindowText, FromColorRef(GraphDlgRules::kControlText));
  setPalette(pal);
  setAutoFillBackground(true);

  m_pModeButton = new CSkinButton(this, GraphDlgRules::kModeButtonId);
  m_pModeButton->setGeometry(m_layout.buttonX, m_layout.buttonY, 40, 39);
  connect(m_pModeButton, &CSkinButton::Clicked, this, [this](int) { OnChangeMode(); });
  ApplyModeBitmaps();
  // The second button of the template stays hidden and has no handler.
  m_pHiddenButton = new CSkinButton(this, GraphDlgRules::kHiddenButtonId);
  m_pHiddenButton->setGeometry(m_layout.buttonX - 50, m_layout.buttonY, 40, 39);
  m_pHiddenButton->hide();
}

void CGraphDlg::ApplyModeBitmaps() {
  const auto [normal, down] = GraphDlgRules::ModeBitmaps(m_nMode);
  m_pModeButton->SetBitmaps(SkinBitmap(normal), SkinBitmap(down));
  m_pModeButton->SizeToBitmap();
}

void CGraphDlg::SetDuration(std::int64_t durationMs) {
  m_nDuration = durationMs;
  update();
}

void CGraphDlg::OnChangeMode() {
  m_nMode = GraphDlgRules::NextMode(m_nMode);
  ApplyModeBitmaps();
  update();
}

void CGraphDlg::OnMouseRow(int y) {
  m_strReadout = QString::fromStdString(GraphDlgRules::Readout(m_nMode, y, m_nSpeedUnit));
  update();
}

void CGraphDlg::mouseMoveEvent(QMouseEvent* event) {
  OnMouseRow(static_cast<int>(event->position().y()));
  QDialog::mouseMoveEvent(event);
}

void CGraphDlg::paintEvent(QPaintEvent*) {
  QPainter dc(this);
  Paint(dc);
}

QImage CGraphDlg::Render() {
  QImage image(size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter dc(&image);
  Paint(dc);
  return image;
}

void CGraphDlg::Paint(QPainter& dc) {
  dc.fillRect(rect(), Qt::black);
  for (const GraphLine& line : GraphDlgRules::GridLines(m_nDuration, m_layout))
    GraphPaint::Line(dc, line);
  dc.setFont(GraphPaint::BoldFont());
  for (const GraphText& label : GraphDlgRules::YLabels(m_nMode, m_nSpeedUnit, m_layout))
    GraphPaint::Text(dc, label, Qt::AlignRight | Qt::AlignTop, GraphDlgRules::kTextBack);
  for (const GraphText& entry : GraphDlgRules::Legend(m_nMode, m_layout))
    GraphPaint::Text(dc, entry, Qt::AlignRight | Qt::AlignTop, GraphDlgRules::kTextBack);
  if (m_pTrack) {
    for (const GraphLine& line :
         GraphDlgRules::Curves(*m_pTrack, m_nMode, m_nDuration, m_nSpeedUnit, m_layout))
      GraphPaint::Line(dc, line);
  }
  if (!m_strReadout.isEmpty()) {
    GraphPaint::Text(
        dc,
        {GraphDlgRules::kReadoutX, GraphDlgRules::kReadoutY, GraphDlgRules::kReadoutX + 200,
         GraphDlgRules::kReadoutY + 18, m_strReadout.toStdString(), 0xFFFFFF},
        Qt::AlignLeft | Qt::AlignTop, GraphDlgRules::kTextBack);
  }
}

}  // namespace lumora
