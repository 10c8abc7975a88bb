#include "app/MapPanel.h"

#include <QPainter>
#include <QRegularExpression>

#include "app/IDrivingTrackPort.h"
#include "app/PlaybackRules.h"

namespace lumora {

MapPanel::MapPanel(const IDrivingTrackPort* track, QWidget* parent)
    : QWidget(parent), track_(track) {}

void MapPanel::CallScript(const std::string& callText) {
  if (callText.empty()) return;
  lastCall_ = callText;
  const QString text = QString::fromStdString(callText);
  const qsizetype open = text.indexOf(QLatin1Char('('));
  if (open < 0) return;
  const QString name = text.mid(0, open).section(QLatin1Char(':'), -1).trimmed();
  const QStringList args = text.mid(open + 1).split(
      QRegularExpression(QStringLiteral("[ ,'\"\t();]")), Qt::SkipEmptyParts);
  if (name == QLatin1String("DrawCurrent") && args.size() >= 2) {
    where_ = QStringLiteral("%1, %2").arg(args[0], args[1]);
    update();
  }
}

void MapPanel::MarkPosition(std::int64_t positionMs) {
  double longitude = 0;
  double latitude = 0;
  if (track_ && track_->FixAt(positionMs, &longitude, &latitude))
    CallScript(PlaybackRules::DrawCurrentCall(longitude, latitude));
}

void MapPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), QColor(0x20, 0x24, 0x28));
  painter.setPen(QColor(0x80, 0x88, 0x90));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
  painter.setPen(Qt::white);
  painter.drawText(rect(), Qt::AlignCenter, where_.isEmpty() ? QStringLiteral("Map") : where_);
}

}  // namespace lumora
