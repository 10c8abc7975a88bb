#include "data/GSensorPlot.h"

namespace lumora {

GSensorPlot::Polylines GSensorPlot::Make(const std::vector<CGSensorData>& readings, int width,
                                         int height) {
  Polylines lines;
  const int middle = height / 2;
  auto yOf = [&](std::int32_t v) {
    return middle - static_cast<int>(static_cast<std::int64_t>(v) * (height / 2) / 128);
  };
  for (const CGSensorData& r : readings) {
    if (r.m_uTime > kSpanMs) continue;
    const int x = static_cast<int>(static_cast<std::int64_t>(r.m_uTime) * width / kSpanMs);
    lines.x.push_back({x, yOf(r.m_nX)});
    lines.y.push_back({x, yOf(r.m_nY)});
    lines.z.push_back({x, yOf(r.m_nZ)});
  }
  return lines;
}

}  // namespace lumora
