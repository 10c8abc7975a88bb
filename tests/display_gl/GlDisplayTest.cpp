// The OpenGL display under Xvfb: the rendering checks the QPainter display
// passes, and a lost GL context (the widget moved to another window) marked
// and recovered as the player's 500 ms timer does.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QWidget>
#include <memory>

#include "display/qt/CD3DDisplay.h"
#include "display/qt/CDisplayFactory.h"
#include "tests/display_qt/DisplayRenderChecks.h"

namespace lumora {
namespace {

using namespace testpics;

class GlDisplay : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"));
    parent.resize(640, 480);
    parent.show();
    CDisplayFactory factory;
    ASSERT_EQ(factory.Resolved(), CDisplayFactory::Kind::OpenGL);
    display.reset(factory.CreateDisplay(0, &parent));
    widget = dynamic_cast<CD3DDisplay*>(display.get());
    ASSERT_NE(widget, nullptr);
    InitLikeThePlayer(*display, &parent);
    Settle();
  }

  QWidget parent;
  std::unique_ptr<IVideoDisplay> display;
  CD3DDisplay* widget = nullptr;
  GrabFn grab = [this] { return widget->grabFramebuffer().convertToFormat(QImage::Format_RGB32); };
};

TEST_F(GlDisplay, ColourBarsAndLetterbox) { CheckColourBarsAndLetterbox(*display, grab); }
TEST_F(GlDisplay, ZoomShowsTheRedInsetFrame) { CheckZoomInset(*display, parent, grab); }
TEST_F(GlDisplay, StillImageWhenStopped) { CheckStillWhenStopped(*display, grab); }
TEST_F(GlDisplay, CaptionAtTheTopLeft) { CheckCaption(*display, parent, grab); }
TEST_F(GlDisplay, DeviceLossRecovery) { CheckDeviceLossRecovery(*display, grab); }

TEST_F(GlDisplay, LosingTheContextMarksTheDeviceLost) {
  grab();  // makes sure the context and the textures exist
  const int builds = widget->GpuBuilds();
  ASSERT_GE(builds, 1);
  EXPECT_EQ(display->IsDeviceLost(), 0);
  QWidget other;  // moving the widget to another window destroys its context
  other.resize(640, 480);
  widget->setParent(&other);
  widget->show();
  other.show();
  Settle();
  EXPECT_EQ(display->IsDeviceLost(), 1);
  EXPECT_EQ(display->Redraw(1), 0);
  grab();  // the widget makes its new context
  EXPECT_EQ(display->ResetDevice(), 1);
  EXPECT_GT(widget->GpuBuilds(), builds);
  display->SetDeviceLost(0);
  EXPECT_EQ(display->Redraw(1), 1);
  widget->setParent(&parent);
}

}  // namespace
}  // namespace lumora
