// Starts the real viewer on a small generated card with the thumbnail page
// command (1155, then 1157 for the second page) and checks the saved window
// picture: every file of the page has a real picture in its frame inside the
// area (23, 100)-(628, 350), and the frames of the second page past its last
// file stay empty.
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>
#include <QSet>
#include <QTemporaryDir>

#include <string>

#include "library/CThumbnailPages.h"
#include "tests/support/TestCard.h"
#include "tests/support/ViewerRun.h"

namespace lumora {
namespace {

// The picture box of a slot in window coordinates: the page at (23, 100),
// frames 110 pixels square every 119 across and 120 down from (10, 10), the
// 104 x 78 box centred above the name strip.
QRect Box(int slot) {
  const int left = 23 + 10 + (slot % 5) * 119 + 3;
  const int top = 100 + 10 + (slot / 5) * 120 + 6;
  return QRect(left, top, 104, 78);
}

int Colours(const QImage& image, const QRect& area) {
  QSet<QRgb> seen;
  for (int y = area.top(); y <= area.bottom(); y += 2)
    for (int x = area.left(); x <= area.right(); x += 2)
      seen.insert(image.pixel(x, y) | 0xFF000000);
  return seen.size();
}

class ThumbsShot : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    card_ = dir_.path() + QStringLiteral("/card");
    CardOptions options = test::SmallCard(3);
    options.fps = 5;
    options.front_width = 320;
    options.front_height = 180;
    options.rear_height = 90;
    std::string error;
    ASSERT_TRUE(MakeCard(card_.toStdString(), options, &error)) << error;
  }

  QImage Shoot(const QString& name, const QString& commands) {
    return test::ShootViewer(
        dir_.path() + QLatin1Char('/') + name,
        {QStringLiteral("--card"), card_, QStringLiteral("--commands"), commands}, 4);
  }

  QTemporaryDir dir_;
  QString card_;
};

TEST_F(ThumbsShot, PagesShowTheCardsPicturesTenAtATime) {
  const std::size_t files = CThumbnailPages::Collect(card_.toStdString()).size();
  ASSERT_GT(files, 10u);
  ASSERT_LT(files, 20u);
  const QImage first = Shoot(QStringLiteral("first.png"), QStringLiteral("1155"));
  const QImage second = Shoot(QStringLiteral("second.png"), QStringLiteral("1155,1157"));
  ASSERT_FALSE(first.isNull());
  ASSERT_FALSE(second.isNull());
  // A decoded picture has many colours; an empty frame has one or two.
  for (int slot = 0; slot < 10; ++slot) {
    EXPECT_GT(Colours(first, Box(slot)), 30) << "first page, slot " << slot;
  }
  const int onSecond = static_cast<int>(files) - 10;
  for (int slot = 0; slot < 10; ++slot) {
    if (slot < onSecond) {
      EXPECT_GT(Colours(second, Box(slot)), 30) << "second page, slot " << slot;
    } else {
      EXPECT_LT(Colours(second, Box(slot)), 4) << "second page, slot " << slot;
    }
  }
}

}  // namespace
}  // namespace lumora
