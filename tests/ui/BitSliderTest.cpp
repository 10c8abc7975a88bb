// CBitSlider and its geometry: the channel split at the thumb, the ends of
// the range, dragging the thumb through the forwarding thumb window, paging
// by clicks on the channel, the swallowed wheel and the "%d%" tooltip.
#include "UiTestSupport.h"
#include "res/SkinBitmaps.h"
#include "ui/CBitSlider.h"

#include <gtest/gtest.h>

#include <QWheelEvent>

#include <utility>
#include <vector>

namespace lumora {
namespace {

using namespace lumora::test;

const QColor kFilled(220, 30, 30), kEmpty(30, 30, 220);

TEST(BitSliderGeometry, ThumbCentreMovesLinearlyInsideTheControl) {
  const BitSliderGeometry g(QSize(110, 20), QSize(10, 20), 0, 0, 100, false);
  EXPECT_EQ(g.ThumbCentre(0), 5);
  EXPECT_EQ(g.ThumbCentre(100), 105);
  EXPECT_EQ(g.ThumbCentre(50), 55);
  EXPECT_EQ(g.ThumbCentre(-20), 5);
  EXPECT_EQ(g.ThumbCentre(500), 105);
  EXPECT_EQ(g.ThumbRect(50), QRect(50, 0, 10, 20));
  EXPECT_EQ(g.FilledRect(50), QRect(0, 0, 55, 20));
  EXPECT_EQ(g.EmptyRect(50), QRect(55, 0, 55, 20));
  for (int p = 0; p <= 100; ++p) EXPECT_EQ(g.PositionAt(g.ThumbCentre(p)), p);
  EXPECT_EQ(g.PositionAt(-50), 0);
  EXPECT_EQ(g.PositionAt(1000), 100);
}

TEST(BitSliderGeometry, NegativeRangesVerticalSlidersAndEmptyRanges) {
  const BitSliderGeometry g(QSize(200, 20), QSize(14, 20), 3, -150, 150, false);
  EXPECT_EQ(g.ThumbCentre(-150), 7);
  EXPECT_EQ(g.ThumbCentre(0), 7 + 93);
  EXPECT_EQ(g.ThumbRect(0).y(), 3);
  const BitSliderGeometry v(QSize(20, 100), QSize(20, 10), 2, 0, 9, true);
  EXPECT_EQ(v.ThumbRect(0), QRect(2, 0, 20, 10));
  EXPECT_EQ(v.ThumbRect(9), QRect(2, 90, 20, 10));
  EXPECT_EQ(v.FilledRect(9), QRect(0, 0, 20, 95));
  EXPECT_EQ(v.Along(QPoint(3, 40)), 40);
  const BitSliderGeometry flat(QSize(100, 20), QSize(10, 20), 0, 5, 5, false);
  EXPECT_EQ(flat.ThumbCentre(5), 5);
  EXPECT_EQ(flat.PositionAt(80), 5);
}

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

  // Every channel pixel outside the thumb has `colour`, except up to `split`.
  void ExpectChannel(int split_at, const QColor& before, const QColor& after) {
    const QImage image = slider_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect thumb = slider_->Thumb()->geometry();
    for (int x = 0; x < image.width(); ++x) {
      if (x >= thumb.left() && x <= thumb.right()) continue;
      const QRgb expected = x < split_at ? before.rgb() : after.rgb();
      ASSERT_EQ(image.pixel(x, 10), expected) << "x " << x;
    }
  }

  QWidget parent_;
  CBitSlider* slider_ = nullptr;
  std::vector<std::pair<int, int>> scrolls_;
};

TEST_F(BitSliderWidget, AtTheEndsOnlyOneChannelImageShows) {
  slider_->SetPos(0);
  ExpectChannel(0, kFilled, kEmpty);
  slider_->SetPos(100);
  ExpectChannel(1000, kFilled, kEmpty);
  EXPECT_EQ(slider_->Thumb()->geometry(), QRect(200, 0, 10, 20));
  slider_->SetPos(50);
  ExpectChannel(105, kFilled, kEmpty);
  EXPECT_EQ(PixelOf(slider_, QPoint(102, 10)), QColor(Qt::white).rgb());
}

TEST_F(BitSliderWidget, DraggingTheThumbTracksThenReportsThePosition) {
  slider_->SetPos(0);
  CBitWnd* thumb = slider_->Thumb();
  // The press lands on the thumb window, which forwards it to the slider.
  Press(thumb, QPoint(5, 10));
  EXPECT_EQ(thumb->Frame(), BitWndState::kFramePressed);
  EXPECT_TRUE(slider_->isSliderDown());
  DragTo(thumb, QPoint(5 + 100, 10));
  EXPECT_EQ(slider_->GetPos(), 50);
  EXPECT_EQ(slider_->TooltipText(), QStringLiteral("50%"));
  ExpectChannel(105, kFilled, kEmpty);
  Release(thumb, QPoint(thumb->width() / 2, 10));
  EXPECT_FALSE(slider_->isSliderDown());
  ASSERT_GE(scrolls_.size(), 3u);
  EXPECT_EQ(scrolls_[0], std::make_pair(int(CBitSlider::kThumbTrack), 50));
  EXPECT_EQ(scrolls_[scrolls_.size() - 2], std::make_pair(int(CBitSlider::kThumbPosition), 50));
  EXPECT_EQ(scrolls_.back().first, CBitSlider::kEndScroll);
  EXPECT_EQ(slider_->value(), 50);
}

TEST_F(BitSliderWidget, ClicksOnTheChannelPageTowardsThePoint) {
  slider_->SetPos(50);
  Press(slider_, QPoint(190, 10));
  Release(slider_, QPoint(190, 10));
  EXPECT_EQ(slider_->GetPos(), 60);
  ASSERT_FALSE(scrolls_.empty());
  EXPECT_EQ(scrolls_[0], std::make_pair(int(CBitSlider::kPageDown), 60));
  scrolls_.clear();
  Press(slider_, QPoint(3, 10));
  EXPECT_EQ(slider_->GetPos(), 50);
  EXPECT_EQ(scrolls_[0], std::make_pair(int(CBitSlider::kPageUp), 50));
}

TEST_F(BitSliderWidget, SeekBarReportsChannelPressesAndWheelNotches) {
  slider_->SetSeekBar(true);
  slider_->SetPos(10);
  std::vector<int> pressed, notches;
  QObject::connect(slider_, &CBitSlider::ChannelPressed, [&](int, int x) { pressed.push_back(x); });
  QObject::connect(slider_, &CBitSlider::WheelNotches, [&](int, int n) { notches.push_back(n); });
  // A press off the thumb reports its x and pages nothing; a drag from there
  // moves the thumb; a release without a drag reports no thumb position.
  Press(slider_, QPoint(168, 10));
  EXPECT_EQ(pressed, std::vector<int>{168});
  EXPECT_EQ(slider_->GetPos(), 10);
  Release(slider_, QPoint(168, 10));
  for (const auto& scroll : scrolls_) EXPECT_NE(scroll.first, CBitSlider::kThumbPosition);
  Press(slider_, QPoint(168, 10));
  DragTo(slider_, QPoint(105, 10));
  Release(slider_, QPoint(105, 10));
  EXPECT_EQ(slider_->GetPos(), 50);
  EXPECT_EQ(scrolls_[scrolls_.size() - 2], std::make_pair(int(CBitSlider::kThumbPosition), 50));
  for (int delta : {120, 60, 60, -360}) {
    QWheelEvent wheel(QPointF(50, 10), slider_->mapToGlobal(QPointF(50, 10)), QPoint(),
                      QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider_, &wheel);
  }
  EXPECT_EQ(notches, (std::vector<int>{1, 1, -3}));
  EXPECT_EQ(slider_->GetPos(), 50);
}

TEST_F(BitSliderWidget, WheelIsSwallowedAndKeysReportLineSteps) {
  slider_->SetPos(40);
  QWheelEvent wheel(QPointF(50, 10), slider_->mapToGlobal(QPointF(50, 10)), QPoint(),
                    QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(slider_, &wheel);
  EXPECT_EQ(slider_->GetPos(), 40);
  Key(slider_, Qt::Key_Right);
  EXPECT_EQ(slider_->GetPos(), 41);
  ASSERT_FALSE(scrolls_.empty());
  EXPECT_EQ(scrolls_[0], std::make_pair(int(CBitSlider::kLineDown), 41));
}

TEST_F(BitSliderWidget, MouseMovesRefreshTheTooltipAndHoverTheThumb) {
  slider_->SetPos(30);
  Hover(slider_, QPoint(150, 10));
  EXPECT_EQ(slider_->TooltipText(), QStringLiteral("30%"));
  Hover(slider_->Thumb(), QPoint(2, 2));
  EXPECT_EQ(slider_->Thumb()->Frame(), BitWndState::kFrameHover);
  Leave(slider_->Thumb());
  EXPECT_EQ(slider_->Thumb()->Frame(), BitWndState::kFrameNormal);
}

}  // namespace
}  // namespace lumora

namespace lumora {
namespace {

TEST(BitSliderSkin, SkinImagesByIdDrawTheVolumeSlider) {
  QWidget parent;
  auto* slider = new CBitSlider(&parent, 1004);
  slider->setGeometry(50, 462, 92, 20);
  slider->setRange(0, 99);
  slider->SetChannel(kBmpVolumeFilled, kBmpVolumeEmpty);
  slider->SetThumb(kBmpVolumeThumb);
  slider->SetPos(99);
  parent.show();
  EXPECT_EQ(slider->Thumb()->size(), QSize(10, 20));
  EXPECT_EQ(slider->Thumb()->geometry().right(), 91);
  const QImage filled = SkinImage(kBmpVolumeFilled).convertToFormat(QImage::Format_RGB32);
  const QImage shown = slider->grab().toImage().convertToFormat(QImage::Format_RGB32);
  for (int x = 0; x < 80; x += 7) EXPECT_EQ(shown.pixel(x, 10), filled.pixel(x, 10)) << x;
}

TEST(BitSliderSkin, VerticalSliderFillsFromTheTop) {
  QWidget parent;
  auto* slider = new CBitSlider(&parent, 1003, Qt::Vertical);
  slider->setGeometry(0, 0, 20, 100);
  slider->setRange(1, 9);
  slider->SetChannelImages(test::Solid(QSize(20, 100), Qt::red),
                           test::Solid(QSize(20, 100), Qt::blue));
  slider->SetThumbImage(test::Strip(QSize(20, 10), {Qt::white, Qt::white, Qt::white}));
  slider->SetPos(5);
  parent.show();
  EXPECT_EQ(slider->Thumb()->geometry(), QRect(0, 45, 20, 10));
  EXPECT_EQ(test::PixelOf(slider, QPoint(10, 20)), QColor(Qt::red).rgb());
  EXPECT_EQ(test::PixelOf(slider, QPoint(10, 80)), QColor(Qt::blue).rgb());
  EXPECT_EQ(test::PixelOf(slider, QPoint(10, 50)), QColor(Qt::white).rgb());
}

}  // namespace
}  // namespace lumora
