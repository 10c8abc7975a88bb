// CSkinButton and its state rules: pressing, dragging off and back, releasing
// outside, hover and leave, check boxes with the space key, radio groups,
// disabled and checked faces, and the mask that lets the background through
// (the mask rule shows in the drawn pixels).
#include "UiTestSupport.h"
#include "ui/CSkinButton.h"
#include "ui/SkinPaint.h"

#include <gtest/gtest.h>

#include <memory>

namespace lumora {
namespace {

using namespace lumora::test;

const QColor kNormal(200, 0, 0), kDown(0, 200, 0), kOver(0, 0, 200), kDisabled(90, 90, 90);

// A shown parent for the buttons of one test.
class SkinButtonWidget : public testing::Test {
 protected:
  void SetUp() override {
    parent_.resize(200, 100);
    parent_.show();
  }
  // A shown button of `kind` with solid 40 x 30 faces.
  CSkinButton* MakeButton(int id, int kind) {
    auto* button = new CSkinButton(&parent_, id, kind);
    const QSize size(40, 30);
    button->SetBitmaps(Solid(size, kNormal), Solid(size, kDown), Solid(size, kDisabled), {},
                       Solid(size, kOver));
    button->SizeToBitmap();
    button->show();
    return button;
  }
  QWidget parent_;
};

QRgb Face(CSkinButton* button) { return PixelOf(button, QPoint(3, 3)); }

TEST(SkinButtonState, KindComesFromTheButtonStyle) {
  const std::pair<unsigned, int> rows[] = {
      {0x3, SkinButtonState::kCheckBox},    {0x50010003, SkinButtonState::kCheckBox},
      {0x9, SkinButtonState::kRadioButton}, {0x0, SkinButtonState::kPushButton},
      {0x1, SkinButtonState::kPushButton},  {0x2, SkinButtonState::kPushButton},
      {0x8, SkinButtonState::kPushButton}};
  for (auto [style, kind] : rows) EXPECT_EQ(SkinButtonState::KindFromStyle(style), kind) << style;
}

TEST(SkinButtonState, FacesFollowTheFlags) {
  SkinButtonState state(SkinButtonState::kCheckBox);
  EXPECT_EQ(state.FaceFor(false, false, true, true), SkinButtonState::kFaceDisabled);
  EXPECT_EQ(state.FaceFor(true, false, true, true), SkinButtonState::kFaceNormal);
  state.MouseMove(true);
  EXPECT_EQ(state.FaceFor(true, false, true, false), SkinButtonState::kFaceOver);
  EXPECT_EQ(state.FaceFor(true, false, false, false), SkinButtonState::kFaceNormal);
  EXPECT_EQ(state.FaceFor(true, true, true, true), SkinButtonState::kFaceFocus);
  state.SetCheck(true);
  EXPECT_EQ(state.FaceFor(true, true, true, true), SkinButtonState::kFaceDown);
  EXPECT_TRUE(state.TextShifted());
}

TEST_F(SkinButtonWidget, DragOffShowsNormalDragBackShowsDownReleaseOutsideSendsNoClick) {
  CSkinButton* button = MakeButton(1006, SkinButtonState::kPushButton);
  button->move(10, 10);
  int clicks = 0;
  QObject::connect(button, &CSkinButton::Clicked, [&](int id) {
    EXPECT_EQ(id, 1006);
    ++clicks;
  });
  button->SetCheck(true);  // push buttons have no checked state
  EXPECT_FALSE(button->GetCheck());
  EXPECT_EQ(Face(button), kNormal.rgb());
  Press(button, QPoint(20, 15));
  EXPECT_EQ(Face(button), kDown.rgb());
  DragTo(button, QPoint(80, 15));
  EXPECT_EQ(Face(button), kNormal.rgb());
  DragTo(button, QPoint(20, 15));
  EXPECT_EQ(Face(button), kDown.rgb());
  DragTo(button, QPoint(-30, 15));
  Release(button, QPoint(-30, 15));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(Face(button), kNormal.rgb());
  Press(button, QPoint(5, 5));
  Release(button, QPoint(5, 5));
  EXPECT_EQ(clicks, 1);
}

TEST_F(SkinButtonWidget, HoverShowsOverImageAndLeaveClearsIt) {
  CSkinButton* button = MakeButton(1, SkinButtonState::kPushButton);
  Hover(button, QPoint(5, 5));
  EXPECT_TRUE(button->State().MouseOver());
  EXPECT_EQ(Face(button), kOver.rgb());
  Leave(button);
  EXPECT_FALSE(button->State().MouseOver());
  EXPECT_EQ(Face(button), kNormal.rgb());
  // A press cancels the hover look.
  Hover(button, QPoint(5, 5));
  Press(button, QPoint(5, 5));
  EXPECT_FALSE(button->State().MouseOver());
}

TEST_F(SkinButtonWidget, CheckBoxTogglesOnSpaceAndOnReleaseOverIt) {
  CSkinButton* box = MakeButton(1023, SkinButtonState::kCheckBox);
  int clicks = 0;
  QObject::connect(box, &CSkinButton::Clicked, [&](int) { ++clicks; });
  Key(box, Qt::Key_Space);
  EXPECT_TRUE(box->GetCheck());
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(Face(box), kDown.rgb());
  Key(box, Qt::Key_Space);
  EXPECT_FALSE(box->GetCheck());
  Press(box, QPoint(5, 5));
  Release(box, QPoint(5, 5));
  EXPECT_TRUE(box->GetCheck());
  Press(box, QPoint(5, 5));
  Release(box, QPoint(100, 5));
  EXPECT_TRUE(box->GetCheck());
  EXPECT_EQ(clicks, 3);
  // Other keys do nothing.
  Key(box, Qt::Key_A);
  EXPECT_TRUE(box->GetCheck());
}

TEST_F(SkinButtonWidget, CheckingOneRadioUnchecksTheOthersOfItsGroup) {
  CSkinButton* a = MakeButton(1, SkinButtonState::kRadioButton);
  CSkinButton* b = MakeButton(2, SkinButtonState::kRadioButton);
  CSkinButton* c = MakeButton(3, SkinButtonState::kRadioButton);
  CSkinButton* other = MakeButton(4, SkinButtonState::kRadioButton);
  other->SetGroup(7);
  a->SetCheck(true);
  other->SetCheck(true);
  QApplication::processEvents();
  EXPECT_TRUE(a->GetCheck());
  Press(b, QPoint(5, 5));
  Release(b, QPoint(5, 5));
  QApplication::processEvents();
  EXPECT_FALSE(a->GetCheck());
  EXPECT_TRUE(b->GetCheck());
  EXPECT_FALSE(c->GetCheck());
  EXPECT_TRUE(other->GetCheck());
  EXPECT_EQ(Face(a), kNormal.rgb());
  // A radio button stays checked when clicked again; space checks it too.
  Press(b, QPoint(5, 5));
  Release(b, QPoint(5, 5));
  QApplication::processEvents();
  EXPECT_TRUE(b->GetCheck());
  Key(c, Qt::Key_Space);
  QApplication::processEvents();
  EXPECT_TRUE(c->GetCheck());
  EXPECT_FALSE(b->GetCheck());
}

TEST_F(SkinButtonWidget, LaterCheckWinsOverAStaleUncheckMessage) {
  CSkinButton* a = MakeButton(1, SkinButtonState::kRadioButton);
  CSkinButton* b = MakeButton(2, SkinButtonState::kRadioButton);
  a->SetCheck(true);  // posts an uncheck message to b
  b->SetCheck(true);  // checked before that message arrives
  QApplication::processEvents();
  EXPECT_TRUE(b->GetCheck());
  EXPECT_FALSE(a->GetCheck());
}

TEST_F(SkinButtonWidget, DisabledAndFocusFacesAndMissingBitmaps) {
  CSkinButton* button = MakeButton(1, SkinButtonState::kPushButton);
  button->setEnabled(false);
  EXPECT_EQ(Face(button), kDisabled.rgb());
  button->setEnabled(true);
  // Without a down bitmap a pressed button shows the button-face colour.
  auto* bare = new CSkinButton(&parent_, 2);
  bare->SetBitmaps(Solid(QSize(20, 20), kNormal));
  bare->SizeToBitmap();
  bare->show();
  EXPECT_EQ(Face(bare), kNormal.rgb());
  Press(bare, QPoint(5, 5));
  EXPECT_EQ(Face(bare), bare->palette().color(QPalette::Button).rgb());
  // Losing the focus ends the press.
  bare->setFocus();
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(bare, &out);
  EXPECT_FALSE(bare->State().Captured());
  EXPECT_EQ(Face(bare), kNormal.rgb());
}

TEST_F(SkinButtonWidget, CaptionMovesByOnePixelWhenPressed) {
  auto* button = new CSkinButton(&parent_, 1);
  button->SetBitmaps(Solid(QSize(60, 24), Qt::black), Solid(QSize(60, 24), Qt::black));
  button->SizeToBitmap();
  button->SetTextColor(Qt::white);
  button->SetText(QStringLiteral("I"));
  button->show();
  auto whiteBounds = [&] {
    const QImage image = button->grab().toImage();
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) > 128) bounds |= QRect(x, y, 1, 1);
    return bounds;
  };
  const QRect up = whiteBounds();
  ASSERT_FALSE(up.isEmpty());
  EXPECT_NEAR(up.center().x(), 30, 3);
  Press(button, QPoint(5, 5));
  EXPECT_EQ(whiteBounds(), up.translated(1, 1));
}

TEST(SkinPaint, TextRectAndFrames) {
  EXPECT_EQ(SkinPaint::TextRect(QRect(0, 0, 100, 20), 3), QRect(5, 0, 90, 20));
  EXPECT_EQ(SkinPaint::FrameRect(QSize(42, 20), 3, 1, false), QRect(14, 0, 14, 20));
  EXPECT_EQ(SkinPaint::FrameRect(QSize(10, 60), 3, 2, true), QRect(0, 40, 10, 20));
  EXPECT_TRUE(SkinPaint::FrameRect(QSize(42, 20), 3, 3, false).isEmpty());
  EXPECT_TRUE(SkinPaint::FrameRect(QSize(42, 20), 0, 0, false).isEmpty());
}

TEST_F(SkinButtonWidget, MaskLetsTheParentBackgroundShowThrough) {
  parent_.setAutoFillBackground(true);
  QPalette palette = parent_.palette();
  palette.setColor(QPalette::Window, QColor(250, 250, 0));
  parent_.setPalette(palette);
  auto* button = new CSkinButton(&parent_, 1);
  QPixmap mask(40, 30);
  mask.fill(Qt::white);
  {
    QPainter painter(&mask);
    painter.fillRect(QRect(0, 0, 20, 30), Qt::black);
  }
  button->SetBitmaps(Solid(QSize(40, 30), kNormal), {}, {}, mask);
  button->SizeToBitmap();
  button->move(30, 20);
  button->show();
  const QImage picture = parent_.grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(picture.pixel(35, 30), kNormal.rgb());
  EXPECT_EQ(picture.pixel(65, 30), qRgb(250, 250, 0));
  EXPECT_EQ(picture.pixel(10, 10), qRgb(250, 250, 0));
}

TEST_F(SkinButtonWidget, TileModeRepeatsTheBitmap) {
  auto* button = new CSkinButton(&parent_, 1);
  button->SetBitmaps(Strip(QSize(5, 10), {Qt::red, Qt::blue}));
  button->SetDrawMode(SkinPaint::kTile);
  button->resize(40, 10);
  button->show();
  EXPECT_EQ(PixelOf(button, QPoint(2, 2)), QColor(Qt::red).rgb());
  EXPECT_EQ(PixelOf(button, QPoint(12, 2)), QColor(Qt::red).rgb());
  EXPECT_EQ(PixelOf(button, QPoint(17, 2)), QColor(Qt::blue).rgb());
  button->SetDrawMode(SkinPaint::kStretch);
  EXPECT_EQ(PixelOf(button, QPoint(30, 2)), QColor(Qt::blue).rgb());
}

}  // namespace
}  // namespace lumora
