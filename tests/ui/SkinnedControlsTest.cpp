// The skinned controls. Buttons: the state rules as event sequences, the faces,
// mask and caption drawn, the radio group's messages. Sliders and their thumb
// windows: the thumb arithmetic as tables, what they draw, dragging, paging,
// keys, wheel, seek-bar reports and skin ids.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "res/SkinBitmaps.h"
#include "tests/support/WidgetInput.h"
#include "ui/CBitSlider.h"
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

const QColor kNormal(200, 0, 0), kDown(0, 200, 0), kOver(0, 0, 200), kDisabled(90, 90, 90);

class SkinButtonWidget : public testing::Test {
 protected:
  void SetUp() override {
    parent_.resize(200, 100);
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
  // Losing the focus ends the press.
  Press(button, QPoint(5, 5));
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(button, &out);
  EXPECT_EQ(Face(button), kNormal.rgb());
  button->setEnabled(false);
  EXPECT_EQ(Face(button), kDisabled.rgb());
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
  EXPECT_EQ(picture.pixel(65, 30), parent_.palette().color(QPalette::Window).rgb());
}

TEST(SkinGeometry, ThumbCentresPositionsAndStripFrames) {
  // 110 wide with a 10 wide thumb: the centre moves from 5 to 105.
  const BitSliderGeometry h(QSize(110, 20), QSize(10, 20), 0, 0, 100, false);
  const BitSliderGeometry odd(QSize(110, 20), QSize(10, 20), 0, 0, 99, false);
  const BitSliderGeometry v(QSize(20, 100), QSize(20, 10), 2, 0, 9, true);
  const BitSliderGeometry flat(QSize(100, 20), QSize(10, 20), 0, 5, 5, false);
  // Geometry, position, thumb centre.
  const std::tuple<const BitSliderGeometry&, int, int> centres[] = {
      {h, 0, 5},     {h, 100, 105},  {h, 50, 55}, {h, -20, 5}, {h, 500, 105},
      {odd, 50, 55}, {odd, 99, 105}, {v, 9, 95},  {flat, 5, 5}};
  for (const auto& [g, position, centre] : centres)
    EXPECT_EQ(g.ThumbCentre(position), centre) << position;
  // Geometry, point along the channel, the position of the nearest centre.
  const std::tuple<const BitSliderGeometry&, int, int> positions[] = {
      {h, -50, 0},   {h, 1000, 100}, {h, 55, 50}, {odd, 55, 50},
      {odd, 60, 54}, {v, 95, 9},     {v, 48, 4},  {flat, 80, 5}};
  for (const auto& [g, along, position] : positions)
    EXPECT_EQ(g.PositionAt(along), position) << along;
  for (int p = 0; p <= 100; ++p) EXPECT_EQ(h.PositionAt(h.ThumbCentre(p)), p);
  EXPECT_EQ(h.ThumbRect(50), QRect(50, 0, 10, 20));
  EXPECT_EQ(h.FilledRect(50), QRect(0, 0, 55, 20));
  EXPECT_EQ(h.EmptyRect(50), QRect(55, 0, 55, 20));
  // The frames of a strip and a caption's room.
  EXPECT_EQ(SkinPaint::TextRect(QRect(0, 0, 100, 20), 3), QRect(5, 0, 90, 20));
  EXPECT_EQ(SkinPaint::FrameRect(QSize(42, 20), 3, 1, false), QRect(14, 0, 14, 20));
  EXPECT_TRUE(SkinPaint::FrameRect(QSize(42, 20), 3, 3, false).isEmpty());
  EXPECT_TRUE(SkinPaint::FrameRect(QSize(42, 20), 0, 0, false).isEmpty());
}

const QColor kFilled(220, 30, 30), kEmpty(30, 30, 220);

class BitSliderWidget : public testing::Test {
 protected:
  void SetUp() override {
    parent_.resize(300, 60);
    slider_ = new CBitSlider(&parent_, 1002);
    slider_->setGeometry(10, 10, 210, 20);
    slider_->setRange(0, 100);
    slider_->setPageStep(10);
    slider_->SetChannelImages(Solid(QSize(210, 20), kFilled), Solid(QSize(210, 20), kEmpty));
    slider_->SetThumbImage(Strip(QSize(10, 20), {Qt::white, Qt::yellow, Qt::green}));
    QObject::connect(slider_, &CBitSlider::HScroll, [this](int id, int code, int pos) {
      EXPECT_EQ(id, 1002);
      scrolls_.emplace_back(code, pos);
    });
    parent_.show();
  }

  // Every channel pixel outside the thumb is filled before `split`, empty after.
  void ExpectChannel(int split) {
    const QImage image = slider_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect thumb = slider_->Thumb()->geometry();
    for (int x = 0; x < image.width(); ++x) {
      if (x >= thumb.left() && x <= thumb.right()) continue;
      ASSERT_EQ(image.pixel(x, 10), (x < split ? kFilled : kEmpty).rgb()) << "x " << x;
    }
  }
  std::pair<int, int> Scroll(int code, int pos) { return {code, pos}; }

  QWidget parent_;
  CBitSlider* slider_ = nullptr;
  std::vector<std::pair<int, int>> scrolls_;
};

TEST_F(BitSliderWidget, DrawsTheSplitAtTheThumbWhichDragsAndReports) {
  slider_->SetPos(100);
  ExpectChannel(1000);
  EXPECT_EQ(slider_->Thumb()->geometry(), QRect(200, 0, 10, 20));
  EXPECT_EQ(QColor(PixelOf(slider_, QPoint(205, 10))), QColor(Qt::white));
  slider_->SetPos(0);
  ExpectChannel(0);
  // The thumb window forwards its input in the slider's coordinates: from
  // position 20 (thumb at x 40) a move 100 pixels right lands on 70.
  slider_->SetPos(20);
  CBitWnd* thumb = slider_->Thumb();
  Press(thumb, QPoint(5, 10));
  EXPECT_EQ(thumb->Frame(), BitWndState::kFramePressed);
  DragTo(thumb, QPoint(5 + 100, 10));
  EXPECT_EQ(slider_->GetPos(), 70);
  EXPECT_EQ(slider_->TooltipText(), QStringLiteral("70%"));
  ExpectChannel(145);
  Release(thumb, QPoint(thumb->width() / 2, 10));
  ASSERT_GE(scrolls_.size(), 3u);
  EXPECT_EQ(scrolls_.front(), Scroll(CBitSlider::kThumbTrack, 70));
  EXPECT_EQ(scrolls_[scrolls_.size() - 2], Scroll(CBitSlider::kThumbPosition, 70));
  EXPECT_EQ(scrolls_.back(), Scroll(CBitSlider::kEndScroll, 70));
}

TEST_F(BitSliderWidget, ChannelClicksPageKeysStepAndTheWheelIsSwallowed) {
  slider_->SetPos(50);
  Click(slider_, QPoint(190, 10));
  EXPECT_EQ(slider_->GetPos(), 60);
  Click(slider_, QPoint(3, 10));
  EXPECT_EQ(slider_->GetPos(), 50);
  Key(slider_, Qt::Key_Right);
  EXPECT_EQ(slider_->GetPos(), 51);
  Wheel(slider_, 120);
  EXPECT_EQ(slider_->GetPos(), 51);
  const std::vector<std::pair<int, int>> expected = {
      Scroll(CBitSlider::kPageDown, 60), Scroll(CBitSlider::kEndScroll, 60),
      Scroll(CBitSlider::kPageUp, 50),   Scroll(CBitSlider::kEndScroll, 50),
      Scroll(CBitSlider::kLineDown, 51), Scroll(CBitSlider::kEndScroll, 51)};
  EXPECT_EQ(scrolls_, expected);
}

TEST_F(BitSliderWidget, SeekBarReportsChannelPressesAndWheelNotches) {
  slider_->SetSeekBar(true);
  slider_->SetPos(10);
  std::vector<int> pressed, notches;
  QObject::connect(slider_, &CBitSlider::ChannelPressed, [&](int, int x) { pressed.push_back(x); });
  QObject::connect(slider_, &CBitSlider::WheelNotches, [&](int, int n) { notches.push_back(n); });
  // A press off the thumb reports its x and pages nothing; a release without
  // a drag reports no thumb position.
  Click(slider_, QPoint(168, 10));
  EXPECT_EQ(pressed, std::vector<int>{168});
  EXPECT_EQ(scrolls_, (std::vector<std::pair<int, int>>{Scroll(CBitSlider::kEndScroll, 10)}));
  for (int delta : {120, 60, 60, -360}) Wheel(slider_, delta);
  EXPECT_EQ(notches, (std::vector<int>{1, 1, -3}));
  EXPECT_EQ(slider_->GetPos(), 10);
}

TEST(BitSliderSkin, SkinImagesById) {
  QWidget parent;
  auto* volume = new CBitSlider(&parent, 1004);
  volume->setGeometry(50, 462, 92, 20);
  volume->setRange(0, 99);
  volume->SetChannel(kBmpVolumeFilled, kBmpVolumeEmpty);
  volume->SetThumb(kBmpVolumeThumb);
  volume->SetPos(99);
  parent.show();
  EXPECT_EQ(volume->Thumb()->geometry(), QRect(82, 0, 10, 20));
  const QImage filled = SkinImage(kBmpVolumeFilled).convertToFormat(QImage::Format_RGB32);
  const QImage shown = volume->grab().toImage().convertToFormat(QImage::Format_RGB32);
  for (int x = 0; x < 80; x += 7) EXPECT_EQ(shown.pixel(x, 10), filled.pixel(x, 10)) << x;
}

// The thumb window alone: the frame of its strip for its state, its command
// on release (its forwarding shows in the drag above).
TEST(BitWnd, DrawsTheFrameOfItsStateAndSendsItsCommandOnRelease) {
  QWidget parent;
  auto* wnd = new CBitWnd(&parent, 1199);
  wnd->SetStrip(Strip(QSize(16, 12), {Qt::red, Qt::green, Qt::blue}));
  std::vector<int> commands;
  QObject::connect(wnd, &CBitWnd::Command, [&](int id) { commands.push_back(id); });
  parent.show();
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
