#pragma once
// A bitmap window drawn from an image strip with normal, hover and pressed
// frames. Used as the thumb of CBitSlider (forwarding its mouse input to the
// slider) and as a free-standing image button (the About box logo): the
// owner sets the strip, connects Command(id), and may make it a toggle.

#include "ui/BitWndState.h"

#include <QCursor>
#include <QPixmap>
#include <QWidget>

#include <optional>

namespace lumora {

class CBitWnd : public QWidget {
  Q_OBJECT

 public:
  CBitWnd(QWidget* parent, int id = 0);

  int Id() const { return id_; }
  // The strip of `frames` equal frames; the window is resized to one frame.
  void SetStrip(const QPixmap& strip, int frames = 3, bool vertical = false);
  void SetCursorShape(const QCursor& cursor) {
    cursor_ = cursor;
    setCursor(cursor);
  }
  void SetToggle(bool toggle) { state_.SetToggle(toggle); }
  // Mouse input is passed on to the parent in parent coordinates.
  void SetForward(bool forward) { forward_ = forward; }
  void SetNotifyOnPress(bool notify) { state_.SetNotifyOnPress(notify); }
  void SetChecked(bool checked);

  int Frame() const { return state_.Frame(); }
  bool Checked() const { return state_.Checked(); }
  QSize FrameSize() const { return frame_size_; }

 signals:
  void Command(int id);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Forward(QMouseEvent* event);

  int id_;
  BitWndState state_;
  QPixmap strip_;
  int frames_ = 3;
  bool vertical_ = false;
  QSize frame_size_;
  bool forward_ = false;
  std::optional<QCursor> cursor_;
};

}  // namespace lumora
