// The compiled skin: button states, the sizes and looks the controls need, and
// the generator writing exactly the committed files.
#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <vector>

#include "res/SkinBitmaps.h"

namespace lumora {
namespace {

TEST(SkinBitmaps, EveryButtonHasFourDistinctStatesOfOneSize) {
  for (int base = kBmpMinimize; base <= kBmpCategory; base += kButtonStateCount) {
    SCOPED_TRACE(base);
    const SkinButtonImages images = SkinButton(base);
    ASSERT_FALSE(images.normal.isNull());
    const QImage normal = images.normal.toImage();
    for (const QPixmap* state : {&images.down, &images.over, &images.disabled}) {
      EXPECT_EQ(state->size(), images.normal.size());
      EXPECT_NE(state->toImage(), normal);
    }
  }
  EXPECT_FALSE(HasSkinBitmap(12345));
  EXPECT_TRUE(SkinBitmap(12345).isNull());
}

TEST(SkinBitmaps, FixedPicturesHaveTheirControlSizesAndLooks) {
  // The background is the client area of window mode 1.
  std::vector<std::pair<int, QSize>> rows = {
      {kBmpBackground, {1020, 760}},      {kBmpThumbnailArea, {605, 250}},
      {kBmpEventAlert, {180, 165}},       {kBmpGraphModeA, {40, 39}},
      {kBmpGraphModeB, {40, 39}},         {kBmpGraphModeSpeed, {40, 39}},
      {kBmpGraphModeADown, {40, 39}},     {kBmpGraphModeBDown, {40, 39}},
      {kBmpGraphModeSpeedDown, {40, 39}}, {kBmpSeekFilled, {537, 20}},
      {kBmpSeekEmpty, {537, 20}},         {kBmpVolumeFilled, {92, 20}},
      {kBmpVolumeEmpty, {92, 20}},        {kBmpCategory, {60, 15}},
      {kBmpOrderBar, {256, 12}},          {kBmpListX, {25, 25}}};
  for (int id = kBmpIndicatorFirst; id <= kBmpIndicatorLast; ++id) rows.push_back({id, {180, 165}});
  for (const auto& [id, size] : rows) EXPECT_EQ(SkinImage(id).size(), size) << id;
  // Thumbs and the logo are strips of three frames.
  EXPECT_EQ(SkinImage(kBmpSeekThumb).width() % 3, 0);
  EXPECT_EQ(SkinImage(kBmpVolumeThumb).width() % 3, 0);
  EXPECT_EQ(SkinImage(kBmpLogo).width(), 3 * SkinImage(kBmpLogo).height());
  EXPECT_FALSE(SkinImage(kBmpAppIcon).isNull());
  for (int a = kBmpIndicatorFirst; a <= kBmpIndicatorLast; ++a)
    for (int b = a + 1; b <= kBmpIndicatorLast; ++b)
      EXPECT_NE(SkinImage(a), SkinImage(b)) << a << " " << b;
  const QImage alert = SkinImage(kBmpEventAlert).convertToFormat(QImage::Format_RGB32);
  for (QPoint p : {QPoint(0, 0), QPoint(179, 164), QPoint(90, 100)})
    EXPECT_EQ(alert.pixel(p), qRgb(255, 255, 255)) << p.x() << "," << p.y();
  EXPECT_NE(alert.pixel(45, 10), qRgb(255, 255, 255));  // the badge
  for (int id : {kBmpRoundMask, kBmpSquareMask}) {
    const QImage mask = SkinImage(id).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(mask.isNull()) << id;
    EXPECT_EQ(mask.pixel(mask.width() / 2, mask.height() / 2), qRgb(0, 0, 0)) << id;
  }
  EXPECT_EQ(SkinImage(kBmpRoundMask).convertToFormat(QImage::Format_RGB32).pixel(0, 0),
            qRgb(255, 255, 255));
}

TEST(SkinBitmaps, GeneratorWritesTheCommittedSetOfFiles) {
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  QProcess generator;
  generator.start(QStringLiteral(LUMORA_BINARY_DIR "/tools/skingen/lumora-skingen"), {out.path()});
  ASSERT_TRUE(generator.waitForFinished(60000));
  ASSERT_EQ(generator.exitCode(), 0) << generator.readAllStandardError().toStdString();
  const QDir generated(out.path());
  const QDir committed(QStringLiteral(LUMORA_SOURCE_DIR "/res/skin"));
  const QStringList files = generated.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
  EXPECT_EQ(files, committed.entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name));
  for (const QString& file : files) {
    EXPECT_EQ(QImage(generated.filePath(file)).size(), QImage(committed.filePath(file)).size())
        << file.toStdString();
  }
}

}  // namespace
}  // namespace lumora
