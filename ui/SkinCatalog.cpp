#include "ui/SkinCatalog.h"

#include "res/SkinBitmaps.h"
#include "res/SkinIds.h"

namespace lumora {

int SkinCatalog::GraphModeSkin(int mode) {
  switch (mode) {
    case 1:
      return kBmpGMode1;
    case 2:
      return kBmpGMode2;
    default:
      return kBmpGMode0;
  }
}

int SkinCatalog::SkinForControl(int id) {
  switch (id) {
    case 1000:
      return kBmpMinimize;
    case 1001:
      return kBmpExit;
    case 1005:
      return kBmpPrev;
    case 1006:
      return kBmpPlay;
    case 1007:
      return kBmpStop;
    case 1008:
      return kBmpNext;
    case 1009:
      return kBmpStepBack;
    case 1010:
      return kBmpStepForward;
    case 1012:
      return kBmpSdOpen;
    case 1016:
      return kBmpCardSettings;
    case 1018:
      return kBmpFullScreen;
    case 1020:
      return kBmpGMode0;
    case 1023:
      return kBmpMute;
    case 1025:
      return kBmpRestoreSize;
    case 1041:
    case 1097:
      return kBmpSwap;
    case 1098:
      return kBmpAccGraph;
    case 1099:
      return kBmpLayoutFront;
    case 1100:
      return kBmpLayoutRear;
    case 1101:
      return kBmpMapLarge;
    case 1121:
      return kBmpZoomIn;
    case 1137:
      return kBmpRecovery;
    case 1154:
      return kBmpSkinSize;
    case 1155:
    case 1156:
      return kBmpThumbnails;
    case 1157:
      return kBmpPageNext;
    case 1158:
      return kBmpPagePrev;
    case 1193:
      return kBmpListClosed;
    case 1194:
      return kBmpOpen;
    case 1195:
      return kBmpSetup;
    case 1196:
      return kBmpGraph;
    case 1197:
      return kBmpDownload;
    case 1198:
      return kBmpPrint;
    case 1199:
      return kBmpInfo;
    case 1202:
      return kBmpDitSetup;
    case 3021:
      return kBmpZoomOut;
    case 4200:
      return kBmpList;
    case 40009:  // the snapshot button
      return kBmpSnapshot;
    case 4201:
      return kBmpFormat;
    case 5019:
      return kBmpMapToggle;
    case 5206:
      return kBmpSpeed1;
    case 8200:
      return kBmpDit;
    case 8201:
      return kBmpMark;
    // Caption buttons: the text is drawn over a plain face.
    case 1011:
    case 1017:
    case 1150:
    case 1151:
    case 1152:
    case 4153:
      return kBmpTextButton;
    default:
      return 0;
  }
}

int SkinCatalog::SkinMaskForControl(int id) {
  switch (id) {
    case 1005:
    case 1006:
    case 1007:
    case 1008:
    case 1009:
    case 1010:
      return kBmpRoundMask;
    default:
      break;
  }
  // Square tool buttons let the window's background show at their rounded
  // corners, whatever panel or (in window mode 2) white area they sit on.
  const int skin = SkinForControl(id);
  if (skin != 0 && HasSkinBitmap(skin) &&
      SkinImage(skin).size() == SkinImage(kBmpSquareMask).size())
    return kBmpSquareMask;
  return 0;
}

}  // namespace lumora
