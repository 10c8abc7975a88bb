#pragma once
// The panel's drawing primitives: solid lines of a width and a 0x00BBGGRR
// colour, fonts given by cell height and average character width, and text
// drawn with an opaque background behind its glyphs.

#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>

#include "display/DataPanelRules.h"

class QPainter;

namespace lumora {

class Draw {
 public:
  // A solid pen of width 1 and the colour from (x1, y1) to (x2, y2); the
  // painter's previous pen is restored.
  static void DrawLine(QPainter& dc, int x1, int y1, int x2, int y2, std::uint32_t colour);
  static void DrawLineWidth(QPainter& dc, int x1, int y1, int x2, int y2, int width,
                            std::uint32_t colour);
  static void DrawPanelLine(QPainter& dc, const PanelLine& line);

  // A font of `height` pixels whose average character is about `width` wide.
  static QFont MakeFont(const QString& family, int height, int width, bool bold = false);

  // Text in `rect` (clipped to it) with the background colour filled behind
  // the text's extent, as text drawn in opaque background mode.
  static void DrawTextBox(QPainter& dc, const QRect& rect, const QString& text, int alignment,
                          std::uint32_t background, std::uint32_t colour);
};

}  // namespace lumora
