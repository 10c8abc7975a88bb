// Skinned buttons: the state rules as event sequences; the widget for the faces,
// mask and caption it draws and the radio group's uncheck messages.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tests/support/WidgetInput.h"
#include "ui/CSkinButton.h"
#include "ui/SkinPaint.h"

namespace lumora {
namespace {

using namespace lumora::test;
using S = SkinButtonState;

TEST(SkinButtonState, EventSequences) {
  // Events: i/o mouse moves inside/outside, d press, u/x release inside/outside,
  // l leave, s space key, f focus lost, c checked by the program.
  const std::tuple<int, std::string, S::Face, bool, int> rows[] = {
      {S::kPushButton, "", S::kFaceNormal, false, 0},
      {S::kPushButton, "i", S::kFaceOver, false, 0},
      {S::kPushButton, "il", S::kFaceNormal, false, 0},
      {S::kPushButton, "id", S::kFaceDown, false, 0},
      {S::kPushButton, "idu", S::kFaceNormal, false, 1},
      {S::kPushButton, "doi", S::kFaceDown, false, 0},
      {S::kPushButton, "dox", S::kFaceNormal, false, 0},
      {S::kPushButton, "dfu", S::kFaceNormal, false, 0},
      {S::kPushButton, "cs", S::kFaceNormal, false, 1},
      {S::kCheckBox, "s", S::kFaceDown, true, 1},
      {S::kCheckBox, "ss", S::kFaceNormal, false, 2},
      {S::kCheckBox, "dudx", S::kFaceDown, true, 1},
      {S::kRadioButton, "dudu", S::kFaceDown, true, 2},
      {S::kRadioButton, "dx", S::kFaceNormal, false, 0},
  };
  for (const auto& [kind, events, face, checked, clicks] : rows) {
    SCOPED_TRACE(testing::Message() << "kind " << kind << " events " << events);
    S state(kind);
    int clicked = 0;
    for (char e : events) {
      S::Release release;
      if (e == 'i' || e == 'o') state.MouseMove(e == 'i');
      if (e == 'd') state.LButtonDown();
      if (e == 'u' || e == 'x') release = state.LButtonUp(e == 'u');
      if (e == 'l') state.MouseLeave();
      if (e == 's') release = state.SpaceKey();
      if (e == 'f') state.LoseCapture();
      if (e == 'c') state.SetCheck(true);
      clicked += release.clicked ? 1 : 0;
      // Only a radio button that became checked unchecks its group.
      EXPECT_EQ(release.radio_checked, kind == S::kRadioButton && (e == 'u' || e == 's'));
    }
    EXPECT_EQ(state.FaceFor(true, false, true, false), face);
    EXPECT_EQ(state.FaceFor(false, false, true, false), S::kFaceDisabled);
    EXPECT_EQ(state.Checked(), checked);
    EXPECT_EQ(clicked, clicks);
    EXPECT_EQ(state.TextShifted(), face == S::kFaceDown);
  }
}

TEST(SkinPaint, TextRectAndFrames) {
  EXPECT_EQ(SkinPaint::TextRect(QRect(0, 0, 100, 20), 3), QRect(5, 0, 90, 20));
  EXPECT_EQ(SkinPaint::FrameRect(QSize(42, 20), 3, 1, false), QRect(14, 0, 14, 20));
  EXPECT_TRUE(SkinPaint::FrameRect(QSize(42, 20), 3, 3, false).isEmpty());
  EXPECT_TRUE(SkinPaint::FrameRect(QSize(42, 20), 0, 0, false).isEmpty());
}

const QColor kNormal(200, 0, 0), kDown(0, 200, 0), kOver(0, 0, 200), kDisabled(90, 90, 90);

class SkinButtonWidget : public testing::Test {
 protected:
  void SetUp() override {
    parent_.resize(200, 100);
    parent_.setAutoFillBackground(true);
    QPalette palette = parent_.palette();
    palette.setColor(QPalette::Window, QColor(250, 250, 0));
    parent_.setPalette(palette);
    parent_.show();
  }
  // A shown button of `kind` with solid 40 x 30 faces.
  CSkinButton* MakeButton(int id, int kind = S::kPushButton, const QPixmap& mask = {}) {
    auto* button = new CSkinButton(&parent_, id, kind);
    const QSize size(40, 30);
    button->SetBitmaps(Solid(size, kNormal), Solid(size, kDown), Solid(size, kDisabled), mask,
                       Solid(size, kOver));
    button->SizeToBitmap();
    button->show();
    return button;
  }
  QWidget parent_;
};

QRgb Face(QWidget* button) { return PixelOf(button, QPoint(3, 3)); }

TEST_F(SkinButtonWidget, DrawsTheFaceOfItsStateAndClicksOnRelease) {
  CSkinButton* button = MakeButton(1006);
  std::vector<int> clicked;
  QObject::connect(button, &CSkinButton::Clicked, [&](int id) { clicked.push_back(id); });
  Hover(button, QPoint(5, 5));
  EXPECT_EQ(Face(button), kOver.rgb());
  Press(button, QPoint(20, 15));
  EXPECT_EQ(Face(button), kDown.rgb());
  DragTo(button, QPoint(80, 15));
  EXPECT_EQ(Face(button), kNormal.rgb());
  Release(button, QPoint(80, 15));
  Click(button, QPoint(5, 5));
  EXPECT_EQ(clicked, std::vector<int>{1006});
  button->setEnabled(false);
  EXPECT_EQ(Face(button), kDisabled.rgb());
  button->setEnabled(true);
  // Losing the focus ends the press.
  Press(button, QPoint(5, 5));
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(button, &out);
  EXPECT_EQ(Face(button), kNormal.rgb());
}

TEST_F(SkinButtonWidget, SpaceChecksAndRadioButtonsUncheckTheirGroup) {
  CSkinButton* box = MakeButton(1023, S::kCheckBox);
  int clicks = 0;
  QObject::connect(box, &CSkinButton::Clicked, [&](int) { ++clicks; });
  Key(box, Qt::Key_Space);
  Key(box, Qt::Key_A);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Face(box), kDown.rgb());
  CSkinButton* a = MakeButton(1, S::kRadioButton);
  CSkinButton* b = MakeButton(2, S::kRadioButton);
  a->SetCheck(true);
  Click(b, QPoint(5, 5));
  QApplication::processEvents();
  EXPECT_EQ(Face(a), kNormal.rgb());
  EXPECT_TRUE(b->GetCheck());
  // A check made after an uncheck message was posted wins over that message.
  a->SetCheck(true);
  b->SetCheck(true);
  QApplication::processEvents();
  EXPECT_TRUE(b->GetCheck());
  EXPECT_FALSE(a->GetCheck());
}

TEST_F(SkinButtonWidget, CaptionShiftAndMask) {
  // The caption moves by one pixel while pressed.
  auto* text = new CSkinButton(&parent_, 1);
  text->SetBitmaps(Solid(QSize(60, 24), Qt::black), Solid(QSize(60, 24), Qt::black));
  text->SizeToBitmap();
  text->SetTextColor(Qt::white);
  text->SetText(QStringLiteral("I"));
  text->show();
  const QImage up = text->grab().toImage();
  Press(text, QPoint(5, 5));
  const QImage down = text->grab().toImage();
  ASSERT_NE(up, down);
  EXPECT_EQ(up.copy(0, 0, 59, 23), down.copy(1, 1, 59, 23));
  // The white half of a mask lets the parent's background through.
  CSkinButton* masked = MakeButton(2, S::kPushButton, Strip(QSize(20, 30), {Qt::black, Qt::white}));
  masked->move(30, 20);
  const QImage picture = parent_.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(picture.pixel(35, 30), kNormal.rgb());
  EXPECT_EQ(picture.pixel(65, 30), qRgb(250, 250, 0));
}

}  // namespace
}  // namespace lumora
