#include "display/qt/CRearViewDlg.h"

namespace lumora {

CRearViewDlg::CRearViewDlg(QWidget* parent)
    : CVideoAreaDlg(parent), view_(this, QStringLiteral("Video window2")) {
  setObjectName(QStringLiteral("CRearViewDlg"));
  setGeometry(kX, kY, kWidth, kHeight);
  view_.setGeometry(0, 0, 310, 233);
  view_.show();
}

}  // namespace lumora
