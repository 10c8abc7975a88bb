#pragma once
// One scroll axis of a video area: position, range and the arithmetic of
// line, page, thumb and wheel scrolling.

namespace lumora {

class CScrollAxis {
 public:
  // Scroll request codes, with the values of the window system's
  // scroll-bar notifications.
  enum Code {
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbPosition = 4,
    kThumbTrack = 5
  };
  static constexpr int kLineStep = 1;
  static constexpr int kPageStep = 20;
  static constexpr int kWheelNotch = 120;

  void SetRange(int min, int max);
  // The visible extent (client height or width).
  void SetPage(int page) { page_ = page; }
  void SetPosition(int pos) { pos_ = pos; }
  int Position() const { return pos_; }
  int Min() const { return min_; }
  int Max() const { return max_; }

  // Applies a scroll request; `thumb` is the thumb position for the thumb
  // codes. Returns how far the position moved (new - old); the content moves
  // by the negated amount.
  int Scroll(int code, int thumb = 0);
  // +120 scrolls up by 20, -120 down by 20; any other delta does nothing.
  int Wheel(int delta);

 private:
  int MoveBy(int step);

  int pos_ = 0;
  int min_ = 0;
  int max_ = 0;
  int page_ = 0;
};

}  // namespace lumora
