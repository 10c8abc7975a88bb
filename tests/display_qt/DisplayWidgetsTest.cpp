// The QPainter display (the rendering checks it shares with the OpenGL one and
// what only the widget does) and the two video areas, offscreen.
#include "display/qt/CDisplayFactory.h"
#include "display/qt/CPainterDisplay.h"
#include "display/qt/CRearViewDlg.h"
#include "display/qt/CZoomDlg.h"
#include "tests/display_qt/DisplayRenderChecks.h"
#include "tests/support/WidgetInput.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <memory>
#include <vector>

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

  QWidget parent;
  std::unique_ptr<IVideoDisplay> display;
  CPainterDisplay* widget = nullptr;
  GrabFn grab = [this] { return widget->grab().toImage().convertToFormat(QImage::Format_RGB32); };
};

TEST_F(PainterDisplay, ColourBarsAndLetterbox) { CheckColourBarsAndLetterbox(*display, grab); }

TEST_F(PainterDisplay, ZoomShowsTheRedInsetFrame) { CheckZoomInset(*display, parent, grab); }

TEST_F(PainterDisplay, StillImageWhenStopped) { CheckStillWhenStopped(*display, grab); }

TEST_F(PainterDisplay, CaptionAtTheTopLeft) { CheckCaption(*display, parent, grab); }

TEST_F(PainterDisplay, DeviceLossRecovery) { CheckDeviceLossRecovery(*display, grab); }

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
  const int before = grab().pixelColor(600, 240).red();  // black bar
  display->SetBrightness(100);
  Show(*display, bars);
  Settle();
  EXPECT_GT(grab().pixelColor(600, 240).red(), before + 50);
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

struct FakeHost : IVideoWindowHost {
  int swaps = 0;
  int redraws = 0;
  std::vector<int> zoomIns;
  std::vector<int> zoomOuts;
  void SwapChannels() override { ++swaps; }
  void ZoomIn(int channel) override { zoomIns.push_back(channel); }
  void ZoomOut(int channel) override { zoomOuts.push_back(channel); }
  void RedrawDisplays() override { ++redraws; }
};

// A main window with a default button, holding both video areas.
class VideoWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    main.resize(1040, 600);
    ok = new QPushButton("OK", &main);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, [this] { ++defaultClicks; });
    zoom = new CZoomDlg(&main);
    rear = new CRearViewDlg(&main);
    zoom->View()->SetHost(&host);
    rear->View()->SetHost(&host);
    zoom->show();
    rear->show();
    main.show();
    QCoreApplication::processEvents();
  }

  QDialog main;
  QPushButton* ok = nullptr;
  CZoomDlg* zoom = nullptr;
  CRearViewDlg* rear = nullptr;
  FakeHost host;
  int defaultClicks = 0;
};

TEST_F(VideoWindows, PlacesCaptionsAndBlackBackground) {
  EXPECT_EQ(zoom->geometry(), QRect(16, 37, 640, 360));
  EXPECT_EQ(rear->geometry(), QRect(684, 37, 320, 240));
  EXPECT_EQ(zoom->View()->geometry(), QRect(0, 0, 633, 354));
  EXPECT_EQ(rear->View()->geometry(), QRect(0, 0, 310, 233));
  EXPECT_EQ(zoom->View()->windowTitle(), "Video window1");
  EXPECT_EQ(rear->View()->windowTitle(), "Video window2");
  EXPECT_EQ(zoom->grab().toImage().pixelColor(638, 358), QColor(Qt::black));  // outside the view
}

TEST_F(VideoWindows, EnterAndEscapeDoNotCloseAnything) {
  zoom->View()->setFocus();
  for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
    QTest::keyClick(zoom->View(), key);
    QTest::keyClick(zoom, key);
    QTest::keyClick(rear->View(), key);
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(zoom->isVisible());
  EXPECT_TRUE(rear->isVisible());
  EXPECT_EQ(defaultClicks, 0);
  QTest::keyClick(ok, Qt::Key_Return);  // the same key does reach the main window
  EXPECT_EQ(defaultClicks, 1);
}

// A double click asks for a swap, a wheel notch zooms that channel in or out,
// on the views and on the display inside them.
TEST_F(VideoWindows, DoubleClickAndWheelReachTheHost) {
  QTest::mouseDClick(zoom->View(), Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
  QTest::mouseDClick(rear->View(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
  EXPECT_EQ(host.swaps, 2);
  test::Wheel(rear->View(), 120);
  test::Wheel(rear->View(), -120);
  test::Wheel(zoom->View(), 240);
  test::Wheel(zoom->View(), -1);
  EXPECT_EQ(host.zoomIns, (std::vector<int>{1, 0}));
  EXPECT_EQ(host.zoomOuts, (std::vector<int>{1, 0}));
  CDisplayFactory factory;
  std::unique_ptr<IVideoDisplay> display(factory.CreateDisplay(0, zoom->View()));
  ASSERT_EQ(display->InitDisplay(zoom->View(), 5), 0);
  auto* w = dynamic_cast<QWidget*>(display.get());
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->size(), QSize(633, 354));
  QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
  EXPECT_EQ(host.swaps, 3);
  test::Wheel(w, 120);
  EXPECT_EQ(host.zoomIns, (std::vector<int>{1, 0, 0}));
}

TEST_F(VideoWindows, ScrollBarsWheelAndDragMoveTheView) {
  zoom->SetScrollRange(Qt::Vertical, 0, 400);
  zoom->OnVScroll(CScrollAxis::kPageDown);
  zoom->OnVScroll(CScrollAxis::kPageDown);
  EXPECT_EQ(zoom->ScrollPos(Qt::Vertical), 40);  // 400 less the client height
  EXPECT_EQ(zoom->View()->y(), -40);
  test::Wheel(zoom, 120);
  EXPECT_EQ(zoom->ScrollPos(Qt::Vertical), 20);
  rear->SetScrollRange(Qt::Horizontal, 0, 350);
  rear->OnHScroll(CScrollAxis::kPageDown);
  rear->OnHScroll(CScrollAxis::kPageDown);
  EXPECT_EQ(rear->ScrollPos(Qt::Horizontal), 30);
  EXPECT_EQ(rear->View()->x(), -30);
  // A drag at zoom level 1 keeps the view filling the area.
  test::Press(zoom->View(), {100, 100});
  EXPECT_EQ(zoom->View()->LastDown(), QPoint(100, 100));
  test::DragTo(zoom->View(), {150, 120});
  test::Release(zoom->View(), {150, 120});
  EXPECT_EQ(zoom->View()->geometry(), QRect(0, 0, 640, 360));
  EXPECT_EQ(host.redraws, 1);
}

}  // namespace
}  // namespace lumora
