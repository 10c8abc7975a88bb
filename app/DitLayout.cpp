#include "app/DitLayout.h"

#include <algorithm>

#include "app/AppIds.h"
#include "res/SkinIds.h"

namespace lumora {

const std::vector<int>& DitLayout::VideoOnlyControls() {
  static const std::vector<int> ids = {
      kIdNext,      kIdStepBack,   kIdStepForward,     kIdFullScreen,     kIdChangeScreen,
      kIdZoomIn,    kIdZoomOut,    kIdFrontRearSwitch, kIdLayoutMapCheck, kIdLayoutVideoCheck,
      kIdMapSize,   kIdAccelGraph, kIdVideoRecovery,   kIdListToggle,     kIdList,
      kIdGraph,     kIdGraphMode,  kIdDownload,        kIdFileNameLabel,  kIdThumbList,
      kIdThumbFile, kIdThumbNext,  kIdThumbPrevious,   kIdSnapshot};
  return ids;
}

bool DitLayout::IsVideoOnlyCommand(int id) {
  const std::vector<int>& ids = VideoOnlyControls();
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

int DitLayout::SpeedBitmap(int multiplier) {
  switch (multiplier) {
    case 2:
      return kBmpSpeed2;
    case 4:
      return kBmpSpeed4;
    case 8:
      return kBmpSpeed8;
    default:
      return kBmpSpeed1;
  }
}

}  // namespace lumora
