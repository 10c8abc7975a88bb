#include "app/WebMapCalls.h"

#include "data/qt/CMapView.h"

namespace lumora {

void WebMapCalls::CallScript(const std::string& callText) { view_->CallScript(callText); }

void WebMapCalls::MarkPosition(std::int64_t positionMs) { view_->MarkPosition(positionMs); }

bool WebMapCalls::LastFix(MarkerFix* fix) const {
  *fix = view_->LastFix();
  return true;
}

void WebMapCalls::ShowRoute() { view_->ShowRoute(); }

void WebMapCalls::LoadPage() { view_->LoadMapPage(); }

}  // namespace lumora
