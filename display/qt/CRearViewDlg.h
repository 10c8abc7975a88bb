#pragma once
// The small video area (channel 1), 320 x 240 at (684, 37) of the main window.

#include "display/qt/CIctVideoRearView.h"
#include "display/qt/CVideoAreaDlg.h"

namespace lumora {

class CRearViewDlg : public CVideoAreaDlg {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 320;
  static constexpr int kX = 684;
  static constexpr int kY = 37;
  static constexpr int kWidth = 320;
  static constexpr int kHeight = 240;

  explicit CRearViewDlg(QWidget* parent);

  // The static control, parent of channel 1's display.
  CIctVideoRearView* View() { return &view_; }

 private:
  CIctVideoRearView view_;
};

}  // namespace lumora
