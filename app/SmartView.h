#pragma once
// The "SMART" control (5005, 180 x 165): paints the driver-assistance
// indicator bitmap, the event alert over it and the speed read-out.

#include <QWidget>

class QPainter;

#include "app/SmartIndicator.h"

namespace lumora {

class SmartView : public QWidget {
  Q_OBJECT

 public:
  explicit SmartView(QWidget* parent = nullptr);
  void SetFrame(const SmartFrame& frame);
  const SmartFrame& Frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawSpeed(QPainter& painter);
  SmartFrame frame_;
};

}  // namespace lumora
