#include "data/MapMarkerRule.h"

#include <cstdio>

namespace lumora {
namespace {

std::string Pair(const char* function, double longitude, double latitude) {
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "javascript:%s('%lf', '%lf')", function, longitude,
                latitude);
  return buffer;
}

}  // namespace

std::optional<MapMarkerRule::Result> MapMarkerRule::ForPosition(const CDrivingTrack& track,
                                                                std::int64_t positionMs) {
  const CGPSData* fix = track.FindFix(positionMs);
  if (!fix) return std::nullopt;
  Result result;
  result.fix.valid = fix->m_nValid != 0;
  if (!result.fix.valid) return result;
  result.fix.latitude = fix->m_dLatitude;
  result.fix.longitude = fix->m_dLongitude;
  result.fix.northSouth = fix->m_cNorthSouth;
  result.fix.eastWest = fix->m_cEastWest;
  result.fix.speed = fix->m_dSpeed;
  result.call = DrawCurrentCall(fix->GetLongitudeDegrees(), fix->GetLatitudeDegrees());
  return result;
}

std::string MapMarkerRule::DrawCurrentCall(double longitude, double latitude) {
  return Pair("DrawCurrent", longitude, latitude);
}

std::string MapMarkerRule::IconMarkerCall(double longitude, double latitude) {
  return Pair("IconMarker", longitude, latitude);
}

std::string MapMarkerRule::DrawRouteCall(const CDrivingTrack& track) {
  std::string call = "javascript:DrawRoute(";
  bool first = true;
  for (const CGPSData& fix : track.TextData().m_arrGPS) {
    if (!fix.m_nValid || (fix.m_dLatitude == 0.0 && fix.m_dLongitude == 0.0)) continue;
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, "%s'%lf', '%lf'", first ? "" : ", ",
                  fix.GetLongitudeDegrees(), fix.GetLatitudeDegrees());
    call += buffer;
    first = false;
  }
  return call + ")";
}

}  // namespace lumora
