#pragma once
// The video display drawn with OpenGL: the Y, U and V planes of the frame
// surfaces are textures, and a fragment shader scales them and converts to
// RGB (BT.709, full range) with the colour controls applied. Losing the GL
// context is this display's "device lost".

#include "display/CDisplayCore.h"

#include <QOpenGLFunctions>
#include <QOpenGLWidget>

#include <array>
#include <memory>

class QOpenGLShaderProgram;
class QOpenGLBuffer;
class QOpenGLVertexArrayObject;

namespace lumora {

class CD3DDisplay : public QOpenGLWidget, protected QOpenGLFunctions, public CDisplayCore {
  Q_OBJECT

 public:
  // index: the channel; the window gets control id 0x2000 + index.
  CD3DDisplay(QWidget* parent, int index);
  ~CD3DDisplay() override;

  void FitToParent() override;

  // How often the GL objects were (re)built; for tests and diagnostics.
  int GpuBuilds() const { return gpuBuilds_; }

 protected:
  void initializeGL() override;
  void paintGL() override;
  void resizeGL(int w, int h) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

  bool RebuildDevice() override;
  void RequestPresent() override;

 private:
  struct PlaneTextures {
    std::array<unsigned, 3> id{};  // Y, U, V
    std::uint64_t uploaded = ~0ULL;
  };

  bool BuildGpu();
  void ReleaseGpu();
  void OnContextLost();
  void UploadSurface(const CYv12Surface& surface, const DisplayRect& used, PlaneTextures& tex);
  void UploadStills();
  void DrawQuad(const DisplayRect& dest, const DisplayRect& source, int texW, int texH);
  void DrawYuv(const PlaneTextures& tex, const DisplayRect& dest, const DisplayRect& source,
               const CColourControls::Values& colours);

  std::unique_ptr<QOpenGLShaderProgram> yuvProgram_;
  std::unique_ptr<QOpenGLShaderProgram> rgbProgram_;
  std::unique_ptr<QOpenGLBuffer> vertices_;
  std::unique_ptr<QOpenGLVertexArrayObject> vao_;
  PlaneTextures main_;
  PlaneTextures inset_;
  std::array<unsigned, kStills> stillTex_{};
  std::uint64_t stillSerial_ = ~0ULL;
  bool gpuReady_ = false;
  bool redPlanes_ = true;  // GL_RED textures (else GL_LUMINANCE)
  int gpuBuilds_ = 0;
};

}  // namespace lumora
