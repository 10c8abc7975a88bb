#pragma once
// Which skin images each skinned control of the main window draws with.
//
// How the main window uses it: for each control-bar button it calls
// SkinForControl(id) and, when non-zero, CSkinButton::SetSkin(base,
// SkinMaskForControl(id)) and SizeToBitmap(). Buttons that change look with
// the state use the alternative bases directly: kBmpPause while playing,
// kBmpSpeed2/4/8 for the speed multiplier, kBmpGMode1/2 for the graph mode,
// kBmpMapSmall in map state 1, kBmpListOpen while the list window is shown,
// kBmpDitActive in DIT mode.

namespace lumora {

class SkinCatalog {
 public:
  // Base of the four state images of control `id`; 0 when it has none.
  static int SkinForControl(int id);
  // Mask image of control `id` (round transport buttons); 0 when none.
  static int SkinMaskForControl(int id);
  // The graph-mode button (1020) in data-panel graph mode 0, 1 or 2.
  static int GraphModeSkin(int mode);
};

}  // namespace lumora
