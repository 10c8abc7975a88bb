#include "display/qt/CIctVideoRearView.h"

namespace lumora {

CIctVideoRearView::CIctVideoRearView(QWidget* parent, const QString& caption)
    : CIctVideoView(parent, caption, 1) {}

}  // namespace lumora
