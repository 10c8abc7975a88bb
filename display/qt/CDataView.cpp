#include "display/qt/CDataView.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

#include "display/qt/Draw.h"
#include "res/SkinBitmaps.h"

namespace lumora {
namespace {

QRect TextLine(int y) {
  return QRect(QPoint(DataPanelRules::kTextLeft, y),
               QPoint(DataPanelRules::kTextRight - 1, y + DataPanelRules::kTextLineHeight - 1));
}

}  // namespace

void CDataView::DrawAll(QPainter& dc) {
  DrawGraphStrip(dc);
  DrawDataText(dc);
  DrawGauges(dc);
}

void CDataView::DrawDataText(QPainter& dc) {
  const DataPanelInput& in = *m_pInput;
  if (!in.fullScreen) {
    dc.save();
    dc.setFont(Draw::MakeFont(QStringLiteral("Arial"), 12, 6));
    auto line = [&](int y, const std::string& text) {
      Draw::DrawTextBox(dc, TextLine(y), QString::fromStdString(text), Qt::AlignLeft | Qt::AlignTop,
                        DataPanelRules::kTextBack, DataPanelRules::kWhite);
    };
    line(DataPanelRules::kLabelY, in.label);
    const std::uint32_t slot = m_pTrack->GetResampledSlot(in.position, in.duration);
    if (m_timeLabel != in.label) {
      m_timeLabel = in.label;
      m_timeText.clear();
    }
    if (auto time = DataPanelRules::TimeOfDayText(m_pTrack->GetResampled(slot))) m_timeText = *time;
    if (!in.notice.empty()) {
      line(DataPanelRules::kTimeY, in.notice);
    } else if (!m_timeText.empty()) {
      line(DataPanelRules::kTimeY, m_timeText);
    }
    if (in.fix.valid) {
      line(DataPanelRules::kLatitudeY,
           DataPanelRules::CoordinateText(in.fix.latitude, in.fix.northSouth));
      line(DataPanelRules::kLongitudeY,
           DataPanelRules::CoordinateText(in.fix.longitude, in.fix.eastWest));
    } else {
      line(DataPanelRules::kLatitudeY, DataPanelRules::BlankLine());
      line(DataPanelRules::kLongitudeY, DataPanelRules::BlankLine());
    }
    dc.restore();
  }
  m_pTrack->SetRestartSignal();
}

void CDataView::DrawGraphStrip(QPainter& dc) {
  const DataPanelInput& in = *m_pInput;
  if (in.fullScreen) return;
  QImage strip(DataPanelRules::kStripBitmapWidth, DataPanelRules::kStripBitmapHeight,
               QImage::Format_RGB32);
  strip.fill(Qt::black);
  {
    QPainter off(&strip);
    for (const PanelLine& line : DataPanelRules::GridLines()) Draw::DrawPanelLine(off, line);
    for (const PanelLine& line :
         DataPanelRules::Curves(*m_pTrack, in.graphMode, in.duration, in.speedUnit))
      Draw::DrawPanelLine(off, line);
    if (DataPanelRules::CursorShown(*m_pTrack, in.graphMode)) {
      const int x = DataPanelRules::CursorX(in.position, in.duration);
      Draw::DrawLine(off, x, 640, x, 550, DataPanelRules::kCursorColour);
    }
  }
  dc.drawImage(QPoint(DataPanelRules::kCopyTargetX, DataPanelRules::kCopyTargetY), strip,
               QRect(DataPanelRules::kCopySourceX, DataPanelRules::kCopySourceY,
                     DataPanelRules::kCopyWidth, DataPanelRules::kCopyHeight));
  dc.save();
  dc.setFont(Draw::MakeFont(QStringLiteral("Arial"), 13, 6));
  const std::vector<std::string> labels = DataPanelRules::AxisLabels(in.graphMode, in.speedUnit);
  for (int i = 0; i < static_cast<int>(labels.size()); ++i) {
    const QRect rect(QPoint(216, 575 + 18 * i), QPoint(254, 614 + 18 * i));
    Draw::DrawTextBox(dc, rect, QString::fromStdString(labels[i]), Qt::AlignRight | Qt::AlignTop,
                      DataPanelRules::kLabelBack, DataPanelRules::kWhite);
  }
  dc.restore();
}

void CDataView::DrawFacesAndNeedle(QPainter& dc, int speed) {
  const PanelPoint end = DataPanelRules::NeedleEnd(speed);
  const QImage speedFace = SkinImage(kBmpSpeedometerFace);
  if (!speedFace.isNull()) {
    dc.drawImage(QPoint(DataPanelRules::kSpeedFaceX, DataPanelRules::kSpeedFaceY), speedFace,
                 QRect(0, 0, DataPanelRules::kSpeedFaceWidth, DataPanelRules::kSpeedFaceHeight));
  }
  Draw::DrawLineWidth(dc, DataPanelRules::kNeedleCentreX, DataPanelRules::kNeedleCentreY, end.x,
                      end.y, 2, DataPanelRules::kNeedleColour);
  const QImage headingFace = SkinImage(kBmpHeadingFace);
  if (!headingFace.isNull()) {
    dc.drawImage(
        QPoint(DataPanelRules::kHeadingFaceX, DataPanelRules::kHeadingFaceY), headingFace,
        QRect(0, 0, DataPanelRules::kHeadingFaceWidth, DataPanelRules::kHeadingFaceHeight));
  }
}

void CDataView::DrawGauges(QPainter& dc) {
  const DataPanelInput& in = *m_pInput;
  if (in.fullScreen) return;
  const int speed = DataPanelRules::GaugeSpeed(*m_pTrack, in.position, in.duration, in.speedUnit);
  DrawFacesAndNeedle(dc, speed);
  Draw::DrawPanelLine(dc, DataPanelRules::HeadingArrow(m_pTrack->GetHeading(in.position),
                                                       DataPanelRules::FoldedSpeed(speed)));
}

void CDataView::DrawDitPanel(QPainter& dc, const DitPanelValues& values) {
  if (values.fullScreen) return;
  // Graph strip: grid and speed curve off-screen, copied in one block.
  QImage strip(DataPanelRules::kStripBitmapWidth, DataPanelRules::kStripBitmapHeight,
               QImage::Format_RGB32);
  strip.fill(Qt::black);
  {
    QPainter off(&strip);
    for (const PanelLine& line : DataPanelRules::GridLines()) Draw::DrawPanelLine(off, line);
    for (const PanelLine& line : DataPanelRules::DitSpeedCurve(values.speedsKmh, values.speedUnit))
      Draw::DrawPanelLine(off, line);
  }
  dc.drawImage(QPoint(DataPanelRules::kCopyTargetX, DataPanelRules::kCopyTargetY), strip,
               QRect(DataPanelRules::kCopySourceX, DataPanelRules::kCopySourceY,
                     DataPanelRules::kCopyWidth, DataPanelRules::kCopyHeight));
  dc.save();
  dc.setFont(Draw::MakeFont(QStringLiteral("Arial"), 13, 6));
  const std::vector<std::string> labels = DataPanelRules::DitAxisLabels(values.speedUnit);
  for (int i = 0; i < static_cast<int>(labels.size()); ++i) {
    const QRect rect(QPoint(216, 575 + 18 * i), QPoint(254, 614 + 18 * i));
    Draw::DrawTextBox(dc, rect, QString::fromStdString(labels[i]), Qt::AlignRight | Qt::AlignTop,
                      DataPanelRules::kLabelBack, DataPanelRules::kWhite);
  }
  // Text block.
  dc.setFont(Draw::MakeFont(QStringLiteral("Arial"), 12, 6));
  const int ys[] = {DataPanelRules::kLabelY, DataPanelRules::kTimeY, DataPanelRules::kLatitudeY,
                    DataPanelRules::kLongitudeY};
  for (int i = 0; i < 4; ++i) {
    const std::string& text = values.lines[static_cast<std::size_t>(i)];
    Draw::DrawTextBox(dc, TextLine(ys[i]),
                      QString::fromStdString(text.empty() ? DataPanelRules::BlankLine() : text),
                      Qt::AlignLeft | Qt::AlignTop, DataPanelRules::kTextBack,
                      DataPanelRules::kWhite);
  }
  dc.restore();
  // Gauges: the needle follows the current point; the heading arrow rests.
  const int speed = std::min(DataPanelRules::DisplaySpeed(values.currentSpeedKmh, values.speedUnit),
                             DataPanelRules::kGaugeMaxSpeed);
  DrawFacesAndNeedle(dc, std::max(0, speed));
}

}  // namespace lumora
