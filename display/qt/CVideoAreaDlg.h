#pragma once
// A video area embedded in the main window: a child dialog with a black
// background that holds the static control in which a channel's display
// lives. It scrolls (lines, pages, thumb, wheel) and swallows Enter and
// Escape so that neither closes it nor reaches the main window.

#include "display/CScrollAxis.h"

#include <QDialog>

namespace lumora {

class CVideoAreaDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CVideoAreaDlg(QWidget* parent);

  // Scroll requests with the window system's codes (CScrollAxis::Code).
  void OnVScroll(int code, int thumb = 0);
  void OnHScroll(int code, int thumb = 0);
  void SetScrollRange(Qt::Orientation bar, int min, int max);
  int ScrollPos(Qt::Orientation bar) const;

  // Enter (13) and Escape (27) are consumed.
  static bool IsSwallowedKey(int key);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  CScrollAxis vertical_;
  CScrollAxis horizontal_;
};

}  // namespace lumora
