#pragma once
// A plain map pane: shows where the marker is (longitude, latitude of the
// last DrawCurrent call) until the web map is wired in.

#include <QString>
#include <QWidget>

#include "app/IMapCalls.h"

namespace lumora {

class IDrivingTrackPort;

class MapPanel : public QWidget, public IMapCalls {
  Q_OBJECT

 public:
  MapPanel(const IDrivingTrackPort* track, QWidget* parent = nullptr);

  void CallScript(const std::string& callText) override;
  void MarkPosition(std::int64_t positionMs) override;
  const std::string& LastCall() const { return lastCall_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const IDrivingTrackPort* track_;
  std::string lastCall_;
  QString where_;
};

}  // namespace lumora
