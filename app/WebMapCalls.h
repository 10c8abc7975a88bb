#pragma once
// The web map (CMapView) behind the main window's map interface.

#include "app/IMapCalls.h"

namespace lumora {

class CMapView;

class WebMapCalls : public IMapCalls {
 public:
  // The view belongs to the window it is shown in.
  explicit WebMapCalls(CMapView* view) : view_(view) {}

  void CallScript(const std::string& callText) override;
  void MarkPosition(std::int64_t positionMs) override;
  bool LastFix(MarkerFix* fix) const override;
  void ShowRoute() override;
  void LoadPage() override;

 private:
  CMapView* view_;
};

}  // namespace lumora
