#include "res/SkinBitmaps.h"

#include <QDir>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPixmapCache>

namespace lumora {
namespace {

// Index of the compiled skin folder: id -> resource path, built once.
const QHash<int, QString>& SkinIndex() {
  static const QHash<int, QString> index = [] {
    QHash<int, QString> paths;
    const QDir dir(QStringLiteral(":/skin"));
    for (const QString& file : dir.entryList({QStringLiteral("*.png")}, QDir::Files)) {
      bool ok = false;
      const int id = file.section(QLatin1Char('_'), 0, 0).toInt(&ok);
      if (ok && !paths.contains(id)) paths.insert(id, dir.filePath(file));
    }
    return paths;
  }();
  return index;
}

}  // namespace

QString SkinBitmapPath(int id) { return SkinIndex().value(id); }

bool HasSkinBitmap(int id) { return SkinIndex().contains(id); }

QImage SkinImage(int id) {
  // Painting asks for the same pictures on every paint (the gauges' faces,
  // the masks): each is decoded once and then shared. QImage copies are
  // implicitly shared, so a caller that changes its copy detaches from it.
  static QMutex mutex;
  static QHash<int, QImage> decoded;
  const QMutexLocker lock(&mutex);
  const auto found = decoded.constFind(id);
  if (found != decoded.constEnd()) return *found;
  const QString path = SkinBitmapPath(id);
  const QImage image = path.isEmpty() ? QImage() : QImage(path);
  decoded.insert(id, image);
  return image;
}

QPixmap SkinBitmap(int id) {
  const QString path = SkinBitmapPath(id);
  if (path.isEmpty()) return QPixmap();
  QPixmap pixmap;
  if (!QPixmapCache::find(path, &pixmap)) {
    pixmap.load(path);
    QPixmapCache::insert(path, pixmap);
  }
  return pixmap;
}

SkinButtonImages SkinButton(int base) {
  return {SkinBitmap(base + kStateNormal), SkinBitmap(base + kStateDown),
          SkinBitmap(base + kStateOver), SkinBitmap(base + kStateDisabled)};
}

}  // namespace lumora
