#pragma once
// Skin bitmaps by resource id (ids in res/SkinIds.h), compiled into the
// program from res/skin/<id>_<name>.png. The main window and the dialogs
// load their button faces, slider channels, thumbs and indicator pictures
// here and hand them to CSkinButton, CBitSlider and CBitWnd.

#include "res/SkinIds.h"

#include <QImage>
#include <QPixmap>
#include <QString>

namespace lumora {

// The four images of a skinned button whose images start at `base`.
struct SkinButtonImages {
  QPixmap normal;
  QPixmap down;
  QPixmap over;
  QPixmap disabled;
};

// Resource path of bitmap `id` (":/skin/<id>_<name>.png"), empty when unknown.
QString SkinBitmapPath(int id);
bool HasSkinBitmap(int id);

// The bitmap as an image / pixmap; null when the id is unknown.
QImage SkinImage(int id);
QPixmap SkinBitmap(int id);

// normal, down, over and disabled images of the button at `base`.
SkinButtonImages SkinButton(int base);

}  // namespace lumora
