#include "ui/CBitSlider.h"

#include "res/SkinBitmaps.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

namespace lumora {

CBitSlider::CBitSlider(QWidget* parent, int id, Qt::Orientation orientation)
    : QSlider(orientation, parent), id_(id), thumb_(new CBitWnd(this, id)) {
  // The thumb passes its mouse input on to the slider, which does the dragging.
  thumb_->SetForward(true);
  thumb_->SetCursorShape(Qt::ArrowCursor);
  thumb_->setAutoFillBackground(true);
  QPalette black = thumb_->palette();
  black.setColor(QPalette::Window, Qt::black);
  thumb_->setPalette(black);
  thumb_->show();
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);  // the background is never erased
  connect(this, &QAbstractSlider::actionTriggered, this,
          [this](int action) { pending_code_ = CodeForAction(action); });
}

int CBitSlider::CodeForAction(int action) {
  switch (action) {
    case SliderSingleStepSub:
      return kLineUp;
    case SliderSingleStepAdd:
      return kLineDown;
    case SliderPageStepSub:
      return kPageUp;
    case SliderPageStepAdd:
      return kPageDown;
    case SliderToMinimum:
      return kTop;
    case SliderToMaximum:
      return kBottom;
    case SliderMove:
      return kThumbTrack;
    default:
      return -1;
  }
}

void CBitSlider::SetChannel(int filled_id, int empty_id) {
  SetChannelImages(SkinBitmap(filled_id), SkinBitmap(empty_id));
}

void CBitSlider::SetChannelImages(const QPixmap& filled, const QPixmap& empty) {
  filled_ = filled;
  empty_ = empty;
  update();
}

void CBitSlider::SetThumb(int strip_id, int frames) { SetThumbImage(SkinBitmap(strip_id), frames); }

void CBitSlider::SetThumbImage(const QPixmap& strip, int frames) {
  thumb_->SetStrip(strip, frames);
  PlaceThumb();
  update();
}

void CBitSlider::SetThumbOffset(int offset) {
  thumb_offset_ = offset;
  PlaceThumb();
  update();
}

BitSliderGeometry CBitSlider::Geometry() const {
  return BitSliderGeometry(size(), thumb_->FrameSize(), thumb_offset_, minimum(), maximum(),
                           orientation() == Qt::Vertical);
}

void CBitSlider::PlaceThumb() {
  if (thumb_->FrameSize().isEmpty()) return;
  const QRect target = Geometry().ThumbRect(sliderPosition());
  if (thumb_->geometry() != target) thumb_->setGeometry(target);
}

void CBitSlider::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (filled_.isNull() || empty_.isNull() || thumb_->FrameSize().isEmpty()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  const BitSliderGeometry geometry = Geometry();
  const QRect filled = geometry.FilledRect(sliderPosition());
  const QRect empty = geometry.EmptyRect(sliderPosition());
  // The channel images are made as large as the control; others are stretched to it.
  const QPixmap filled_image =
      filled_.size() == size() ? filled_ : filled_.scaled(size(), Qt::IgnoreAspectRatio);
  const QPixmap empty_image =
      empty_.size() == size() ? empty_ : empty_.scaled(size(), Qt::IgnoreAspectRatio);
  painter.drawPixmap(filled.topLeft(), filled_image, filled);
  painter.drawPixmap(empty.topLeft(), empty_image, empty);
  PlaceThumb();
}

void CBitSlider::RefreshTooltip(const QPoint& global) {
  tooltip_text_ = tooltip_format_ ? tooltip_format_(sliderPosition())
                                  : QStringLiteral("%1%").arg(sliderPosition());
  setToolTip(tooltip_text_);
  thumb_->setToolTip(tooltip_text_);
  if (relay_tooltips_ && isVisible() && underMouse())
    QToolTip::showText(global, tooltip_text_, this);
}

void CBitSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || maximum() <= minimum()) return;
  const QPoint point = event->position().toPoint();
  const BitSliderGeometry geometry = Geometry();
  const int along = geometry.Along(point);
  if (geometry.ThumbRect(sliderPosition()).contains(point)) {
    dragging_ = true;
    drag_offset_ = along - geometry.ThumbCentre(sliderPosition());
    setSliderDown(true);
    return;
  }
  if (seek_bar_) {
    // The owner seeks to the pressed point; a drag from there moves the thumb.
    emit ChannelPressed(id_, geometry.Along(point));
    dragging_ = true;
    jumped_ = true;
    drag_offset_ = 0;
    setSliderDown(true);
    return;
  }
  // A press on the channel pages towards the point, as a trackbar does.
  const bool towards_minimum = along < geometry.ThumbCentre(sliderPosition());
  triggerAction(towards_minimum ? SliderPageStepSub : SliderPageStepAdd);
  pending_code_ = -1;
  emit HScroll(id_, towards_minimum ? kPageUp : kPageDown, sliderPosition());
}

void CBitSlider::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_) {
    const int target =
        Geometry().PositionAt(Geometry().Along(event->position().toPoint()) - drag_offset_);
    if (target != sliderPosition()) {
      jumped_ = false;
      setSliderPosition(target);
      pending_code_ = -1;
      emit HScroll(id_, kThumbTrack, sliderPosition());
    }
  }
  RefreshTooltip(event->globalPosition().toPoint());
  // The split between the images follows the drag at once.
  repaint();
}

void CBitSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  if (dragging_) {
    dragging_ = false;
    setSliderDown(false);
    // A press on the channel that did not drag has already seeked.
    if (!jumped_) emit HScroll(id_, kThumbPosition, sliderPosition());
    jumped_ = false;
  }
  emit HScroll(id_, kEndScroll, sliderPosition());
  RefreshTooltip(event->globalPosition().toPoint());
}

void CBitSlider::wheelEvent(QWheelEvent* event) {
  // The wheel never moves the position itself; a seek bar reports whole notches.
  event->accept();
  if (!seek_bar_) return;
  wheel_delta_ += event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
  const int notches = wheel_delta_ / QWheelEvent::DefaultDeltasPerStep;
  if (notches == 0) return;
  wheel_delta_ -= notches * QWheelEvent::DefaultDeltasPerStep;
  emit WheelNotches(id_, notches);
}

void CBitSlider::keyPressEvent(QKeyEvent* event) {
  pending_code_ = -1;
  QSlider::keyPressEvent(event);
  if (pending_code_ >= 0) {
    const int code = pending_code_;
    pending_code_ = -1;
    emit HScroll(id_, code, sliderPosition());
    emit HScroll(id_, kEndScroll, sliderPosition());
  }
}

void CBitSlider::resizeEvent(QResizeEvent* event) {
  QSlider::resizeEvent(event);
  PlaceThumb();
}

void CBitSlider::sliderChange(SliderChange change) {
  QSlider::sliderChange(change);
  PlaceThumb();
  update();
}

}  // namespace lumora
