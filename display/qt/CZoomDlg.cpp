#include "display/qt/CZoomDlg.h"

namespace lumora {

CZoomDlg::CZoomDlg(QWidget* parent)
    : CVideoAreaDlg(parent), view_(this, QStringLiteral("Video window1"), 0) {
  setObjectName(QStringLiteral("CZoomDlg"));
  setGeometry(kX, kY, kWidth, kHeight);
  // Created at (1, 0, 635, 355), then sized to 633 x 354 at (0, 0).
  view_.setGeometry(1, 0, 634, 355);
  view_.setGeometry(0, 0, 633, 354);
  view_.show();
}

}  // namespace lumora
