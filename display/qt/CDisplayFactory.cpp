#include "display/qt/CDisplayFactory.h"

#include "display/qt/CD3DDisplay.h"
#include "display/qt/CPainterDisplay.h"

#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QWidget>

namespace lumora {

CDisplayFactory::CDisplayFactory(Kind kind) : kind_(kind) {}

CDisplayFactory::Kind CDisplayFactory::Detect() {
  static const Kind detected = [] {
    const QByteArray forced = qgetenv("LUMORA_DISPLAY").toLower();
    if (forced == "painter") return Kind::Painter;
    if (forced == "opengl") return Kind::OpenGL;
    const QString platform = QGuiApplication::platformName();
    // QOpenGLWidget cannot run on these platforms.
    if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")) {
      return Kind::Painter;
    }
    QOpenGLContext ctx;
    if (!ctx.create()) return Kind::Painter;
    QOffscreenSurface surface;
    surface.setFormat(ctx.format());
    surface.create();
    if (!surface.isValid() || !ctx.makeCurrent(&surface)) return Kind::Painter;
    ctx.doneCurrent();
    return Kind::OpenGL;
  }();
  return detected;
}

CDisplayFactory::Kind CDisplayFactory::Resolved() const {
  return kind_ == Kind::Automatic ? Detect() : kind_;
}

IVideoDisplay* CDisplayFactory::CreateDisplay(int index, void* parent) {
  auto* parentWidget = static_cast<QWidget*>(parent);
  QWidget* widget = nullptr;
  IVideoDisplay* display = nullptr;
  if (Resolved() == Kind::OpenGL) {
    auto* d = new CD3DDisplay(parentWidget, index);
    widget = d;
    display = d;
  } else {
    auto* d = new CPainterDisplay(parentWidget, index);
    widget = d;
    display = d;
  }
  if (parentWidget != nullptr) widget->setGeometry(parentWidget->rect());
  widget->show();
  return display;
}

}  // namespace lumora
