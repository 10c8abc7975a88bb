#pragma once
// Drawing and input steps the two display widgets share: the caption texts
// with their shadow, still images as QImages, and the mouse gestures that
// drag a zoomed picture.

#include "display/CDisplayCore.h"

#include <QColor>
#include <QImage>
#include <QRect>

class QMouseEvent;
class QPainter;
class QWheelEvent;
class QWidget;

namespace lumora {

class CDisplayPainting {
 public:
  static QRect ToQRect(const DisplayRect& r);
  // Caption and zoom label of the scene, each first in black one pixel down
  // and right, then in the caption colour.
  static void DrawCaptions(QPainter& p, const DisplayScene& scene);
  // A deep copy of a still image.
  static QImage ToImage(const StillImage& still);

  // Mouse handling of a display widget. Double-clicks are left to the
  // parent (the video window swaps channels on them).
  static void MousePress(QWidget* w, CDisplayCore& core, QMouseEvent* e);
  static void MouseMove(QWidget* w, CDisplayCore& core, QMouseEvent* e);
  static void MouseRelease(QWidget* w, CDisplayCore& core, QMouseEvent* e);
  // The wheel belongs to the video window under the display (it zooms the
  // channel through the player), so it is handed on to the parent.
  static void ForwardWheel(QWidget* w, QWheelEvent* e);
};

}  // namespace lumora
