#include "ui/CBitWnd.h"

#include "ui/SkinPaint.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

namespace lumora {

CBitWnd::CBitWnd(QWidget* parent, int id) : QWidget(parent), id_(id) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void CBitWnd::SetStrip(const QPixmap& strip, int frames, bool vertical) {
  strip_ = strip;
  frames_ = frames > 0 ? frames : 1;
  vertical_ = vertical;
  frame_size_ = SkinPaint::FrameRect(strip.size(), frames_, 0, vertical).size();
  resize(frame_size_);
  update();
}

void CBitWnd::SetChecked(bool checked) {
  state_.SetChecked(checked);
  update();
}

void CBitWnd::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (strip_.isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  const int frame = state_.Frame() < frames_ ? state_.Frame() : 0;
  painter.drawPixmap(QPoint(0, 0), strip_,
                     SkinPaint::FrameRect(strip_.size(), frames_, frame, vertical_));
}

void CBitWnd::Forward(QMouseEvent* event) {
  QWidget* parent = parentWidget();
  if (!forward_ || !parent) return;
  const QPointF local = mapToParent(event->position());
  QMouseEvent copy(event->type(), local, event->scenePosition(), event->globalPosition(),
                   event->button(), event->buttons(), event->modifiers());
  QCoreApplication::sendEvent(parent, &copy);
}

void CBitWnd::mouseMoveEvent(QMouseEvent* event) {
  // Hover tracking with a 1 ms hover time: the hover look follows the first move.
  if (state_.MouseMove()) {
    state_.Hover();
    update();
  }
  Forward(event);
}

void CBitWnd::leaveEvent(QEvent* event) {
  state_.Leave();
  update();
  QWidget::leaveEvent(event);
}

void CBitWnd::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const bool notify = state_.LButtonDown();
    update();
    if (notify) emit Command(id_);
  }
  Forward(event);
}

void CBitWnd::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CBitWnd::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    const bool notify = state_.LButtonUp();
    update();
    if (notify) emit Command(id_);
  }
  Forward(event);
}

}  // namespace lumora
