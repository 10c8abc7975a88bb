// Bitmap windows: the frame and command rules as event sequences; the widget
// for the frame of its strip it draws (its forwarding shows in the slider tests).
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "tests/support/WidgetInput.h"
#include "ui/CBitWnd.h"

namespace lumora {
namespace {

using namespace lumora::test;
using B = BitWndState;

TEST(BitWndState, EventSequences) {
  // Events: m mouse move (hover), l leave, d press, u release. Modes: t toggle,
  // p command on press (else on release).
  const std::tuple<std::string, std::string, int, bool, int> rows[] = {
      {"", "", B::kFrameNormal, false, 0},        {"mm", "", B::kFrameHover, false, 0},
      {"md", "", B::kFramePressed, false, 0},     {"mdu", "", B::kFrameHover, false, 1},
      {"mdul", "", B::kFrameNormal, false, 1},    {"md", "p", B::kFramePressed, false, 1},
      {"mdu", "p", B::kFrameHover, false, 1},     {"mdulm", "t", B::kFramePressed, true, 1},
      {"mdulmdu", "t", B::kFrameHover, false, 2},
  };
  for (const auto& [events, mode, frame, checked, commands] : rows) {
    SCOPED_TRACE(testing::Message() << events << " mode " << mode);
    B state;
    state.SetToggle(mode == "t");
    state.SetNotifyOnPress(mode == "p");
    int sent = 0;
    for (char e : events) {
      if (e == 'm' && state.MouseMove()) state.Hover();
      if (e == 'l') state.Leave();
      if (e == 'd') sent += state.LButtonDown() ? 1 : 0;
      if (e == 'u') sent += state.LButtonUp() ? 1 : 0;
    }
    EXPECT_EQ(state.Frame(), frame);
    EXPECT_EQ(state.Checked(), checked);
    EXPECT_EQ(sent, commands);
  }
}

TEST(BitWndWidget, DrawsTheFrameOfItsStripAndSendsItsCommand) {
  QWidget parent;
  auto* wnd = new CBitWnd(&parent, 1199);
  wnd->SetStrip(Strip(QSize(16, 12), {Qt::red, Qt::green, Qt::blue}));
  wnd->move(20, 30);
  std::vector<int> commands;
  QObject::connect(wnd, &CBitWnd::Command, [&](int id) { commands.push_back(id); });
  parent.show();
  EXPECT_EQ(wnd->size(), QSize(16, 12));
  const auto shown = [&] { return QColor(PixelOf(wnd, QPoint(8, 6))); };
  Hover(wnd, QPoint(3, 3));
  EXPECT_EQ(shown(), QColor(Qt::green));
  Press(wnd, QPoint(3, 3));
  EXPECT_EQ(shown(), QColor(Qt::blue));
  Release(wnd, QPoint(3, 3));
  Leave(wnd);
  EXPECT_EQ(shown(), QColor(Qt::red));
  EXPECT_EQ(commands, std::vector<int>{1199});
}

}  // namespace
}  // namespace lumora
