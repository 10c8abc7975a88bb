#include "data/GSensorPlot.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace lumora {

GSensorPlot::Polylines GSensorPlot::Make(const std::vector<CGSensorData>& readings, int width,
                                         int height, std::uint32_t startMs) {
  Polylines lines;
  const int middle = height / 2;
  auto yOf = [&](std::int32_t v) {
    return middle - static_cast<int>(static_cast<std::int64_t>(v) * (height / 2) / 128);
  };
  for (const CGSensorData& r : readings) {
    if (r.m_uTime < startMs || r.m_uTime - startMs > kSpanMs) continue;
    const int x =
        static_cast<int>(static_cast<std::int64_t>(r.m_uTime - startMs) * width / kSpanMs);
    lines.x.push_back({x, yOf(r.m_nX)});
    lines.y.push_back({x, yOf(r.m_nY)});
    lines.z.push_back({x, yOf(r.m_nZ)});
  }
  return lines;
}

std::vector<CGSensorData> GSensorPlot::ReadingsFrom(const CDrivingTrack& track,
                                                    std::int64_t durationMs) {
  std::vector<CGSensorData> readings;
  const int n = track.GetGSampleCount();
  if (n <= 0) return readings;
  readings.reserve(static_cast<std::size_t>(n));
  auto units = [](double g) {
    return static_cast<std::int32_t>(std::clamp(std::lround(g * kUnitsPerG), -128L, 128L));
  };
  const std::int64_t duration = std::max<std::int64_t>(0, durationMs);
  for (int i = 0; i < n; ++i) {
    const GSensorSample* s = track.GetSample(i);
    if (!s) break;
    const auto time = static_cast<std::uint32_t>(
        std::min<std::int64_t>(duration * i / n, std::numeric_limits<std::uint32_t>::max()));
    readings.emplace_back(units(s->ax), units(s->ay), units(s->az), time);
  }
  return readings;
}

std::uint32_t GSensorPlot::MinuteStart(std::int64_t positionMs) {
  if (positionMs <= 0) return 0;
  return static_cast<std::uint32_t>(positionMs / kSpanMs * kSpanMs);
}

int GSensorPlot::CursorX(std::int64_t positionMs, int width) {
  const std::int64_t into = std::max<std::int64_t>(0, positionMs) - MinuteStart(positionMs);
  return static_cast<int>(into * width / kSpanMs);
}

}  // namespace lumora
