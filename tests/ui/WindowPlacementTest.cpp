// Window placement rules: the list window beside the main window where the
// screen has room, the main window moved to make room for the pair, centring
// and keeping windows inside the screen.
#include <gtest/gtest.h>

#include "ui/WindowPlacement.h"

namespace lumora {
namespace {

TEST(WindowPlacement, ListBesideTheMainWindowAndRoomForThePair) {
  const struct {
    QRect main, area, list, room;
  } rows[] = {
      // Wide screen: right of the main window, same top.
      {{450, 160, 1020, 760}, {0, 0, 1920, 1080}, {1470, 160, 256, 760}, {450, 160, 1020, 760}},
      // Main window at the right edge: on its left.
      {{900, 20, 1020, 760}, {0, 0, 1920, 1080}, {644, 20, 256, 760}, {900, 20, 1020, 760}},
      // 1280 x 800, main window centred: no room on either side; the list at
      // the area's right edge, the pair of 1276 centred.
      {{130, 20, 1020, 760}, {0, 0, 1280, 800}, {1024, 20, 256, 760}, {2, 20, 1020, 760}},
      // A top panel of 30 pixels: the list is kept below it.
      {{130, 0, 1020, 760}, {0, 30, 1280, 770}, {1024, 30, 256, 760}, {2, 0, 1020, 760}},
      // The pair never fits.
      {{0, 0, 1020, 760}, {0, 0, 1024, 768}, {768, 0, 256, 760}, {0, 0, 1020, 760}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message() << r.main.x() << " in " << r.area.width());
    EXPECT_EQ(WindowPlacement::Beside(r.main, QSize(256, 760), r.area), r.list);
    EXPECT_EQ(WindowPlacement::RoomForList(r.main, 256, r.area), r.room);
  }
}

TEST(WindowPlacement, CentredAndInsideTheArea) {
  const QRect screen(0, 0, 1280, 800);
  EXPECT_EQ(WindowPlacement::Centred({1020, 760}, screen), QRect(130, 20, 1020, 760));
  EXPECT_EQ(WindowPlacement::Inside({-10, 790, 100, 50}, screen), QRect(0, 750, 100, 50));
  // Larger than the area: the area's top-left corner.
  EXPECT_EQ(WindowPlacement::Inside({300, 300, 1400, 900}, screen), QRect(0, 0, 1400, 900));
  // A small window centred on its owner near the screen's edge stays on screen.
  EXPECT_EQ(WindowPlacement::CentredOn({521, 249}, {1100, 20, 400, 300}, screen),
            QRect(759, 46, 521, 249));
}

}  // namespace
}  // namespace lumora
