#pragma once
// The large video area (channel 0), 640 x 360 at (16, 37) of the main window.

#include "display/qt/CIctVideoView.h"
#include "display/qt/CVideoAreaDlg.h"

namespace lumora {

class CZoomDlg : public CVideoAreaDlg {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 227;
  static constexpr int kX = 16;
  static constexpr int kY = 37;
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 360;

  explicit CZoomDlg(QWidget* parent);

  // The static control, parent of channel 0's display.
  CIctVideoView* View() { return &view_; }

 private:
  CIctVideoView view_;
};

}  // namespace lumora
