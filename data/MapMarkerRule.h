#pragma once
// Which map calls a play position makes: the first GPS fix at or after the
// position, its values for the data panel, and the call texts of the page's
// functions (DrawCurrent, IconMarker, DeleteOverlay and DrawRoute, the whole
// route of the recording as longitude / latitude pairs).

#include <cstdint>
#include <optional>
#include <string>

#include "data/CDrivingTrack.h"

namespace lumora {

// What the marker update remembers of a fix for the data panel.
struct MarkerFix {
  bool valid = false;
  double latitude = 0.0;   // NMEA ddmm.mmmm, negative south
  double longitude = 0.0;  // NMEA dddmm.mmmm, negative west
  char northSouth = 0;
  char eastWest = 0;
  double speed = 0.0;  // km/h
};

class MapMarkerRule {
 public:
  // Where Stop leaves the marker.
  static constexpr double kRestLongitude = 139.774494;
  static constexpr double kRestLatitude = 35.684066;

  struct Result {
    MarkerFix fix;
    std::string call;  // empty when the fix is not valid
  };
  // Nothing when the track has no fixes or the position is past the last.
  static std::optional<Result> ForPosition(const CDrivingTrack& track, std::int64_t positionMs);

  // "javascript:DrawCurrent('%lf', '%lf')" with the longitude first.
  static std::string DrawCurrentCall(double longitude, double latitude);
  // "javascript:IconMarker('%lf', '%lf')".
  static std::string IconMarkerCall(double longitude, double latitude);
  static std::string DeleteOverlayCall() { return "javascript:DeleteOverlay()"; }
  // "javascript:DrawRoute('lon', 'lat', ...)" of the valid fixes in order;
  // "javascript:DrawRoute()" clears the route.
  static std::string DrawRouteCall(const CDrivingTrack& track);
};

}  // namespace lumora
