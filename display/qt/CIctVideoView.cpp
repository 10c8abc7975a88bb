#include "display/qt/CIctVideoView.h"

#include "display/CVideoViewPlacement.h"

#include <QMouseEvent>
#include <QWheelEvent>

namespace lumora {

CIctVideoView::CIctVideoView(QWidget* parent, const QString& caption, int channel)
    : QFrame(parent), channel_(channel) {
  setObjectName(caption);
  setWindowTitle(caption);
  setProperty("controlId", kControlId);
  setFrameStyle(QFrame::Box | QFrame::Plain);  // black frame
  setStyleSheet(QStringLiteral("background-color: black; color: black;"));
  setAutoFillBackground(true);
  setFocusPolicy(Qt::ClickFocus);
}

void CIctVideoView::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    if (FocusOnDoubleClick()) setFocus(Qt::MouseFocusReason);
    if (host_ != nullptr) host_->SwapChannels();
  }
  e->accept();
}

void CIctVideoView::wheelEvent(QWheelEvent* e) {
  if (host_ != nullptr) {
    if (e->angleDelta().y() > 0) {
      host_->ZoomIn(channel_);
    } else {
      host_->ZoomOut(channel_);
    }
  }
  e->accept();
}

void CIctVideoView::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) {
    setFocus(Qt::MouseFocusReason);
    grabMouse();
    lastDown_ = e->position().toPoint();
  }
  e->accept();
}

void CIctVideoView::mouseMoveEvent(QMouseEvent* e) {
  if (!(e->buttons() & Qt::LeftButton) || QWidget::mouseGrabber() != this) return;
  QWidget* area = parentWidget();
  if (area == nullptr) return;
  const QPoint pt = e->position().toPoint();
  const DisplayRect now{x(), y(), x() + width(), y() + height()};
  const DisplayRect r =
      CVideoViewPlacement::Place(area->width(), area->height(), zoomLevel_, now,
                                 DisplayPoint{pt.x() - lastDown_.x(), pt.y() - lastDown_.y()});
  setGeometry(r.left, r.top, r.Width(), r.Height());
  if (host_ != nullptr) host_->RedrawDisplays();
  e->accept();
}

void CIctVideoView::mouseReleaseEvent(QMouseEvent* e) {
  if (QWidget::mouseGrabber() == this) releaseMouse();
  update();
  e->accept();
}

}  // namespace lumora
