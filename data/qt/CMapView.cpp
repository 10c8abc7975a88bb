#include "data/qt/CMapView.h"

namespace lumora {

CMapView::CMapView(const CDrivingTrack* track, QWidget* parent)
    : CExplorerMapViewWnd(parent), m_pTrack(track) {}

QUrl CMapView::MapPageUrl() { return QUrl(QStringLiteral("qrc:/map/index.html")); }

void CMapView::LoadMapPage() { Navigate(MapPageUrl()); }

void CMapView::MarkPosition(std::int64_t positionMs) {
  if (!m_pTrack) return;
  const auto result = MapMarkerRule::ForPosition(*m_pTrack, positionMs);
  if (!result) return;
  m_lastFix.valid = result->fix.valid;
  if (!result->fix.valid) return;
  m_lastFix = result->fix;
  CallScript(result->call);
}

void CMapView::ShowRoute() {
  // A new recording: the previous one's position must not show for it.
  m_lastFix = MarkerFix{};
  if (!m_pTrack) return;
  CallScript(MapMarkerRule::DeleteOverlayCall());
  CallScript(MapMarkerRule::DrawRouteCall(*m_pTrack));
}

}  // namespace lumora
