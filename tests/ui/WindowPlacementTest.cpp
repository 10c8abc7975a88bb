#include <gtest/gtest.h>

#include "ui/WindowPlacement.h"

namespace lumora {
namespace {

TEST(WindowPlacement, ListBesideTheMainWindowOnlyWhereTheScreenHasRoom) {
  const QSize list(256, 760);
  const struct {
    QRect main, area, expected;
  } rows[] = {
      // Wide screen: right of the main window, same top.
      {{450, 160, 1020, 760}, {0, 0, 1920, 1080}, {1470, 160, 256, 760}},
      // 1280 x 800, main window centred: no room on either side; inside the
      // area at its right edge.
      {{130, 20, 1020, 760}, {0, 0, 1280, 800}, {1024, 20, 256, 760}},
      // Main window at the right edge: on its left.
      {{900, 20, 1020, 760}, {0, 0, 1920, 1080}, {644, 20, 256, 760}},
      // A top panel of 30 pixels: kept below it.
      {{130, 0, 1020, 760}, {0, 30, 1280, 770}, {1024, 30, 256, 760}},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.main.x());
    EXPECT_EQ(WindowPlacement::Beside(r.main, list, r.area), r.expected);
  }
}

TEST(WindowPlacement, MainWindowMakesRoomForTheListWhereThePairFits) {
  const struct {
    QRect main, area, expected;
  } rows[] = {
      {{130, 20, 1020, 760}, {0, 0, 1280, 800}, {2, 20, 1020, 760}},       // 1276 of 1280
      {{450, 160, 1020, 760}, {0, 0, 1920, 1080}, {450, 160, 1020, 760}},  // room on the right
      {{900, 20, 1020, 760}, {0, 0, 1920, 1080}, {900, 20, 1020, 760}},    // room on the left
      {{0, 0, 1020, 760}, {0, 0, 1024, 768}, {0, 0, 1020, 760}},           // the pair never fits
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.main.x());
    EXPECT_EQ(WindowPlacement::RoomForList(r.main, 256, r.area), r.expected);
  }
}

TEST(WindowPlacement, CentredAndInsideTheArea) {
  EXPECT_EQ(WindowPlacement::Centred({1020, 760}, {0, 0, 1280, 800}), QRect(130, 20, 1020, 760));
  EXPECT_EQ(WindowPlacement::Inside({-10, 790, 100, 50}, {0, 0, 1280, 800}),
            QRect(0, 750, 100, 50));
  // Larger than the area: the area's top-left corner.
  EXPECT_EQ(WindowPlacement::Inside({300, 300, 1400, 900}, {0, 0, 1280, 800}),
            QRect(0, 0, 1400, 900));
  // A small window centred on its owner near the screen's edge stays on screen.
  EXPECT_EQ(WindowPlacement::CentredOn({521, 249}, {1100, 20, 400, 300}, {0, 0, 1280, 800}),
            QRect(759, 46, 521, 249));
}

}  // namespace
}  // namespace lumora
