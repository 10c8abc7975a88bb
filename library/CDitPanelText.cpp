#include "library/CDitPanelText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace lumora {

std::string CDitPanelText::DateLine(const DitPoint& p) {
  const std::string& t = p.m_strDateTime;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%4d-%02d-%02d", std::atoi(t.substr(0, 4).c_str()),
                std::atoi(t.substr(4, 2).c_str()), std::atoi(t.substr(6, 2).c_str()));
  return buf;
}

std::string CDitPanelText::TimeLine(const DitPoint& p) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", p.Hour(), p.Minute(), p.Second());
  return buf;
}

std::string CDitPanelText::DegreesLine(double v, const char* format) {
  const double whole = std::trunc(v);
  const int degrees = static_cast<int>(std::trunc(v / 100.0));
  const int minutes = static_cast<int>(std::fmod(whole, 100.0));
  const double seconds = std::floor((v - whole) * 60.0 * 10.0 + 0.5) / 10.0;
  char buf[96];
  std::snprintf(buf, sizeof buf, format, std::abs(degrees), std::abs(minutes), std::fabs(seconds));
  return buf;
}

std::string CDitPanelText::LatitudeLine(const DitPoint& p) {
  return DegreesLine(p.m_dLatitude, "%03d %03d %3.1f");
}

std::string CDitPanelText::LongitudeLine(const DitPoint& p) {
  return DegreesLine(p.m_dLongitude, "%03d %03d %3.1f     ");
}

}  // namespace lumora
