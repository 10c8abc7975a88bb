// Starts the real viewer on a small generated card with the commands DIT
// (8200) and Play (1006), and checks the saved window picture: the drive list
// in the large pane, the drive's still in the small pane, the DIT speed curve
// from x = 260, the needle, and on the web map the route markers with the
// position marker moving along them.
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <string>

#include "tests/support/TestCard.h"
#include "tests/support/ViewerRun.h"

namespace lumora {
namespace {

constexpr QRgb kNeedle = 0xFF1D98CE;  // needle and route-marker rings: (29, 152, 206)
constexpr QRgb kMarker = 0xFFFF8C00;  // fill of the position marker
constexpr QRgb kCurve = 0xFF00FF00;   // speed curve

const QRect kDriveList(16, 37, 640, 360);
const QRect kPicture(684, 37, 320, 240);
const QRect kSpeedometer(219, 459, 177, 178);
const QRect kStrip(216, 575, 431, 85);
const QRect kMap(680, 354, 326, 353);

using test::CountColour;
using test::CountPixels;
using test::PixelCount;

class DitShot : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    card_ = dir_.path() + QStringLiteral("/card");
    CardOptions options = test::SmallCard(2, 4);
    options.fps = 5;
    std::string error;
    ASSERT_TRUE(MakeCard(card_.toStdString(), options, &error)) << error;
  }

  QImage Shoot(const QString& name, double seconds) {
    return test::ShootViewer(dir_.path() + QLatin1Char('/') + name,
                             {QStringLiteral("--card"), card_, QStringLiteral("--commands"),
                              QStringLiteral("8200,1006")},
                             seconds);
  }

  QTemporaryDir dir_;
  QString card_;
};

TEST_F(DitShot, ReplayShowsDrivesPictureCurveAndRouteMarkers) {
  const QImage early = Shoot(QStringLiteral("early.png"), 2.0);
  const QImage late = Shoot(QStringLiteral("late.png"), 4.5);
  ASSERT_FALSE(early.isNull());
  ASSERT_FALSE(late.isNull());
  ASSERT_EQ(late.size(), QSize(1020, 760));

  // The drive list fills the large pane: a light list, not video.
  const PixelCount light =
      CountPixels(late, kDriveList, [](QRgb p) { return qRed(p) + qGreen(p) + qBlue(p) > 700; });
  EXPECT_GT(light.pixels, kDriveList.width() * kDriveList.height() * 3 / 4);
  // The drive's still in the small pane.
  const PixelCount lit =
      CountPixels(late, kPicture, [](QRgb p) { return qRed(p) + qGreen(p) + qBlue(p) > 150; });
  EXPECT_GT(lit.pixels, kPicture.width() * kPicture.height() / 2);
  // The speed curve of the drive, never left of x = 260.
  const PixelCount curve = CountColour(late, kStrip, kCurve);
  EXPECT_GE(curve.pixels, 100);
  EXPECT_GE(curve.minX, 260);
  EXPECT_GE(CountColour(late, kSpeedometer, kNeedle).pixels, 40);

  // The map: route-marker rings and the position marker kept at the centre;
  // between the two pictures the markers move under it.
  const PixelCount rings = CountColour(late, kMap, kNeedle);
  EXPECT_GE(rings.pixels, 60);
  const PixelCount marker = CountColour(late, kMap, kMarker);
  ASSERT_GE(marker.pixels, 30);
  EXPECT_NEAR(marker.CentreX(), kMap.x() + kMap.width() / 2.0, 4);
  EXPECT_NEAR(marker.CentreY(), kMap.y() + kMap.height() / 2.0, 4);
  const PixelCount earlyRings = CountColour(early, kMap, kNeedle);
  ASSERT_GE(earlyRings.pixels, 60);
  const double shift =
      std::hypot(rings.CentreX() - earlyRings.CentreX(), rings.CentreY() - earlyRings.CentreY());
  EXPECT_GT(shift, 4.0);
}

}  // namespace
}  // namespace lumora
