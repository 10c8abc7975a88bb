// The QPainter display under the offscreen platform: the shared rendering
// checks, and what only the widget does (its place, painting on the UI thread,
// the mouse drag, brightness reaching the drawing).
#include "display/qt/CDisplayFactory.h"
#include "display/qt/CPainterDisplay.h"
#include "tests/display_qt/DisplayRenderChecks.h"
#include "tests/support/WidgetInput.h"

#include <gtest/gtest.h>

#include <QWidget>

#include <memory>

namespace lumora {
namespace {

using namespace testpics;

class PainterDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    parent.resize(640, 480);
    parent.show();
    CDisplayFactory factory;
    ASSERT_EQ(factory.Resolved(), CDisplayFactory::Kind::Painter);  // offscreen platform
    display.reset(factory.CreateDisplay(0, &parent));
    widget = dynamic_cast<CPainterDisplay*>(display.get());
    ASSERT_NE(widget, nullptr);
    InitLikeThePlayer(*display, &parent);
    Settle();
  }
  QImage Grab() { return widget->grab().toImage().convertToFormat(QImage::Format_RGB32); }

  QWidget parent;
  std::unique_ptr<IVideoDisplay> display;
  CPainterDisplay* widget = nullptr;
  GrabFn grab = [this] { return Grab(); };
};

TEST_F(PainterDisplay, ColourBarsAndLetterbox) { CheckColourBarsAndLetterbox(*display, grab); }

TEST_F(PainterDisplay, ZoomShowsTheRedInsetFrame) { CheckZoomInset(*display, parent, grab); }

TEST_F(PainterDisplay, StillImageWhenStopped) { CheckStillWhenStopped(*display, grab); }

TEST_F(PainterDisplay, CaptionAtTheTopLeft) { CheckCaption(*display, parent, grab); }

TEST_F(PainterDisplay, DeviceLossRecovery) { CheckDeviceLossRecovery(*display, grab); }

TEST_F(PainterDisplay, CoversItsParentWithControlId) {
  EXPECT_EQ(widget->geometry(), QRect(0, 0, 640, 480));
  EXPECT_EQ(widget->property("controlId").toInt(), 0x2000);
  parent.resize(300, 200);
  display->FitToParent();
  EXPECT_EQ(widget->size(), QSize(300, 200));
}

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
  int paints = 0;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
};

TEST_F(PainterDisplay, FrameFromThePlayerThreadRepaintsOnTheUiThread) {
  PaintCounter counter;
  widget->installEventFilter(&counter);
  const YuvPicture bars = ColourBars(320, 180);
  std::thread player([&] { Show(*display, bars); });
  player.join();
  EXPECT_EQ(counter.paints, 0);  // nothing painted on the player's thread
  Settle();
  EXPECT_GE(counter.paints, 1);
  widget->removeEventFilter(&counter);
}

TEST_F(PainterDisplay, BrightnessBrightensVideo) {
  const YuvPicture bars = ColourBars(1280, 720);
  Show(*display, bars);
  Settle();
  const int before = Grab().pixelColor(600, 240).red();  // black bar
  display->SetBrightness(100);
  Show(*display, bars);
  Settle();
  EXPECT_GT(Grab().pixelColor(600, 240).red(), before + 50);
}

// Dragging 100 pixels right at 2x moves the shown region 100 frame pixels left.
TEST_F(PainterDisplay, MouseDragMovesTheZoomedPicture) {
  const YuvPicture bars = ColourBars(1280, 720);
  parent.resize(640, 360);
  display->FitToParent();
  Show(*display, bars);
  display->ZoomIn();
  Show(*display, bars);
  ASSERT_EQ(widget->GetGeometry(0).source.left, 320);
  test::Press(widget, {300, 200});
  test::DragTo(widget, {400, 200});
  test::Release(widget, {400, 200});
  EXPECT_FALSE(widget->IsDragging());
  Show(*display, bars);
  EXPECT_EQ(widget->GetGeometry(0).source.left, 220);
}

}  // namespace
}  // namespace lumora
