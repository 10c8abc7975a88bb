// Bitmap windows draw the frame of their strip for their state and send their
// command on release (their forwarding shows in the slider tests).
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/WidgetInput.h"
#include "ui/CBitWnd.h"

namespace lumora {
namespace {

using namespace lumora::test;

TEST(BitWnd, DrawsTheFrameOfItsStateAndSendsItsCommandOnRelease) {
  QWidget parent;
  auto* wnd = new CBitWnd(&parent, 1199);
  wnd->SetStrip(Strip(QSize(16, 12), {Qt::red, Qt::green, Qt::blue}));
  std::vector<int> commands;
  QObject::connect(wnd, &CBitWnd::Command, [&](int id) { commands.push_back(id); });
  parent.show();
  EXPECT_EQ(wnd->size(), QSize(16, 12));
  const auto shown = [&] { return QColor(PixelOf(wnd, QPoint(8, 6))); };
  EXPECT_EQ(shown(), QColor(Qt::red));
  Hover(wnd, QPoint(3, 3));
  EXPECT_EQ(shown(), QColor(Qt::green));
  Press(wnd, QPoint(3, 3));
  EXPECT_EQ(shown(), QColor(Qt::blue));
  EXPECT_TRUE(commands.empty());
  Release(wnd, QPoint(3, 3));
  EXPECT_EQ(shown(), QColor(Qt::green));
  EXPECT_EQ(commands, std::vector<int>{1199});
  Leave(wnd);
  EXPECT_EQ(shown(), QColor(Qt::red));
}

}  // namespace
}  // namespace lumora
