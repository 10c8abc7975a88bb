#pragma once
// Synthesised mouse and key input for widget tests, solid test pictures and
// the colour of one drawn pixel.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWheelEvent>
#include <QWidget>

#include <initializer_list>

namespace lumora::test {

// A mouse event at `pos` of `widget` with `buttons` held (the left button is
// the one pressed or released).
inline void Mouse(QWidget* widget, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons) {
  const QPointF local(pos);
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, local, local, QPointF(widget->mapToGlobal(pos)), button, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}
inline void Press(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseButtonPress, p, Qt::LeftButton); }
inline void Release(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseButtonRelease, p, {}); }
inline void Click(QWidget* w, QPoint p) {
  Press(w, p);
  Release(w, p);
}
inline void DragTo(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseMove, p, Qt::LeftButton); }
inline void Hover(QWidget* w, QPoint p) { Mouse(w, QEvent::MouseMove, p, {}); }
inline void Leave(QWidget* w) {
  QEvent event(QEvent::Leave);
  QApplication::sendEvent(w, &event);
}
// A wheel turn of `delta` (120 a notch, up positive) over the middle of `w`.
inline void Wheel(QWidget* w, int delta) {
  const QPointF pos(w->width() / 2.0, w->height() / 2.0);
  QWheelEvent event(pos, w->mapToGlobal(pos), QPoint(), QPoint(0, delta), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(w, &event);
}
inline void Key(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QStringLiteral(" "));
  QApplication::sendEvent(w, &press);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QStringLiteral(" "));
  QApplication::sendEvent(w, &release);
}

inline QPixmap Solid(QSize size, QColor colour) {
  QPixmap pixmap(size);
  pixmap.fill(colour);
  return pixmap;
}

// A strip of solid frames side by side.
inline QPixmap Strip(QSize frame, std::initializer_list<QColor> colours) {
  QPixmap strip(frame.width() * static_cast<int>(colours.size()), frame.height());
  QPainter painter(&strip);
  int x = 0;
  for (const QColor& colour : colours) {
    painter.fillRect(QRect(QPoint(x, 0), frame), colour);
    x += frame.width();
  }
  return strip;
}

inline QRgb PixelOf(QWidget* widget, QPoint at) {
  return widget->grab().toImage().convertToFormat(QImage::Format_RGB32).pixel(at);
}

}  // namespace lumora::test
