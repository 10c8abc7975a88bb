#pragma once
// Creates the display of a channel inside its video window: the OpenGL
// display where an OpenGL context can be made, the QPainter display
// otherwise (Qt's offscreen platform, machines without GL).

#include "engine/IVideoDisplay.h"

namespace lumora {

class CDisplayFactory : public IDisplayFactory {
 public:
  enum class Kind { Automatic, OpenGL, Painter };

  explicit CDisplayFactory(Kind kind = Kind::Automatic);

  // parent: the QWidget* of the video window. The display is created as its
  // child, covering it.
  IVideoDisplay* CreateDisplay(int index, void* parent) override;

  // The presenter Automatic picks on this machine; LUMORA_DISPLAY=opengl or
  // painter overrides it.
  static Kind Detect();
  Kind Resolved() const;

 private:
  Kind kind_;
};

}  // namespace lumora
