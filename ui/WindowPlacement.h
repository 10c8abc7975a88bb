#pragma once
// Where top-level windows go on a screen: kept inside the screen's available
// area (the desktop less its panels), centred, and the recording list beside
// the main window only where that side has room. Pure rectangle arithmetic.

#include <QRect>

namespace lumora {

class WindowPlacement {
 public:
  // `window` moved (never resized) so that it lies inside `area`; a window
  // larger than the area keeps the area's top or left edge.
  static QRect Inside(const QRect& window, const QRect& area);
  // A window of `size` centred on `area`, kept inside it.
  static QRect Centred(const QSize& size, const QRect& area);
  // A window of `size` centred on its owner's frame, kept inside `area`.
  static QRect CentredOn(const QSize& size, const QRect& owner, const QRect& area);
  // The list window of `size` beside the main window's frame: right of it,
  // same top, when the area has room there; else left of it; else inside the
  // area at its right edge (over the main window).
  static QRect Beside(const QRect& mainFrame, const QSize& size, const QRect& area);
  // Where the main window goes before a list `listWidth` wide is shown beside
  // it: where it is when either side has room; else, when both fit across the
  // area side by side (1020 + 256 on a 1280 screen), moved so that the pair is
  // centred; else where it is.
  static QRect RoomForList(const QRect& mainFrame, int listWidth, const QRect& area);
};

}  // namespace lumora
