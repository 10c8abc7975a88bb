// CBitWnd: the frame of its strip drawn for hover, press, release and leave,
// the toggle flag, command on press or on release, and forwarding to the
// parent (the state rules show in the drawn frames).
#include "UiTestSupport.h"
#include "ui/CBitWnd.h"

#include <gtest/gtest.h>

#include <vector>

namespace lumora {
namespace {

using namespace lumora::test;

class BitWndWidget : public testing::Test {
 protected:
  void SetUp() override {
    parent_.resize(100, 100);
    wnd_ = new CBitWnd(&parent_, 1199);
    wnd_->SetStrip(Strip(QSize(16, 12), {Qt::red, Qt::green, Qt::blue}));
    wnd_->move(20, 30);
    QObject::connect(wnd_, &CBitWnd::Command, [this](int id) { commands_.push_back(id); });
    parent_.show();
  }
  QRgb Shown() { return PixelOf(wnd_, QPoint(8, 6)); }

  QWidget parent_;
  CBitWnd* wnd_ = nullptr;
  std::vector<int> commands_;
};

TEST_F(BitWndWidget, DrawsTheCurrentFrameOfItsStrip) {
  EXPECT_EQ(wnd_->size(), QSize(16, 12));
  EXPECT_EQ(Shown(), QColor(Qt::red).rgb());
  Hover(wnd_, QPoint(3, 3));
  EXPECT_EQ(Shown(), QColor(Qt::green).rgb());
  Press(wnd_, QPoint(3, 3));
  EXPECT_EQ(Shown(), QColor(Qt::blue).rgb());
  EXPECT_TRUE(commands_.empty());
  Release(wnd_, QPoint(3, 3));
  EXPECT_EQ(Shown(), QColor(Qt::green).rgb());
  EXPECT_EQ(commands_, std::vector<int>{1199});
  Leave(wnd_);
  EXPECT_EQ(Shown(), QColor(Qt::red).rgb());
}

TEST_F(BitWndWidget, NotifyOnPressSendsTheCommandOnce) {
  wnd_->SetNotifyOnPress(true);
  Press(wnd_, QPoint(3, 3));
  EXPECT_EQ(commands_.size(), 1u);
  Release(wnd_, QPoint(3, 3));
  EXPECT_EQ(commands_.size(), 1u);
}

class MouseRecorder : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
        event->type() == QEvent::MouseButtonRelease) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      seen.emplace_back(event->type(), mouse->position().toPoint());
    }
    return false;
  }
  std::vector<std::pair<QEvent::Type, QPoint>> seen;
};

TEST_F(BitWndWidget, ForwardingPassesMouseInputToTheParentInItsCoordinates) {
  MouseRecorder recorder;
  parent_.setMouseTracking(true);
  parent_.installEventFilter(&recorder);
  Press(wnd_, QPoint(3, 4));
  EXPECT_TRUE(recorder.seen.empty());
  Release(wnd_, QPoint(3, 4));
  wnd_->SetForward(true);
  Hover(wnd_, QPoint(1, 2));
  Press(wnd_, QPoint(3, 4));
  Release(wnd_, QPoint(5, 6));
  ASSERT_EQ(recorder.seen.size(), 3u);
  EXPECT_EQ(recorder.seen[0], std::make_pair(QEvent::MouseMove, QPoint(21, 32)));
  EXPECT_EQ(recorder.seen[1], std::make_pair(QEvent::MouseButtonPress, QPoint(23, 34)));
  EXPECT_EQ(recorder.seen[2], std::make_pair(QEvent::MouseButtonRelease, QPoint(25, 36)));
  parent_.removeEventFilter(&recorder);
}

TEST_F(BitWndWidget, ToggleWindowStaysPressedUntilClickedAgain) {
  wnd_->SetToggle(true);
  Press(wnd_, QPoint(3, 3));
  Release(wnd_, QPoint(3, 3));
  EXPECT_TRUE(wnd_->Checked());
  Leave(wnd_);
  EXPECT_EQ(Shown(), QColor(Qt::blue).rgb());
  Press(wnd_, QPoint(3, 3));
  Release(wnd_, QPoint(3, 3));
  EXPECT_FALSE(wnd_->Checked());
  EXPECT_EQ(Shown(), QColor(Qt::green).rgb());
  EXPECT_EQ(commands_.size(), 2u);
}

}  // namespace
}  // namespace lumora
