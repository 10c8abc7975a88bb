#include "display/qt/CPainterDisplay.h"

#include "display/qt/CDisplayPainting.h"

#include <QMetaObject>
#include <QMouseEvent>
#include <QPainter>

namespace lumora {

CPainterDisplay::CPainterDisplay(QWidget* parent, int index) : QWidget(parent) {
  setObjectName(QStringLiteral("display%1").arg(0x2000 + index));
  setProperty("controlId", 0x2000 + index);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::ClickFocus);
}

CPainterDisplay::~CPainterDisplay() = default;

void CPainterDisplay::FitToParent() {
  if (parentWidget() != nullptr) setGeometry(parentWidget()->rect());
  update();
}

void CPainterDisplay::resizeEvent(QResizeEvent* e) {
  SetClientSize(width(), height());
  QWidget::resizeEvent(e);
}

bool CPainterDisplay::RebuildDevice() {
  // The cached still images are this presenter's device objects.
  for (QImage& img : stillImages_) img = QImage();
  stillSerial_ = ~0ULL;
  return true;
}

void CPainterDisplay::RequestPresent() {
  QMetaObject::invokeMethod(
      this, [this] { update(); }, Qt::QueuedConnection);
}

QImage CPainterDisplay::Convert(const CYv12Surface* surface, const DisplayRect& source,
                                const QRect& dest, const CColourControls::Values& colours,
                                CYuvToRgb& converter, std::vector<std::uint8_t>& buffer) {
  if (surface == nullptr || dest.width() <= 0 || dest.height() <= 0) return QImage();
  const int stride = (dest.width() * 3 + 3) & ~3;
  buffer.resize(static_cast<std::size_t>(stride) * dest.height());
  if (!converter.Convert(*surface, source, dest.width(), dest.height(), colours, buffer.data(),
                         stride)) {
    return QImage();
  }
  return QImage(buffer.data(), dest.width(), dest.height(), stride, QImage::Format_RGB888);
}

void CPainterDisplay::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::black);
  auto lock = Lock();
  const DisplayScene& s = Scene();
  if (!s.valid || IsDeviceLost()) return;
  if (StillSerial() != stillSerial_) {
    for (int i = 0; i < kStills; ++i) {
      const StillImage* still = Still(i);
      stillImages_[i] = still != nullptr ? CDisplayPainting::ToImage(*still) : QImage();
    }
    stillSerial_ = StillSerial();
  }
  const QRect dest = CDisplayPainting::ToQRect(s.dest);
  if (s.still) {
    const QImage& img = stillImages_[s.stillIndex];
    if (!img.isNull()) {
      p.drawImage(dest, img, CDisplayPainting::ToQRect(s.source));
    }
  } else {
    const QImage frame =
        Convert(MainSurface(s.view), s.source, dest, s.colours, converter_, buffer_);
    if (!frame.isNull()) p.drawImage(dest.topLeft(), frame);
    if (s.inset) {
      const QRect insetDest = CDisplayPainting::ToQRect(s.insetDest);
      const QImage inset = Convert(InsetSurface(s.view), s.insetSource, insetDest, s.colours,
                                   insetConverter_, insetBuffer_);
      if (!inset.isNull()) p.drawImage(insetDest.topLeft(), inset);
    }
  }
  CDisplayPainting::DrawCaptions(p, s);
}

void CPainterDisplay::mousePressEvent(QMouseEvent* e) {
  CDisplayPainting::MousePress(this, *this, e);
}

void CPainterDisplay::mouseMoveEvent(QMouseEvent* e) {
  CDisplayPainting::MouseMove(this, *this, e);
}

void CPainterDisplay::mouseReleaseEvent(QMouseEvent* e) {
  CDisplayPainting::MouseRelease(this, *this, e);
}

void CPainterDisplay::mouseDoubleClickEvent(QMouseEvent* e) {
  // Left to the video window, which swaps the channels.
  e->ignore();
}

void CPainterDisplay::wheelEvent(QWheelEvent* e) { CDisplayPainting::ForwardWheel(this, e); }

}  // namespace lumora
