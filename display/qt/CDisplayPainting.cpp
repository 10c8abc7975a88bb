#include "display/qt/CDisplayPainting.h"

#include <QCoreApplication>
#include <QFont>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWidget>

#include "platform/qt/ColorRef.h"

namespace lumora {

namespace {

void DrawItem(QPainter& p, const CaptionItem& item, const QString& face, const QColor& colour) {
  if (!item.visible || item.text.empty() || item.fontHeight <= 0) return;
  QFont font(face);
  font.setPixelSize(item.fontHeight);
  font.setWeight(QFont::Normal);
  p.setFont(font);
  const QString text = QString::fromStdString(item.text);
  constexpr int kBox = 4096;
  const QRect box = item.rightAligned ? QRect(item.x - kBox, item.y, kBox, kBox)
                                      : QRect(item.x, item.y, kBox, kBox);
  const int flags = Qt::AlignTop | (item.rightAligned ? Qt::AlignRight : Qt::AlignLeft);
  p.setPen(Qt::black);
  p.drawText(box.translated(1, 1), flags, text);
  p.setPen(colour);
  p.drawText(box, flags, text);
}

DisplayPoint ToPoint(QMouseEvent* e) {
  const QPoint pt = e->position().toPoint();
  return DisplayPoint{pt.x(), pt.y()};
}

}  // namespace

QRect CDisplayPainting::ToQRect(const DisplayRect& r) {
  return QRect(r.left, r.top, r.Width(), r.Height());
}

void CDisplayPainting::DrawCaptions(QPainter& p, const DisplayScene& scene) {
  if (!scene.caption) return;
  const QString face = QString::fromStdString(scene.fontFace);
  const QColor colour = FromColorRef(scene.captionColour);
  p.save();
  p.setClipRect(ToQRect(scene.target));
  DrawItem(p, scene.captions.caption, face, colour);
  DrawItem(p, scene.captions.zoomLabel, face, colour);
  p.restore();
}

QImage CDisplayPainting::ToImage(const StillImage& still) {
  if (still.width <= 0 || still.height <= 0) return QImage();
  const QImage view(still.rgb.data(), still.width, still.height, still.width * 3,
                    QImage::Format_RGB888);
  return view.copy();
}

void CDisplayPainting::MousePress(QWidget* w, CDisplayCore& core, QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && core.BeginDrag(ToPoint(e))) w->grabMouse();
  e->accept();
}

void CDisplayPainting::MouseMove(QWidget* w, CDisplayCore& core, QMouseEvent* e) {
  core.DragTo(ToPoint(e));
  w->setFocus(Qt::MouseFocusReason);
  e->accept();
}

void CDisplayPainting::MouseRelease(QWidget* w, CDisplayCore& core, QMouseEvent* e) {
  if (e->button() == Qt::LeftButton && core.IsDragging()) {
    core.EndDrag();
    w->releaseMouse();
  }
  e->accept();
}

void CDisplayPainting::ForwardWheel(QWidget* w, QWheelEvent* e) {
  QWidget* parent = w->parentWidget();
  if (parent == nullptr) {
    e->ignore();
    return;
  }
  const QPointF pos = w->mapToParent(e->position());
  QWheelEvent forwarded(pos, e->globalPosition(), e->pixelDelta(), e->angleDelta(), e->buttons(),
                        e->modifiers(), e->phase(), e->inverted(), e->source());
  QCoreApplication::sendEvent(parent, &forwarded);
  e->accept();
}

}  // namespace lumora
