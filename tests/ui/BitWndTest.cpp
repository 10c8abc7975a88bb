// Bitmap windows: the frame rules (hover, press, release, leave, toggle,
// command on press or release) as a table of event sequences; the widget for
// the frame of its strip it draws and the input it forwards to its parent.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/WidgetInput.h"
#include "ui/CBitWnd.h"

namespace lumora {
namespace {

using namespace lumora::test;

TEST(BitWndState, EventSequences) {
  // Events: m mouse move (hover), l leave, d press, u release.
  const struct {
    const char* events;
    bool toggle;
    bool notifyOnPress;
    int frame;
    bool checked;
    int commands;
  } rows[] = {
      {"", false, false, BitWndState::kFrameNormal, false, 0},
      {"m", false, false, BitWndState::kFrameHover, false, 0},
      {"mm", false, false, BitWndState::kFrameHover, false, 0},
      {"md", false, false, BitWndState::kFramePressed, false, 0},
      {"mdu", false, false, BitWndState::kFrameHover, false, 1},
      {"mdul", false, false, BitWndState::kFrameNormal, false, 1},
      {"md", false, true, BitWndState::kFramePressed, false, 1},
      {"mdu", false, true, BitWndState::kFrameHover, false, 1},
      {"mdul", true, false, BitWndState::kFramePressed, true, 1},
      {"mdulm", true, false, BitWndState::kFramePressed, true, 1},
      {"mdulmdu", true, false, BitWndState::kFrameHover, false, 2},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(testing::Message()
                 << r.events << " toggle " << r.toggle << " on press " << r.notifyOnPress);
    BitWndState state;
    state.SetToggle(r.toggle);
    state.SetNotifyOnPress(r.notifyOnPress);
    int commands = 0;
    for (const char* e = r.events; *e; ++e) {
      if (*e == 'm' && state.MouseMove()) state.Hover();
      if (*e == 'l') state.Leave();
      if (*e == 'd') commands += state.LButtonDown() ? 1 : 0;
      if (*e == 'u') commands += state.LButtonUp() ? 1 : 0;
    }
    EXPECT_EQ(state.Frame(), r.frame);
    EXPECT_EQ(state.Checked(), r.checked);
    EXPECT_EQ(commands, r.commands);
  }
}

class MouseRecorder : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
        event->type() == QEvent::MouseButtonRelease) {
      seen.emplace_back(event->type(), static_cast<QMouseEvent*>(event)->position().toPoint());
    }
    return false;
  }
  std::vector<std::pair<QEvent::Type, QPoint>> seen;
};

TEST(BitWndWidget, DrawsItsFrameSendsItsCommandAndForwardsInput) {
  QWidget parent;
  parent.resize(100, 100);
  auto* wnd = new CBitWnd(&parent, 1199);
  wnd->SetStrip(Strip(QSize(16, 12), {Qt::red, Qt::green, Qt::blue}));
  wnd->move(20, 30);
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
  Release(wnd, QPoint(3, 3));
  EXPECT_EQ(commands, std::vector<int>{1199});
  Leave(wnd);
  EXPECT_EQ(shown(), QColor(Qt::red));

  // Forwarded input reaches the parent in the parent's coordinates.
  MouseRecorder recorder;
  parent.setMouseTracking(true);
  parent.installEventFilter(&recorder);
  Click(wnd, QPoint(3, 4));
  EXPECT_TRUE(recorder.seen.empty());
  wnd->SetForward(true);
  Hover(wnd, QPoint(1, 2));
  Press(wnd, QPoint(3, 4));
  Release(wnd, QPoint(5, 6));
  parent.removeEventFilter(&recorder);
  const std::vector<std::pair<QEvent::Type, QPoint>> expected = {
      {QEvent::MouseMove, QPoint(21, 32)},
      {QEvent::MouseButtonPress, QPoint(23, 34)},
      {QEvent::MouseButtonRelease, QPoint(25, 36)}};
  EXPECT_EQ(recorder.seen, expected);
}

}  // namespace
}  // namespace lumora
