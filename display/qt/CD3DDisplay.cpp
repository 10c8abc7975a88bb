#include "display/qt/CD3DDisplay.h"

#include "display/qt/CDisplayPainting.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QOpenGLBuffer>
#include <QOpenGLContext>
#include <QOpenGLShaderProgram>
#include <QOpenGLVertexArrayObject>
#include <QPainter>

#include <algorithm>

namespace lumora {

namespace {

constexpr const char* kVertexBody = R"(
attribute vec2 aPos;
attribute vec2 aTex;
varying vec2 vTex;
void main() {
  gl_Position = vec4(aPos, 0.0, 1.0);
  vTex = aTex;
}
)";

// BT.709 with full-range luma and chroma; brightness in luma levels,
// contrast on luma, saturation on chroma.
constexpr const char* kYuvBody = R"(
uniform sampler2D texY;
uniform sampler2D texU;
uniform sampler2D texV;
uniform float brightness;
uniform float contrast;
uniform float saturation;
varying vec2 vTex;
void main() {
  float y = texture2D(texY, vTex).r * contrast + brightness;
  float u = (texture2D(texU, vTex).r - 128.0 / 255.0) * contrast * saturation;
  float v = (texture2D(texV, vTex).r - 128.0 / 255.0) * contrast * saturation;
  vec3 rgb = vec3(y + 1.5748 * v, y - 0.187324 * u - 0.468124 * v, y + 1.8556 * u);
  gl_FragColor = vec4(clamp(rgb, 0.0, 1.0), 1.0);
}
)";

constexpr const char* kRgbBody = R"(
uniform sampler2D texRgb;
varying vec2 vTex;
void main() {
  gl_FragColor = vec4(texture2D(texRgb, vTex).rgb, 1.0);
}
)";

QByteArray VertexSource(bool core) {
  const QByteArray head =
      core ? "#version 150\n#define attribute in\n#define varying out\n" : "#version 120\n";
  return head + kVertexBody;
}

QByteArray FragmentSource(bool core, const char* body) {
  const QByteArray head = core ? "#version 150\n#define varying in\n#define texture2D texture\n"
                                 "out vec4 fragColour;\n#define gl_FragColor fragColour\n"
                               : "#version 120\n";
  return head + body;
}

}  // namespace

CD3DDisplay::CD3DDisplay(QWidget* parent, int index) : QOpenGLWidget(parent) {
  setObjectName(QStringLiteral("display%1").arg(0x2000 + index));
  setProperty("controlId", 0x2000 + index);
  setFocusPolicy(Qt::ClickFocus);
}

CD3DDisplay::~CD3DDisplay() {
  if (context() != nullptr) {
    // The base class destroys the context after this object is gone; its
    // signal must not reach OnContextLost any more.
    disconnect(context(), nullptr, this, nullptr);
    makeCurrent();
    ReleaseGpu();
    doneCurrent();
  }
}

void CD3DDisplay::FitToParent() {
  if (parentWidget() != nullptr) setGeometry(parentWidget()->rect());
  update();
}

void CD3DDisplay::initializeGL() {
  initializeOpenGLFunctions();
  connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, &CD3DDisplay::OnContextLost,
          Qt::DirectConnection);
  auto lock = Lock();
  BuildGpu();
}

void CD3DDisplay::OnContextLost() {
  // The context goes away (the widget moved to another window, or the driver
  // reset): everything on the GPU is gone with it.
  makeCurrent();
  ReleaseGpu();
  doneCurrent();
  SetDeviceLost(1);
}

bool CD3DDisplay::BuildGpu() {
  ReleaseGpu();
  QOpenGLContext* ctx = context();
  if (ctx == nullptr || !ctx->isValid()) return false;
  const QSurfaceFormat fmt = ctx->format();
  const bool core = fmt.profile() == QSurfaceFormat::CoreProfile;
  redPlanes_ = fmt.majorVersion() >= 3;

  yuvProgram_ = std::make_unique<QOpenGLShaderProgram>();
  rgbProgram_ = std::make_unique<QOpenGLShaderProgram>();
  const QByteArray vs = VertexSource(core);
  for (auto* prog : {yuvProgram_.get(), rgbProgram_.get()}) {
    if (!prog->addShaderFromSourceCode(QOpenGLShader::Vertex, vs)) return false;
    prog->bindAttributeLocation("aPos", 0);
    prog->bindAttributeLocation("aTex", 1);
  }
  if (!yuvProgram_->addShaderFromSourceCode(QOpenGLShader::Fragment,
                                            FragmentSource(core, kYuvBody)) ||
      !yuvProgram_->link() ||
      !rgbProgram_->addShaderFromSourceCode(QOpenGLShader::Fragment,
                                            FragmentSource(core, kRgbBody)) ||
      !rgbProgram_->link()) {
    return false;
  }

  vao_ = std::make_unique<QOpenGLVertexArrayObject>();
  vao_->create();
  vertices_ = std::make_unique<QOpenGLBuffer>(QOpenGLBuffer::VertexBuffer);
  vertices_->create();
  vertices_->setUsagePattern(QOpenGLBuffer::DynamicDraw);
  vertices_->bind();
  vertices_->allocate(16 * sizeof(float));
  vertices_->release();

  const GLenum internal = redPlanes_ ? GL_R8 : GL_LUMINANCE;
  const GLenum format = redPlanes_ ? GL_RED : GL_LUMINANCE;
  for (PlaneTextures* t : {&main_, &inset_}) {
    glGenTextures(3, t->id.data());
    for (int i = 0; i < 3; ++i) {
      const int w = i == 0 ? CYv12Surface::kWidth : CYv12Surface::kWidth / 2;
      const int h = i == 0 ? CYv12Surface::kHeight : CYv12Surface::kHeight / 2;
      glBindTexture(GL_TEXTURE_2D, t->id[i]);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
      glTexImage2D(GL_TEXTURE_2D, 0, static_cast<GLint>(internal), w, h, 0, format,
                   GL_UNSIGNED_BYTE, nullptr);
    }
    t->uploaded = ~0ULL;
  }
  glGenTextures(kStills, stillTex_.data());
  stillSerial_ = ~0ULL;
  glBindTexture(GL_TEXTURE_2D, 0);
  gpuReady_ = glGetError() == GL_NO_ERROR;
  ++gpuBuilds_;
  return gpuReady_;
}

void CD3DDisplay::ReleaseGpu() {
  if (!gpuReady_ && !yuvProgram_) return;
  if (QOpenGLContext::currentContext() != nullptr) {
    glDeleteTextures(3, main_.id.data());
    glDeleteTextures(3, inset_.id.data());
    glDeleteTextures(kStills, stillTex_.data());
  }
  main_ = PlaneTextures{};
  inset_ = PlaneTextures{};
  stillTex_ = {};
  vertices_.reset();
  vao_.reset();
  yuvProgram_.reset();
  rgbProgram_.reset();
  gpuReady_ = false;
}

bool CD3DDisplay::RebuildDevice() {
  // Runs under the display lock, on the window's thread.
  if (context() == nullptr || !context()->isValid()) return false;
  makeCurrent();
  const bool ok = BuildGpu();
  doneCurrent();
  return ok;
}

void CD3DDisplay::RequestPresent() {
  QMetaObject::invokeMethod(
      this, [this] { update(); }, Qt::QueuedConnection);
}

void CD3DDisplay::resizeGL(int w, int h) { SetClientSize(w, h); }

void CD3DDisplay::UploadSurface(const CYv12Surface& surface, const DisplayRect& used,
                                PlaneTextures& tex) {
  // One texel of margin so that filtering at the edges reads real samples.
  const int left = std::clamp(used.left - 2, 0, CYv12Surface::kWidth) & ~1;
  const int top = std::clamp(used.top - 2, 0, CYv12Surface::kHeight) & ~1;
  const int right = std::clamp(used.right + 2, 0, CYv12Surface::kWidth);
  const int bottom = std::clamp(used.bottom + 2, 0, CYv12Surface::kHeight);
  if (right <= left || bottom <= top) return;
  const GLenum format = redPlanes_ ? GL_RED : GL_LUMINANCE;
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  struct Plane {
    const std::uint8_t* data;
    int pitch, l, t, r, b;
  };
  const Plane planes[3] = {{surface.Y(), CYv12Surface::kPitch, left, top, right, bottom},
                           {surface.U(), CYv12Surface::kChromaPitch, left / 2, top / 2,
                            (right + 1) / 2, (bottom + 1) / 2},
                           {surface.V(), CYv12Surface::kChromaPitch, left / 2, top / 2,
                            (right + 1) / 2, (bottom + 1) / 2}};
  for (int i = 0; i < 3; ++i) {
    const Plane& pl = planes[i];
    glBindTexture(GL_TEXTURE_2D, tex.id[i]);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pl.pitch);
    glTexSubImage2D(GL_TEXTURE_2D, 0, pl.l, pl.t, pl.r - pl.l, pl.b - pl.t, format,
                    GL_UNSIGNED_BYTE,
                    pl.data + static_cast<std::ptrdiff_t>(pl.t) * pl.pitch + pl.l);
  }
  glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
  glBindTexture(GL_TEXTURE_2D, 0);
}

void CD3DDisplay::UploadStills() {
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (int i = 0; i < kStills; ++i) {
    const StillImage* still = Still(i);
    glBindTexture(GL_TEXTURE_2D, stillTex_[i]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    if (still != nullptr) {
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, still->width, still->height, 0, GL_RGB,
                   GL_UNSIGNED_BYTE, still->rgb.data());
    } else {
      const std::uint8_t black[3] = {0, 0, 0};
      glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, 1, 1, 0, GL_RGB, GL_UNSIGNED_BYTE, black);
    }
  }
  glBindTexture(GL_TEXTURE_2D, 0);
  stillSerial_ = StillSerial();
}

void CD3DDisplay::DrawQuad(const DisplayRect& dest, const DisplayRect& source, int texW, int texH) {
  const float W = static_cast<float>(std::max(1, width()));
  const float H = static_cast<float>(std::max(1, height()));
  const float x0 = 2.0f * dest.left / W - 1.0f;
  const float x1 = 2.0f * dest.right / W - 1.0f;
  const float y0 = 1.0f - 2.0f * dest.top / H;
  const float y1 = 1.0f - 2.0f * dest.bottom / H;
  const float s0 = static_cast<float>(source.left) / texW;
  const float s1 = static_cast<float>(source.right) / texW;
  const float t0 = static_cast<float>(source.top) / texH;
  const float t1 = static_cast<float>(source.bottom) / texH;
  const float data[16] = {x0, y0, s0, t0, x1, y0, s1, t0, x0, y1, s0, t1, x1, y1, s1, t1};
  vertices_->bind();
  vertices_->write(0, data, sizeof data);
  glEnableVertexAttribArray(0);
  glEnableVertexAttribArray(1);
  glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
  glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float),
                        reinterpret_cast<const void*>(2 * sizeof(float)));
  glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
  glDisableVertexAttribArray(0);
  glDisableVertexAttribArray(1);
  vertices_->release();
}

void CD3DDisplay::DrawYuv(const PlaneTextures& tex, const DisplayRect& dest,
                          const DisplayRect& source, const CColourControls::Values& colours) {
  yuvProgram_->bind();
  for (int i = 0; i < 3; ++i) {
    glActiveTexture(GL_TEXTURE0 + i);
    glBindTexture(GL_TEXTURE_2D, tex.id[i]);
  }
  yuvProgram_->setUniformValue("texY", 0);
  yuvProgram_->setUniformValue("texU", 1);
  yuvProgram_->setUniformValue("texV", 2);
  const float one = static_cast<float>(CColourControls::kOne);
  yuvProgram_->setUniformValue("brightness", static_cast<float>(colours.brightness) / one / 255.f);
  yuvProgram_->setUniformValue("contrast", static_cast<float>(colours.contrast) / one);
  yuvProgram_->setUniformValue("saturation", static_cast<float>(colours.saturation) / one);
  DrawQuad(dest, source, CYv12Surface::kWidth, CYv12Surface::kHeight);
  for (int i = 2; i >= 0; --i) {
    glActiveTexture(GL_TEXTURE0 + i);
    glBindTexture(GL_TEXTURE_2D, 0);
  }
  yuvProgram_->release();
}

void CD3DDisplay::paintGL() {
  QOpenGLContext* ctx = context();
  if (ctx == nullptr || !ctx->isValid()) {
    SetDeviceLost(1);
    return;
  }
  glClearColor(0.f, 0.f, 0.f, 1.f);
  glClear(GL_COLOR_BUFFER_BIT);
  auto lock = Lock();
  const DisplayScene s = Scene();
  if (!s.valid || IsDeviceLost() || !gpuReady_) return;
  const std::uint64_t serial = SceneSerial();

  QOpenGLVertexArrayObject::Binder vaoBinder(vao_.get());
  if (s.still) {
    if (StillSerial() != stillSerial_) UploadStills();
    const StillImage* still = Still(s.stillIndex);
    if (still != nullptr) {
      rgbProgram_->bind();
      glActiveTexture(GL_TEXTURE0);
      glBindTexture(GL_TEXTURE_2D, stillTex_[s.stillIndex]);
      rgbProgram_->setUniformValue("texRgb", 0);
      DrawQuad(s.dest, s.source, still->width, still->height);
      glBindTexture(GL_TEXTURE_2D, 0);
      rgbProgram_->release();
    }
  } else {
    const CYv12Surface* surface = MainSurface(s.view);
    if (surface != nullptr) {
      if (main_.uploaded != serial) {
        UploadSurface(*surface, s.source, main_);
        main_.uploaded = serial;
      }
      DrawYuv(main_, s.dest, s.source, s.colours);
    }
    const CYv12Surface* inset = InsetSurface(s.view);
    if (s.inset && inset != nullptr) {
      if (inset_.uploaded != serial) {
        UploadSurface(*inset, s.insetSource, inset_);
        inset_.uploaded = serial;
      }
      DrawYuv(inset_, s.insetDest, s.insetSource, s.colours);
    }
  }
  vaoBinder.release();
  if (s.caption) {
    QPainter p(this);
    CDisplayPainting::DrawCaptions(p, s);
  }
}

void CD3DDisplay::mousePressEvent(QMouseEvent* e) { CDisplayPainting::MousePress(this, *this, e); }

void CD3DDisplay::mouseMoveEvent(QMouseEvent* e) { CDisplayPainting::MouseMove(this, *this, e); }

void CD3DDisplay::mouseReleaseEvent(QMouseEvent* e) {
  CDisplayPainting::MouseRelease(this, *this, e);
}

void CD3DDisplay::mouseDoubleClickEvent(QMouseEvent* e) {
  // Left to the video window, which swaps the channels.
  e->ignore();
}

void CD3DDisplay::wheelEvent(QWheelEvent* e) { CDisplayPainting::ForwardWheel(this, e); }

}  // namespace lumora
