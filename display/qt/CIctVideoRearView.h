#pragma once
// The static control of the small video area (channel 1).

#include "display/qt/CIctVideoView.h"

namespace lumora {

class CIctVideoRearView : public CIctVideoView {
  Q_OBJECT

 public:
  CIctVideoRearView(QWidget* parent, const QString& caption);

 protected:
  bool FocusOnDoubleClick() const override { return false; }
};

}  // namespace lumora
