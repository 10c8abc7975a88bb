#pragma once
// The static control of the large video area (channel 0): the parent of the
// channel's display. Double-click asks for the channels to be swapped, the
// wheel zooms the channel through the player, a drag with the left button
// moves the control inside its area.

#include "display/IVideoWindowHost.h"

#include <QFrame>
#include <QPoint>

namespace lumora {

class CIctVideoView : public QFrame {
  Q_OBJECT

 public:
  static constexpr int kControlId = 0xFFFF;

  CIctVideoView(QWidget* parent, const QString& caption, int channel);

  void SetHost(IVideoWindowHost* host) { host_ = host; }
  int Channel() const { return channel_; }
  int ZoomLevel() const { return zoomLevel_; }
  QPoint LastDown() const { return lastDown_; }

 protected:
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  // Whether a double-click takes the focus (the large view does).
  virtual bool FocusOnDoubleClick() const { return true; }

 private:
  IVideoWindowHost* host_ = nullptr;
  int channel_;
  int zoomLevel_ = 1;
  QPoint lastDown_;
};

}  // namespace lumora
