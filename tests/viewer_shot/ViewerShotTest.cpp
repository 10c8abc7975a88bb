// The real lumora-viewer on a generated card: what only the whole program shows
// (saved window pictures with video and web map, DIT mode, thumbnails; start report).
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include <cmath>
#include <string>

#include "library/CThumbnailPages.h"
#include "tests/support/TempFolder.h"
#include "tests/support/TestCard.h"
#include "tests/support/ViewerRun.h"

namespace lumora {
namespace {

using test::CountColour;
using test::CountPixels;
using test::PixelCount;

// Colours the window draws with, and places in its 1020 x 760 client area.
constexpr QRgb kRoute = 0xFF1D98CE;   // route line and marker rings: (29, 152, 206)
constexpr QRgb kCursor = 0xFFFFA909;  // play cursor of the strip: (255, 169, 9)
constexpr QRgb kMarker = 0xFFFF8C00;  // fill of the position marker
constexpr QRgb kCurve = 0xFF00FF00;   // DIT speed curve
const QRect kLargePane(16, 37, 640, 360);
const QRect kSmallPane(684, 37, 320, 240);
const QRect kStrip(216, 575, 431, 85);
const QRect kMap(680, 354, 326, 353);

class ViewerShot : public ::testing::Test {
 protected:
  QString MakeTestCard(const CardOptions& options) {
    std::string error;
    EXPECT_TRUE(MakeCard(Card().toStdString(), options, &error)) << error;
    return Card();
  }
  QString Card() const { return QString::fromStdString((dir_ / "card").string()); }
  // The picture saved after SECONDS of --card CARD, with --commands COMMANDS.
  QImage Shoot(const QString& name, const QString& commands, double seconds) {
    QStringList args = {QStringLiteral("--card"), Card()};
    if (!commands.isEmpty()) args << QStringLiteral("--commands") << commands;
    return test::ShootViewer(QString::fromStdString((dir_ / name.toStdString()).string()), args,
                             seconds);
  }
  static bool Lit(QRgb p, int above) { return qRed(p) + qGreen(p) + qBlue(p) > above; }
  // The map keeps the position marker at its centre; between two pictures
  // the pixels of COLOUR (route or markers) move under it by more than SHIFT.
  static void ExpectMarkerCentredAndMoving(const QImage& early, const QImage& late, QRgb colour,
                                           int pixels, double shift) {
    const PixelCount marker = CountColour(late, kMap, kMarker);
    ASSERT_GE(marker.pixels, 30);
    EXPECT_NEAR(marker.CentreX(), kMap.x() + kMap.width() / 2.0, 4);
    EXPECT_NEAR(marker.CentreY(), kMap.y() + kMap.height() / 2.0, 4);
    const PixelCount before = CountColour(early, kMap, colour);
    const PixelCount after = CountColour(late, kMap, colour);
    ASSERT_GE(before.pixels, pixels);
    ASSERT_GE(after.pixels, pixels);
    EXPECT_GT(std::hypot(after.CentreX() - before.CentreX(), after.CentreY() - before.CentreY()),
              shift);
  }

  test::TempFolder dir_;
};

TEST_F(ViewerShot, PlayingWindowShowsVideoPanelAndMapWithRouteAndMarker) {
  CardOptions options = test::SmallCard(1, 16);
  options.seed = 5;  // a drive at a steady 30-40 km/h: the marker keeps moving
  options.front_width = 320;
  options.front_height = 180;
  options.with_stills = false;
  MakeTestCard(options);
  // (The viewer waits for the map page if it is still loading then.)
  const QImage early = Shoot(QStringLiteral("early.png"), QString(), 4);
  const QImage late = Shoot(QStringLiteral("late.png"), QString(), 11);
  ASSERT_EQ(late.size(), QSize(1020, 760));
  ASSERT_FALSE(early.isNull());
  // The video plays in the large pane: most of it is not black.
  EXPECT_GT(CountPixels(late, kLargePane, [](QRgb p) { return Lit(p, 60); }).pixels,
            kLargePane.width() * kLargePane.height() / 2);
  // The play cursor: past the strip's first quarter at 11 of 16 seconds, and
  // right of where it was at 4.
  const PixelCount cursor = CountColour(late, kStrip, kCursor);
  EXPECT_GE(cursor.pixels, 60);
  EXPECT_GT(cursor.CentreX(), 255 + 397 / 4);
  EXPECT_LT(CountColour(early, kStrip, kCursor).CentreX(), cursor.CentreX());
  ExpectMarkerCentredAndMoving(early, late, kRoute, 40, 20.0);
}

TEST_F(ViewerShot, DitReplayShowsDrivesPictureCurveAndRouteMarkers) {
  CardOptions options = test::SmallCard(2, 4);
  options.fps = 5;
  MakeTestCard(options);
  const QString ditAndPlay = QStringLiteral("8200,1006");
  const QImage early = Shoot(QStringLiteral("early.png"), ditAndPlay, 2.0);
  const QImage late = Shoot(QStringLiteral("late.png"), ditAndPlay, 4.5);
  ASSERT_EQ(late.size(), QSize(1020, 760));
  ASSERT_FALSE(early.isNull());
  // The drive list fills the large pane (a light list, not video); the
  // drive's still the small pane.
  EXPECT_GT(CountPixels(late, kLargePane, [](QRgb p) { return Lit(p, 700); }).pixels,
            kLargePane.width() * kLargePane.height() * 3 / 4);
  EXPECT_GT(CountPixels(late, kSmallPane, [](QRgb p) { return Lit(p, 150); }).pixels,
            kSmallPane.width() * kSmallPane.height() / 2);
  // The drive's speed curve, never left of x = 260.
  const PixelCount curve = CountColour(late, kStrip, kCurve);
  EXPECT_GE(curve.pixels, 100);
  EXPECT_GE(curve.minX, 260);
  ExpectMarkerCentredAndMoving(early, late, kRoute, 60, 4.0);
}

// Colours in AREA: a decoded picture has many, an empty frame one or two.
int Colours(const QImage& image, const QRect& area) {
  QSet<QRgb> seen;
  for (int y = area.top(); y <= area.bottom(); y += 2)
    for (int x = area.left(); x <= area.right(); x += 2)
      seen.insert(image.pixel(x, y) | 0xFF000000);
  return seen.size();
}

TEST_F(ViewerShot, ThumbnailPagesShowTheCardsPicturesTenAtATime) {
  CardOptions options = test::SmallCard(3);
  options.fps = 5;
  options.front_width = 320;
  options.front_height = 180;
  options.rear_height = 90;
  MakeTestCard(options);
  const int files = static_cast<int>(CThumbnailPages::Collect(Card().toStdString()).size());
  ASSERT_GT(files, 10);
  ASSERT_LT(files, 20);
  const QImage first = Shoot(QStringLiteral("first.png"), QStringLiteral("1155"), 4);
  const QImage second = Shoot(QStringLiteral("second.png"), QStringLiteral("1155,1157"), 4);
  ASSERT_FALSE(first.isNull());
  ASSERT_FALSE(second.isNull());
  // The 104 x 78 picture box of each frame: the page at (23, 100), frames
  // every 119 pixels across and 120 down from (10, 10), the box 3, 6 inside.
  for (int slot = 0; slot < 10; ++slot) {
    const QRect box(23 + 10 + (slot % 5) * 119 + 3, 100 + 10 + (slot / 5) * 120 + 6, 104, 78);
    EXPECT_GT(Colours(first, box), 30) << "first page, slot " << slot;
    if (slot < files - 10) {
      EXPECT_GT(Colours(second, box), 30) << "second page, slot " << slot;
    } else {
      EXPECT_LT(Colours(second, box), 4) << "second page, slot " << slot;
    }
  }
}

// With --report-start it prints one JSON line of its start times and exits.
TEST_F(ViewerShot, StartReportPrintsStartTimesAsJsonAndExits) {
  MakeTestCard(test::SmallCard(2, 4));
  const test::ViewerRun run =
      test::RunViewer({QStringLiteral("--card"), Card(), QStringLiteral("--report-start")}, false);
  const std::string out = run.out.toStdString();
  ASSERT_TRUE(run.finished) << run.err.toStdString();
  EXPECT_EQ(run.status, QProcess::NormalExit) << run.err.toStdString();
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QByteArray line = run.out.trimmed();
  EXPECT_FALSE(line.contains('\n')) << out;
  QJsonParseError parseError;
  const QJsonObject report = QJsonDocument::fromJson(line, &parseError).object();
  ASSERT_EQ(parseError.error, QJsonParseError::NoError) << out;
  ASSERT_EQ(report.size(), 3) << out;
  for (const char* key : {"start_ms", "first_paint_ms", "map_ready_ms"})
    ASSERT_TRUE(report.value(QLatin1String(key)).isDouble()) << key << ": " << out;
  const double start = report.value(QStringLiteral("start_ms")).toDouble();
  const double firstPaint = report.value(QStringLiteral("first_paint_ms")).toDouble();
  const double mapReady = report.value(QStringLiteral("map_ready_ms")).toDouble();
  // Whole milliseconds since the program started; the first paint came no
  // later than the one with the card open; the map page loaded, or -1.
  EXPECT_EQ(start, std::floor(start));
  EXPECT_GT(firstPaint, 0);
  EXPECT_LE(firstPaint, start);
  EXPECT_LT(start, 60000);
  EXPECT_TRUE(mapReady == -1 || (mapReady > 0 && mapReady < 60000)) << mapReady;
}

}  // namespace
}  // namespace lumora
