#include "app/DitWindowHost.h"

#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>

#include "app/IMapCalls.h"
#include "display/qt/CStillView.h"

namespace lumora {

DitWindowHost::DitWindowHost(QTimer* timer, IMapCalls* map, CStillView* picture, QSlider* seek,
                             Hooks hooks)
    : timer_(timer), map_(map), picture_(picture), seek_(seek), hooks_(std::move(hooks)) {}

void DitWindowHost::StartReplayTimer(int periodMs) {
  period_ = periodMs;
  timer_->start(periodMs);
}

void DitWindowHost::StopReplayTimer() { timer_->stop(); }

void DitWindowHost::RunMapScript(const std::string& call) {
  if (map_) map_->CallScript(call);
}

void DitWindowHost::ShowPicture(const std::filesystem::path& jpeg) {
  shown_ = jpeg;
  if (!picture_) return;
  // A picture that does not decode leaves the view empty; the replay goes on.
  picture_->LoadFile(jpeg);
  picture_->show();
  picture_->raise();
  picture_->update();
}

void DitWindowHost::ClearPicture() {
  shown_.clear();
  if (picture_) picture_->hide();
}

void DitWindowHost::ShowPauseLook(bool pause) {
  if (hooks_.showPauseLook) hooks_.showPauseLook(pause);
}

void DitWindowHost::PausePlayer() {
  if (hooks_.pausePlayer) hooks_.pausePlayer();
}

void DitWindowHost::SetSliderRange(int max) {
  const QSignalBlocker block(seek_);
  seek_->setRange(0, max);
}

void DitWindowHost::SetSlider(int pos) {
  const QSignalBlocker block(seek_);
  seek_->setValue(pos);
}

void DitWindowHost::PublishPosition(int position, int duration) {
  if (hooks_.publishPosition) hooks_.publishPosition(position, duration);
}

void DitWindowHost::RefreshIndicator() {
  if (hooks_.refreshIndicator) hooks_.refreshIndicator();
}

void DitWindowHost::ShowSpeedMultiplier(int multiplier) {
  if (hooks_.showSpeedMultiplier) hooks_.showSpeedMultiplier(multiplier);
}

void DitWindowHost::ShowMarkerLook(bool on) {
  if (hooks_.showMarkerLook) hooks_.showMarkerLook(on);
}

void DitWindowHost::Redraw() {
  if (hooks_.redraw) hooks_.redraw();
}

}  // namespace lumora
