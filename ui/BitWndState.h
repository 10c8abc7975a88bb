#pragma once
// The state rules of a bitmap window (CBitWnd) without any widget: the frame
// shown (0 normal, 1 hover, 2 pressed), the checked and toggle flags, hover
// tracking, and when the parent gets the command.

namespace lumora {

class BitWndState {
 public:
  enum Frame { kFrameNormal = 0, kFrameHover = 1, kFramePressed = 2 };

  int Frame() const { return frame_; }
  bool Checked() const { return checked_; }
  bool Tracking() const { return tracking_; }
  void SetChecked(bool checked);
  void SetToggle(bool toggle) { toggle_ = toggle; }
  bool Toggle() const { return toggle_; }
  void SetNotifyOnPress(bool notify) { notify_on_press_ = notify; }
  bool NotifyOnPress() const { return notify_on_press_; }

  // Mouse move: starts hover and leave tracking once; true when tracking began.
  bool MouseMove();
  void Hover();
  void Leave();
  // Returns true when the parent gets the command now.
  bool LButtonDown();
  bool LButtonUp();

 private:
  int frame_ = kFrameNormal;
  bool checked_ = false;
  bool toggle_ = false;
  bool notify_on_press_ = false;
  bool tracking_ = false;
};

}  // namespace lumora
