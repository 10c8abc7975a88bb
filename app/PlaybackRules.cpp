#include "app/PlaybackRules.h"

#include <algorithm>
#include <cstdio>

namespace lumora {

std::string PlaybackRules::TimeText(std::int64_t ms) {
  if (ms < 0) ms = 0;
  const std::int64_t seconds = ms / 1000;
  char text[48];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
  return text;
}

std::uint32_t PlaybackRules::VolumeWord(int sliderValue) {
  const auto w = static_cast<std::uint32_t>(static_cast<std::int64_t>(sliderValue * 655.35));
  return (w & 0xFFFFu) + ((w & 0xFFFFu) << 16);
}

int PlaybackRules::RowAt(std::int64_t position, std::int64_t duration, int rowCount) {
  if (duration <= 0 || rowCount <= 0 || position < 0) return 0;
  return static_cast<int>(static_cast<double>(position) / static_cast<double>(duration) * rowCount);
}

PlaybackRules::HeldStep PlaybackRules::StepWhileHeld(std::int64_t position, std::int64_t duration,
                                                     bool endReached) {
  if (position > 0 && position < duration) return HeldStep::kFollow;
  return endReached ? HeldStep::kNext : HeldStep::kHold;
}

std::int64_t PlaybackRules::WheelTarget(std::int64_t position, std::int64_t duration, int notches) {
  const std::int64_t step = static_cast<std::int64_t>(kStepSeconds * 1000.0);
  const std::int64_t target = position + notches * step;
  return std::clamp<std::int64_t>(target, 0, std::max<std::int64_t>(0, duration));
}

std::string PlaybackRules::DrawCurrentCall(double longitude, double latitude) {
  char text[128];
  std::snprintf(text, sizeof text, "javascript:DrawCurrent('%lf', '%lf')", longitude, latitude);
  return text;
}

std::string PlaybackRules::SeekTooltip(bool ditMode, int position, int maximum) {
  if (!ditMode) return TimeText(position);
  const std::int64_t share =
      maximum > 0 ? std::int64_t{std::clamp(position, 0, maximum)} * 100 / maximum : 0;
  return std::to_string(share) + "%";
}

}  // namespace lumora
