#pragma once
// The map pane of the main window: our map page in the browser, the marker
// for a play position, the route of the recording, and the values of the
// last fix found, which the data panel shows.

#include <cstdint>

#include "data/CDrivingTrack.h"
#include "data/MapMarkerRule.h"
#include "data/qt/CExplorerMapViewWnd.h"

namespace lumora {

class CMapView : public CExplorerMapViewWnd {
  Q_OBJECT

 public:
  static constexpr int kControlId = 4106;

  explicit CMapView(const CDrivingTrack* track, QWidget* parent = nullptr);

  // The page shipped with the program (Leaflet and OpenStreetMap tiles).
  static QUrl MapPageUrl();
  void LoadMapPage();

  // Moves the marker to the fix of the position (when there is a valid one)
  // and remembers the fix's values.
  void MarkPosition(std::int64_t positionMs);
  // Draws the recording's route, clears the route markers and forgets the
  // remembered fix (a new recording starts without a position).
  void ShowRoute();

  const MarkerFix& LastFix() const { return m_lastFix; }

 private:
  const CDrivingTrack* m_pTrack;
  MarkerFix m_lastFix;
};

}  // namespace lumora
