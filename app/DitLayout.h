#pragma once
// Where DIT mode puts its own controls in the main window and which controls
// of video-player mode it hides: the drive list takes the large video pane,
// the picture of the drive the small one, and the map stays where it is.

#include <vector>

#include "app/MainLayout.h"

namespace lumora {

class DitLayout {
 public:
  static constexpr LayoutRect kDriveList = MainLayout::kLargePane;
  static constexpr LayoutRect kPicture = MainLayout::kSmallPane;

  // Controls that only make sense for video: hidden while DIT mode is on.
  static const std::vector<int>& VideoOnlyControls();
  // True for the command of a video-only control: DIT mode ignores it, as
  // its button is hidden and its action would reach the video player.
  static bool IsVideoOnlyCommand(int id);
  // The multiplier's button bitmap (1, 2, 4 or 8).
  static int SpeedBitmap(int multiplier);
};

}  // namespace lumora
