// Bitmap sliders and their thumb windows: thumb and channel arithmetic as
// tables; the widgets for what they draw, dragging, paging, keys, wheel,
// seek-bar reports and skin ids.
#include <gtest/gtest.h>

#include <QWheelEvent>

#include <tuple>
#include <utility>
#include <vector>

#include "res/SkinBitmaps.h"
#include "tests/support/WidgetInput.h"
#include "ui/CBitSlider.h"

namespace lumora {
namespace {

using namespace lumora::test;

TEST(BitSliderGeometry, ThumbCentreAndPositionTables) {
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
  // The position whose centre is nearest, rounded, within the range.
  // Geometry, point along the channel, position.
  const std::tuple<const BitSliderGeometry&, int, int> positions[] = {
      {h, -50, 0},   {h, 1000, 100}, {h, 55, 50}, {odd, 55, 50},
      {odd, 60, 54}, {v, 95, 9},     {v, 48, 4},  {flat, 80, 5}};
  for (const auto& [g, along, position] : positions)
    EXPECT_EQ(g.PositionAt(along), position) << along;
  for (int p = 0; p <= 100; ++p) EXPECT_EQ(h.PositionAt(h.ThumbCentre(p)), p);
  EXPECT_EQ(h.ThumbRect(50), QRect(50, 0, 10, 20));
  EXPECT_EQ(h.FilledRect(50), QRect(0, 0, 55, 20));
  EXPECT_EQ(h.EmptyRect(50), QRect(55, 0, 55, 20));
  EXPECT_EQ(v.ThumbRect(9), QRect(2, 90, 20, 10));
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
  void Wheel(int delta) {
    QWheelEvent wheel(QPointF(50, 10), slider_->mapToGlobal(QPointF(50, 10)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider_, &wheel);
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
  EXPECT_FALSE(slider_->isSliderDown());
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
  Wheel(120);
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
  for (int delta : {120, 60, 60, -360}) Wheel(delta);
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
