#pragma once
// Painting helpers the graph windows share: lines and texts in 0x00BBGGRR
// colours and transparent-colour bitmap drawing.

#include <QFont>
#include <QImage>
#include <QPoint>

#include <cstdint>

#include "data/GraphDlgRules.h"

class QPainter;

namespace lumora {

class GraphPaint {
 public:
  static void Line(QPainter& dc, const GraphLine& line);
  // Text clipped to its rectangle, white-on-colour as given, with the
  // background colour behind the text's extent.
  static void Text(QPainter& dc, const GraphText& text, int alignment, std::uint32_t background);
  // "Arial Bold" of height 14 and average width 7.
  static QFont BoldFont();
  // Draws `image` at `at`, leaving out the pixels of the transparent colour.
  static void DrawTransparent(QPainter& dc, const QPoint& at, const QImage& image,
                              std::uint32_t transparent);
};

}  // namespace lumora
