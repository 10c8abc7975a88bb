#pragma once
// The state rules of a skinned button (CSkinButton) without any widget:
// kind from the button style, checked / mouse-over / pressed-with-capture
// flags, the pushed look while the mouse is held, and which face to draw.
// CSkinButton feeds it mouse, key and focus events and repaints when asked.

#include <cstdint>

namespace lumora {

class SkinButtonState {
 public:
  enum Kind { kPushButton = 0, kCheckBox = 2, kRadioButton = 4 };
  enum Face { kFaceNormal, kFaceDown, kFaceDisabled, kFaceOver, kFaceFocus };

  // Windows button style bits: 0x3 automatic check box, 0x9 automatic radio button.
  static int KindFromStyle(std::uint32_t style);

  explicit SkinButtonState(int kind = kPushButton) : kind_(kind) {}

  int Kind() const { return kind_; }
  bool Checked() const { return checked_ != 0; }
  bool MouseOver() const { return mouse_over_ != 0; }
  bool Captured() const { return captured_ != 0; }
  // Shown pushed: while the captured mouse is over the button.
  bool Pushed() const { return pushed_; }
  bool LeaveTracking() const { return tracking_; }

  // Set-check message: ignored by push buttons. True when a radio button became
  // checked, so the caller unchecks the rest of its group.
  bool SetCheck(bool checked);
  // Uncheck message from another radio button of the group.
  void Uncheck() { checked_ = 0; }

  // Each returns true when the look changed and the button must be redrawn.
  bool MouseMove(bool inside);
  bool MouseLeave();
  bool LButtonDown();

  struct Release {
    bool clicked = false;        // released over the button after a press
    bool radio_checked = false;  // a radio button became checked: uncheck the group
  };
  Release LButtonUp(bool inside);
  // Space key: the checking rule of the release (the pointer does not matter).
  Release SpaceKey();
  // Focus or capture lost.
  void LoseCapture();

  // Which bitmap draws the button: disabled, down (pressed or checked), else
  // normal, replaced by over / focus when the mouse is over it / it has the
  // focus and such a bitmap exists.
  Face FaceFor(bool enabled, bool has_focus, bool has_over_bitmap, bool has_focus_bitmap) const;
  // The caption moves by (+1, +1) when pressed or checked.
  bool TextShifted() const { return pushed_ || Checked(); }

 private:
  bool ApplyCheckRule();

  int kind_;
  std::uint8_t checked_ = 0;
  std::uint8_t mouse_over_ = 0;
  std::uint8_t captured_ = 0;
  bool pushed_ = false;
  bool tracking_ = false;
};

}  // namespace lumora
