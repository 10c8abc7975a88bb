#include "app/KeyTable.h"

#include <Qt>

#include "app/AppIds.h"

namespace lumora {

KeyTable::KeyTable()
    : bindings_{
          // key, video-player command, DIT command, key-list string
          {Qt::Key_Space, kIdPlay, kIdPlay, 951},
          {Qt::Key_Left, kIdStepBack, kIdDitSeekBack, 952},
          {Qt::Key_Right, kIdStepForward, kIdDitSeekForward, 953},
          {Qt::Key_Home, kIdSeekStart, 0, 954},
          {Qt::Key_PageUp, kIdPrevious, kIdPrevious, 955},
          {Qt::Key_PageDown, kIdNext, kIdDitNextDrive, 956},
          {Qt::Key_Comma, kIdPictureBack, 0, 957},
          {Qt::Key_Period, kIdPictureForward, 0, 958},
          {Qt::Key_Up, kIdVolumeUp, 0, 959},
          {Qt::Key_Down, kIdVolumeDown, 0, 960},
          {Qt::Key_M, kIdMuteToggle, 0, 961},
          {Qt::Key_F, kIdFullScreen, 0, 962},
          {Qt::Key_F11, kIdFullScreen, 0, 962},
          {Qt::Key_Escape, kIdPreviousSize, 0, 963},
          {Qt::Key_Plus, kIdPaneZoomIn, 0, 964},
          {Qt::Key_Minus, kIdPaneZoomOut, 0, 965},
          {Qt::Key_X, kIdSpeed, kIdSpeed, 966},
          {Qt::Key_G, kIdGraph, 0, 967},
          {Qt::Key_L, kIdListToggle, 0, 968},
          {Qt::Key_S, kIdSnapshot, 0, 969},
          {Qt::Key_E, kIdExport, 0, 979},
          {Qt::Key_I, kIdExportIn, 0, 980},
          {Qt::Key_O, kIdExportOut, 0, 981},
          {Qt::Key_F1, kIdKeyList, kIdKeyList, 970},
      } {}

int KeyTable::CommandFor(int key, int modifiers, bool ditMode) const {
  if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return 0;
  for (const KeyBinding& b : bindings_) {
    if (b.key == key) return ditMode ? b.ditCommand : b.videoCommand;
  }
  return 0;
}

}  // namespace lumora
