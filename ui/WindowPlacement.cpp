#include "ui/WindowPlacement.h"

#include <algorithm>

namespace lumora {
namespace {

// The start of a span of `length` moved into [lo, lo + room); the low edge
// wins when the span is longer than the room.
int Clamp(int start, int length, int lo, int room) {
  return std::max(lo, std::min(start, lo + room - length));
}

}  // namespace

QRect WindowPlacement::Inside(const QRect& window, const QRect& area) {
  if (area.isEmpty()) return window;
  return QRect(QPoint(Clamp(window.x(), window.width(), area.x(), area.width()),
                      Clamp(window.y(), window.height(), area.y(), area.height())),
               window.size());
}

QRect WindowPlacement::Centred(const QSize& size, const QRect& area) {
  return CentredOn(size, area, area);
}

QRect WindowPlacement::CentredOn(const QSize& size, const QRect& owner, const QRect& area) {
  const QPoint centre(owner.x() + owner.width() / 2, owner.y() + owner.height() / 2);
  return Inside(QRect(centre - QPoint(size.width() / 2, size.height() / 2), size), area);
}

QRect WindowPlacement::Beside(const QRect& mainFrame, const QSize& size, const QRect& area) {
  const int right = mainFrame.x() + mainFrame.width();
  if (area.isEmpty()) return QRect(QPoint(right, mainFrame.y()), size);
  const auto fits = [&](int x) {
    return x >= area.x() && x + size.width() <= area.x() + area.width();
  };
  int x = area.x() + area.width() - size.width();
  if (fits(right))
    x = right;
  else if (fits(mainFrame.x() - size.width()))
    x = mainFrame.x() - size.width();
  return Inside(QRect(QPoint(x, mainFrame.y()), size), area);
}

QRect WindowPlacement::RoomForList(const QRect& mainFrame, int listWidth, const QRect& area) {
  if (area.isEmpty()) return mainFrame;
  const int areaRight = area.x() + area.width();
  const int right = mainFrame.x() + mainFrame.width();
  if (right + listWidth <= areaRight || mainFrame.x() - listWidth >= area.x()) return mainFrame;
  const int pair = mainFrame.width() + listWidth;
  if (pair > area.width()) return mainFrame;
  QRect moved = mainFrame;
  moved.moveLeft(area.x() + (area.width() - pair) / 2);
  return moved;
}

}  // namespace lumora
