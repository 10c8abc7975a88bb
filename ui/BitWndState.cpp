#include "ui/BitWndState.h"

namespace lumora {

void BitWndState::SetChecked(bool checked) {
  checked_ = checked;
  frame_ = checked ? kFramePressed : kFrameNormal;
}

bool BitWndState::MouseMove() {
  if (tracking_) return false;
  tracking_ = true;
  return true;
}

void BitWndState::Hover() { frame_ = checked_ ? kFramePressed : kFrameHover; }

void BitWndState::Leave() {
  frame_ = checked_ ? kFramePressed : kFrameNormal;
  tracking_ = false;
}

bool BitWndState::LButtonDown() {
  if (!checked_) frame_ = kFramePressed;
  if (toggle_) checked_ = !checked_;
  return notify_on_press_;
}

bool BitWndState::LButtonUp() {
  if (!checked_) frame_ = kFrameHover;
  return !notify_on_press_;
}

}  // namespace lumora
