#include "display/qt/CVideoAreaDlg.h"

#include <QKeyEvent>
#include <QPainter>
#include <QWheelEvent>

namespace lumora {

CVideoAreaDlg::CVideoAreaDlg(QWidget* parent) : QDialog(parent, Qt::Widget) {
  // Embedded in the main window rather than a window of its own.
  setWindowFlags(Qt::Widget);
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  vertical_.SetPosition(0);
}

bool CVideoAreaDlg::IsSwallowedKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

bool CVideoAreaDlg::event(QEvent* e) {
  if (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress ||
      e->type() == QEvent::KeyRelease) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (IsSwallowedKey(key->key())) {
      // Accepting the override keeps the main window's shortcuts and default
      // button from seeing the key; the press itself ends here.
      e->accept();
      return true;
    }
  }
  return QDialog::event(e);
}

void CVideoAreaDlg::keyPressEvent(QKeyEvent* e) {
  if (IsSwallowedKey(e->key())) {
    e->accept();
    return;
  }
  QDialog::keyPressEvent(e);
}

void CVideoAreaDlg::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
}

void CVideoAreaDlg::resizeEvent(QResizeEvent* e) {
  vertical_.SetPage(height());
  horizontal_.SetPage(width());
  if (vertical_.Max() < height()) vertical_.SetRange(0, height());
  if (horizontal_.Max() < width()) horizontal_.SetRange(0, width());
  QDialog::resizeEvent(e);
}

void CVideoAreaDlg::SetScrollRange(Qt::Orientation bar, int min, int max) {
  (bar == Qt::Vertical ? vertical_ : horizontal_).SetRange(min, max);
}

int CVideoAreaDlg::ScrollPos(Qt::Orientation bar) const {
  return (bar == Qt::Vertical ? vertical_ : horizontal_).Position();
}

void CVideoAreaDlg::OnVScroll(int code, int thumb) {
  const int moved = vertical_.Scroll(code, thumb);
  if (moved != 0) scroll(0, -moved);
}

void CVideoAreaDlg::OnHScroll(int code, int thumb) {
  const int moved = horizontal_.Scroll(code, thumb);
  if (moved != 0) scroll(-moved, 0);
}

void CVideoAreaDlg::wheelEvent(QWheelEvent* e) {
  const int moved = vertical_.Wheel(e->angleDelta().y());
  if (moved != 0) scroll(0, -moved);
  e->accept();
}

void CVideoAreaDlg::mousePressEvent(QMouseEvent* e) {
  setFocus(Qt::MouseFocusReason);
  QDialog::mousePressEvent(e);
}

}  // namespace lumora
