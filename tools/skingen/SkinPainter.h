#pragma once
// Draws the program's skin: dark rounded buttons with light line icons in
// four states, slider channels and thumbs, the window background, the
// driver-assistance indicator pictures and a few fixed pictures.

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>
#include <vector>

class QPainter;
class QRectF;

namespace lumora::skingen {

// One picture of the skin: its resource id, file-name stem and image.
struct SkinImage {
  int id = 0;
  QString name;
  QImage image;
};

// Every picture of the skin, in id order of their definition.
std::vector<SkinImage> DrawWholeSkin();

// A button background in one of the four states (kStateNormal ...), with an
// icon drawn by `icon` into a 24 x 24 design box scaled onto the face.
using IconPainter = std::function<void(QPainter&, const QColor& ink)>;
QImage DrawButton(QSize size, int state, const IconPainter& icon, bool round = false);

}  // namespace lumora::skingen
