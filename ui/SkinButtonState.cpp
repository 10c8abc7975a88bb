#include "ui/SkinButtonState.h"

namespace lumora {

int SkinButtonState::KindFromStyle(std::uint32_t style) {
  if ((style & 0x3u) == 0x3u) return kCheckBox;
  if ((style & 0x9u) == 0x9u) return kRadioButton;
  return kPushButton;
}

bool SkinButtonState::SetCheck(bool checked) {
  if (kind_ == kPushButton) return false;
  checked_ = checked ? 1 : 0;
  return checked && kind_ == kRadioButton;
}

bool SkinButtonState::MouseMove(bool inside) {
  if (!captured_) {
    bool changed = false;
    if (!tracking_) tracking_ = true;
    if (!mouse_over_) {
      mouse_over_ = 1;
      changed = true;
    }
    return changed;
  }
  if (inside != pushed_) {
    pushed_ = inside;
    return true;
  }
  return false;
}

bool SkinButtonState::MouseLeave() {
  tracking_ = false;
  if (!mouse_over_) return false;
  mouse_over_ = 0;
  return true;
}

bool SkinButtonState::LButtonDown() {
  tracking_ = false;
  mouse_over_ = 0;
  captured_ = 1;
  pushed_ = true;
  return true;
}

bool SkinButtonState::ApplyCheckRule() {
  if (kind_ == kCheckBox) {
    checked_ = checked_ ? 0 : 1;
    return false;
  }
  if (kind_ == kRadioButton) {
    checked_ = 1;
    return true;
  }
  return false;
}

SkinButtonState::Release SkinButtonState::LButtonUp(bool inside) {
  Release release;
  const bool was_captured = captured_ != 0;
  if (inside) release.radio_checked = ApplyCheckRule();
  release.clicked = inside && was_captured;
  captured_ = 0;
  pushed_ = false;
  return release;
}

SkinButtonState::Release SkinButtonState::SpaceKey() {
  Release release;
  release.radio_checked = ApplyCheckRule();
  release.clicked = true;
  return release;
}

void SkinButtonState::LoseCapture() {
  captured_ = 0;
  pushed_ = false;
}

SkinButtonState::Face SkinButtonState::FaceFor(bool enabled, bool has_focus, bool has_over_bitmap,
                                               bool has_focus_bitmap) const {
  if (!enabled) return kFaceDisabled;
  if (pushed_ || Checked()) return kFaceDown;
  // The focus bitmap is checked last, so it wins over the hover bitmap.
  if (has_focus && has_focus_bitmap) return kFaceFocus;
  if (MouseOver() && has_over_bitmap) return kFaceOver;
  return kFaceNormal;
}

}  // namespace lumora
