#pragma once
// A slider painted from two channel images (filled up to the thumb, empty
// after it) with a CBitWnd thumb that shows normal / hover / pressed frames.
//
// How the main window uses it: the seek slider 1002, the volume slider 1004
// and the bitmap slider 4112 are CBitSliders. It sets the range (setRange),
// the images (SetChannel(kBmpSeekFilled, kBmpSeekEmpty), SetThumb(kBmpSeekThumb)),
// the position (SetPos) and reacts to HScroll(id, code, position), whose codes
// are those of WM_HSCROLL: 0/1 line, 2 page up (towards the minimum), 3 page
// down, 4 thumb position (released after a drag), 5 thumb track (dragging),
// 6 top, 7 bottom, 8 end of scroll. GetPos() is the current position.

#include "ui/BitSliderGeometry.h"
#include "ui/CBitWnd.h"

#include <QPixmap>
#include <QSlider>
#include <functional>

namespace lumora {

class CBitSlider : public QSlider {
  Q_OBJECT

 public:
  enum ScrollCode {
    kLineUp = 0,
    kLineDown = 1,
    kPageUp = 2,
    kPageDown = 3,
    kThumbPosition = 4,
    kThumbTrack = 5,
    kTop = 6,
    kBottom = 7,
    kEndScroll = 8
  };

  CBitSlider(QWidget* parent, int id, Qt::Orientation orientation = Qt::Horizontal);

  int Id() const { return id_; }
  void SetChannel(int filled_id, int empty_id);
  void SetChannelImages(const QPixmap& filled, const QPixmap& empty);
  void SetThumb(int strip_id, int frames = 3);
  void SetThumbImage(const QPixmap& strip, int frames = 3);
  // Distance of the thumb from the channel's edge, across the channel.
  void SetThumbOffset(int offset);
  void EnableTooltipRelay(bool relay) { relay_tooltips_ = relay; }
  // Seek-bar behaviour: a press on the channel off the thumb reports
  // ChannelPressed (the owner moves the position to the pressed point) and
  // then drags the thumb from there; the wheel reports WheelNotches. Without
  // it a press pages towards the point and the wheel is swallowed.
  void SetSeekBar(bool seekBar) { seek_bar_ = seekBar; }

  void SetPos(int position) { setSliderPosition(position); }
  int GetPos() const { return sliderPosition(); }
  CBitWnd* Thumb() const { return thumb_; }
  BitSliderGeometry Geometry() const;
  // "%d%%" of the position, or the owner's text for it, refreshed on every
  // mouse move and button release.
  QString TooltipText() const { return tooltip_text_; }
  void SetTooltipFormat(std::function<QString(int position)> format) {
    tooltip_format_ = std::move(format);
  }

 signals:
  void HScroll(int id, int code, int position);
  // Seek bar only: a press at `x` (slider coordinates) on the channel.
  void ChannelPressed(int id, int x);
  // Seek bar only: whole wheel notches turned, positive away from the user.
  void WheelNotches(int id, int notches);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void sliderChange(SliderChange change) override;

 private:
  void PlaceThumb();
  void RefreshTooltip(const QPoint& global);
  static int CodeForAction(int action);

  int id_;
  CBitWnd* thumb_;
  QPixmap filled_, empty_;
  int thumb_offset_ = 0;
  bool relay_tooltips_ = true;
  bool seek_bar_ = false;
  bool jumped_ = false;
  int wheel_delta_ = 0;
  bool dragging_ = false;
  int drag_offset_ = 0;
  int pending_code_ = -1;
  QString tooltip_text_;
  std::function<QString(int)> tooltip_format_;
};

}  // namespace lumora
