// Starts the real viewer on a small generated card, lets it play, and checks
// the saved window picture pixel by pixel: the video in the large pane, the
// speedometer needle, the graph strip's play cursor, the latitude text, and
// on the web map the route line and the position marker that follows the
// play position.
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <cmath>
#include <string>

#include "tests/support/TestCard.h"
#include "tests/support/ViewerRun.h"

namespace lumora {
namespace {

// Colours the window draws with (red, green, blue).
constexpr QRgb kNeedle = 0xFF1D98CE;  // needle, heading arrow and route line: (29, 152, 206)
constexpr QRgb kCursor = 0xFFFFA909;  // play cursor of the strip: (255, 169, 9)
constexpr QRgb kMarker = 0xFFFF8C00;  // fill of the position marker

// Places in the 1020 x 760 client area of window mode 1.
const QRect kLargePane(16, 37, 640, 360);
const QRect kSpeedometer(219, 459, 177, 178);
const QRect kStrip(216, 575, 431, 85);
const QRect kLatitudeLine(500, 515, 180, 20);
const QRect kMap(680, 354, 326, 353);

using test::CountColour;
using test::CountPixels;
using test::PixelCount;

class ViewerShot : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    card_ = dir_.path() + QStringLiteral("/card");
    CardOptions options = test::SmallCard(1, 16);
    options.seed = 5;  // a drive at a steady 30-40 km/h: the marker keeps moving
    options.front_width = 320;
    options.front_height = 180;
    options.with_stills = false;
    std::string error;
    ASSERT_TRUE(MakeCard(card_.toStdString(), options, &error)) << error;
  }

  // Runs lumora-viewer --card DIR --screenshot FILE --after SECONDS.
  QImage Shoot(const QString& name, double seconds) {
    return test::ShootViewer(dir_.path() + QLatin1Char('/') + name,
                             {QStringLiteral("--card"), card_}, seconds);
  }

  QTemporaryDir dir_;
  QString card_;
};

TEST_F(ViewerShot, PlayingWindowShowsVideoPanelAndMapWithRouteAndMarker) {
  // (The viewer waits for the map page if it is still loading then.)
  const QImage early = Shoot(QStringLiteral("early.png"), 4);
  const QImage late = Shoot(QStringLiteral("late.png"), 11);
  ASSERT_FALSE(early.isNull());
  ASSERT_FALSE(late.isNull());
  ASSERT_EQ(late.size(), QSize(1020, 760));

  // The video plays in the large pane: most of it is not black.
  const PixelCount lit =
      CountPixels(late, kLargePane, [](QRgb p) { return qRed(p) + qGreen(p) + qBlue(p) > 60; });
  EXPECT_GT(lit.pixels, kLargePane.width() * kLargePane.height() / 2);

  // The speedometer needle, a line of width 2 from the centre (272, 511).
  const PixelCount needle = CountColour(late, kSpeedometer, kNeedle);
  EXPECT_GE(needle.pixels, 40);
  // The play cursor: one vertical line over the strip's height (575..665 clipped
  // to the strip), past the strip's first quarter at 11 of 16 seconds.
  const PixelCount cursor = CountColour(late, kStrip, kCursor);
  EXPECT_GE(cursor.pixels, 60);
  EXPECT_GT(cursor.CentreX(), 255 + 397 / 4);
  const PixelCount earlyCursor = CountColour(early, kStrip, kCursor);
  EXPECT_LT(earlyCursor.CentreX(), cursor.CentreX());
  // The latitude line carries white (smoothed) text on its dark background.
  const PixelCount text = CountPixels(late, kLatitudeLine, [](QRgb p) {
    return qRed(p) > 180 && qGreen(p) > 180 && qBlue(p) > 180;
  });
  EXPECT_GE(text.pixels, 30);

  // The map: the route as a line in its colour, the marker at the map's
  // centre (the page centres on it).
  const PixelCount route = CountColour(late, kMap, kNeedle);
  EXPECT_GE(route.pixels, 40);
  const PixelCount marker = CountColour(late, kMap, kMarker);
  ASSERT_GE(marker.pixels, 30);
  EXPECT_NEAR(marker.CentreX(), kMap.x() + kMap.width() / 2.0, 4);
  EXPECT_NEAR(marker.CentreY(), kMap.y() + kMap.height() / 2.0, 4);
  // The marker follows the position: the map keeps it centred, so between
  // the two pictures the route moves under it.
  const PixelCount earlyRoute = CountColour(early, kMap, kNeedle);
  ASSERT_GE(earlyRoute.pixels, 40);
  const double shift =
      std::hypot(route.CentreX() - earlyRoute.CentreX(), route.CentreY() - earlyRoute.CentreY());
  EXPECT_GT(shift, 20.0);
}

}  // namespace
}  // namespace lumora
