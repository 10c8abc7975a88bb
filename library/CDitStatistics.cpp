#include "library/CDitStatistics.h"

#include <cmath>
#include <cstdio>

namespace lumora {

void CDitStatistics::Add(const DitPoint& point) {
  ++m_nPoints;
  // Metres per degree at the camera's home latitudes.
  const double y = point.m_dLatDeg * 110560.0;
  const double x = point.m_dLonDeg * 84800.0;
  const int t = point.SecondsOfDay();
  if (m_bHasPrev) {
    const double dy = y - m_dPrevY;
    const double dx = std::fabs(x - m_dPrevX);
    auto d = static_cast<std::int64_t>(std::sqrt(dx * dx + dy * dy));
    int dt = t - m_nPrevT;
    if (dt > kMaxStepSeconds || dt < 0) {
      dt = 0;
      d = 0;
    }
    m_nMetres += d;
    m_nTotal += dt;
    if (point.m_nSpeed > 0) m_nMoving += dt;
    if (point.m_nSpeed > m_nLimit) m_nOverspeed += dt;
  }
  m_bHasPrev = true;
  m_dPrevX = x;
  m_dPrevY = y;
  m_nPrevT = t;
}

CDitStatistics CDitStatistics::Of(const std::vector<DitPoint>& points, int limit) {
  CDitStatistics s(limit);
  for (const DitPoint& p : points) s.Add(p);
  return s;
}

bool CDitStatistics::OfFile(const std::filesystem::path& path, int limit, CDitStatistics* out) {
  CDitStatistics s(limit);
  const bool opened = CDitFile::ForEachPoint(path, [&](const DitPoint& p) {
    s.Add(p);
    return true;
  });
  *out = s;
  return opened;
}

std::string CDitStatistics::DistanceText(std::int64_t metres) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%0.2lf km", static_cast<double>(metres) / 1000.0);
  return buf;
}

std::string CDitStatistics::TimeText(std::int64_t seconds) {
  if (seconds < 0) seconds = 0;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", static_cast<int>(seconds / 3600),
                static_cast<int>(seconds % 3600 / 60), static_cast<int>(seconds % 60));
  return buf;
}

}  // namespace lumora
