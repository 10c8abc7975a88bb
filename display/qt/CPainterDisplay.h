#pragma once
// The video display drawn with QPainter: the frame region is scaled and
// converted to RGB by libswscale. Used where no OpenGL context can be made
// (for instance on Qt's offscreen platform).

#include "display/CDisplayCore.h"
#include "display/CYuvToRgb.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <vector>

namespace lumora {

class CPainterDisplay : public QWidget, public CDisplayCore {
  Q_OBJECT

 public:
  // index: the channel; the window gets control id 0x2000 + index.
  CPainterDisplay(QWidget* parent, int index);
  ~CPainterDisplay() override;

  void FitToParent() override;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;

  bool RebuildDevice() override;
  void RequestPresent() override;

 private:
  QImage Convert(const CYv12Surface* surface, const DisplayRect& source, const QRect& dest,
                 const CColourControls::Values& colours, CYuvToRgb& converter,
                 std::vector<std::uint8_t>& buffer);

  CYuvToRgb converter_;
  CYuvToRgb insetConverter_;
  std::vector<std::uint8_t> buffer_;
  std::vector<std::uint8_t> insetBuffer_;
  std::array<QImage, kStills> stillImages_;
  std::uint64_t stillSerial_ = ~0ULL;
};

}  // namespace lumora
