#include "ui/CSkinButton.h"

#include "res/SkinBitmaps.h"
#include "ui/SkinPaint.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace lumora {
namespace {

std::uint64_t g_check_serial = 0;

// The private uncheck message, stamped with the check that caused it.
class UncheckEvent : public QEvent {
 public:
  explicit UncheckEvent(std::uint64_t serial)
      : QEvent(static_cast<QEvent::Type>(CSkinButton::kUncheckEventType)), serial_(serial) {}
  std::uint64_t Serial() const { return serial_; }

 private:
  std::uint64_t serial_;
};

}  // namespace

CSkinButton::CSkinButton(QWidget* parent, int id, int kind)
    : QWidget(parent), id_(id), state_(kind) {
  text_colour_ = palette().color(QPalette::ButtonText);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

CSkinButton* CSkinButton::FromStyle(QWidget* parent, int id, std::uint32_t style) {
  return new CSkinButton(parent, id, SkinButtonState::KindFromStyle(style));
}

void CSkinButton::SetBitmaps(const QPixmap& normal, const QPixmap& down, const QPixmap& disabled,
                             const QPixmap& mask, const QPixmap& over, const QPixmap& focus) {
  normal_ = normal;
  down_ = down;
  disabled_ = disabled;
  mask_ = mask;
  over_ = over;
  focus_ = focus;
  update();
}

void CSkinButton::SetSkin(int base, int mask_id) {
  const SkinButtonImages images = SkinButton(base);
  SetBitmaps(images.normal, images.down, images.disabled, mask_id ? SkinBitmap(mask_id) : QPixmap(),
             images.over);
  skin_base_ = base;
}

void CSkinButton::SizeToBitmap() {
  if (!normal_.isNull()) resize(normal_.size());
}

void CSkinButton::SetText(const QString& text) {
  text_ = text;
  update();
}

void CSkinButton::SetTextColor(const QColor& colour) {
  text_colour_ = colour;
  update();
}

void CSkinButton::SetBorder(bool border) {
  border_ = border;
  update();
}

void CSkinButton::SetDrawMode(int mode) {
  draw_mode_ = mode;
  update();
}

void CSkinButton::SetFocusMargin(int margin) {
  focus_margin_ = static_cast<std::int16_t>(margin);
  update();
}

void CSkinButton::SetCheck(bool checked) {
  if (state_.SetCheck(checked)) UncheckGroup();
  update();
}

void CSkinButton::UncheckGroup() {
  checked_serial_ = ++g_check_serial;
  QWidget* parent = parentWidget();
  if (!parent) return;
  for (CSkinButton* other : parent->findChildren<CSkinButton*>(Qt::FindDirectChildrenOnly)) {
    if (other == this || other->group_ != group_ || other->Kind() != SkinButtonState::kRadioButton)
      continue;
    QCoreApplication::postEvent(other, new UncheckEvent(checked_serial_));
  }
}

bool CSkinButton::event(QEvent* event) {
  if (event->type() == kUncheckEventType) {
    // A check of this button made after the message was posted wins.
    if (static_cast<UncheckEvent*>(event)->Serial() >= checked_serial_) {
      state_.Uncheck();
      update();
    }
    return true;
  }
  return QWidget::event(event);
}

QPixmap CSkinButton::FacePixmap(SkinButtonState::Face face) const {
  switch (face) {
    case SkinButtonState::kFaceDisabled:
      return disabled_;
    case SkinButtonState::kFaceDown:
      return down_;
    case SkinButtonState::kFaceOver:
      return over_;
    case SkinButtonState::kFaceFocus:
      return focus_;
    default:
      return normal_;
  }
}

void CSkinButton::DrawFace(QPainter& painter, const QPixmap& face) {
  const QRect item = rect();
  if (face.isNull()) {
    painter.fillRect(item, palette().color(QPalette::Button));
    return;
  }
  if (mask_.isNull() || !parentWidget()) {
    SkinPaint::DrawBitmap(painter, item, face, draw_mode_);
    return;
  }
  // Off screen: what lies under the button, combined with the face through the mask.
  QImage under(item.size(), QImage::Format_RGB32);
  under.fill(palette().color(QPalette::Window));
  parentWidget()->render(&under, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
  QImage face_image(item.size(), QImage::Format_RGB32);
  face_image.fill(Qt::black);
  {
    QPainter face_painter(&face_image);
    SkinPaint::DrawBitmap(face_painter, face_image.rect(), face, draw_mode_);
  }
  painter.drawImage(item.topLeft(), SkinPaint::ApplyMask(under, face_image, mask_.toImage()));
}

void CSkinButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  const bool enabled = isEnabled();
  const SkinButtonState::Face face =
      state_.FaceFor(enabled, hasFocus(), !over_.isNull(), !focus_.isNull());
  QPixmap pixmap = FacePixmap(face);
  if (pixmap.isNull() && face != SkinButtonState::kFaceDisabled &&
      face != SkinButtonState::kFaceDown)
    pixmap = normal_;
  DrawFace(painter, pixmap);

  const QRect item = rect();
  if (border_) {
    const bool sunken = face == SkinButtonState::kFaceDown;
    painter.setPen(sunken ? palette().color(QPalette::Dark) : palette().color(QPalette::Light));
    painter.drawLine(item.topLeft(), item.topRight());
    painter.drawLine(item.topLeft(), item.bottomLeft());
    painter.setPen(sunken ? palette().color(QPalette::Light) : palette().color(QPalette::Dark));
    painter.drawLine(item.bottomLeft(), item.bottomRight());
    painter.drawLine(item.topRight(), item.bottomRight());
  }
  if (hasFocus() && focus_margin_ > 0) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = item.adjusted(focus_margin_, focus_margin_, -focus_margin_, -focus_margin_);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
  if (text_.isEmpty()) return;
  const QRect text_rect = SkinPaint::TextRect(item, focus_margin_);
  const int flags = Qt::AlignCenter | Qt::TextSingleLine;
  if (!enabled) {
    const QPoint shift = state_.Checked() ? QPoint(1, 1) : QPoint(0, 0);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawText(text_rect.translated(shift), flags, text_);
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(text_rect.translated(-1, -1), flags, text_);
    return;
  }
  painter.setPen(text_colour_);
  painter.drawText(state_.TextShifted() ? text_rect.translated(1, 1) : text_rect, flags, text_);
}

void CSkinButton::mouseMoveEvent(QMouseEvent* event) {
  if (state_.MouseMove(rect().contains(event->position().toPoint()))) update();
  QWidget::mouseMoveEvent(event);
}

void CSkinButton::leaveEvent(QEvent* event) {
  if (state_.MouseLeave()) update();
  QWidget::leaveEvent(event);
}

void CSkinButton::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  if (focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
  state_.LButtonDown();
  update();
}

void CSkinButton::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void CSkinButton::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
  FinishRelease(state_.LButtonUp(rect().contains(event->position().toPoint())));
}

void CSkinButton::FinishRelease(const SkinButtonState::Release& release) {
  if (release.radio_checked) UncheckGroup();
  update();
  if (release.clicked) emit Clicked(id_);
}

void CSkinButton::keyPressEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space) return QWidget::keyPressEvent(event);
  if (event->isAutoRepeat()) return;
  space_down_ = true;
  const SkinButtonState::Release release = state_.SpaceKey();
  if (release.radio_checked) UncheckGroup();
  update();
}

void CSkinButton::keyReleaseEvent(QKeyEvent* event) {
  if (event->key() != Qt::Key_Space) return QWidget::keyReleaseEvent(event);
  if (event->isAutoRepeat() || !space_down_) return;
  space_down_ = false;
  emit Clicked(id_);
}

void CSkinButton::focusOutEvent(QFocusEvent* event) {
  state_.LoseCapture();
  space_down_ = false;
  update();
  QWidget::focusOutEvent(event);
}

}  // namespace lumora
