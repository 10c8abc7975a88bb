// lumora-skingen: draws every skin bitmap of the program into PNG files named
// "<id>_<name>.png" in the given folder (res/skin in the source tree).
#include "tools/skingen/SkinPainter.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: lumora-skingen OUTPUT_DIR\n");
    return 2;
  }
  QDir dir(QString::fromLocal8Bit(argv[1]));
  if (!dir.mkpath(QStringLiteral("."))) {
    std::fprintf(stderr, "cannot create %s\n", argv[1]);
    return 2;
  }
  // Old pictures go first, so a renamed picture leaves no stale file behind.
  for (const QString& old : dir.entryList({QStringLiteral("*.png")}, QDir::Files)) dir.remove(old);
  int written = 0;
  for (const auto& picture : lumora::skingen::DrawWholeSkin()) {
    const QString file =
        dir.filePath(QStringLiteral("%1_%2.png").arg(picture.id).arg(picture.name));
    if (!picture.image.save(file, "PNG")) {
      std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
      return 1;
    }
    ++written;
  }
  std::printf("%d skin bitmaps written to %s\n", written, argv[1]);
  return 0;
}
