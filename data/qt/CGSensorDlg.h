#pragma once
// The small acceleration-graph window: its background picture, the plot
// frame and the three polylines of the track's reading list over the first
// minute. Modeless; the main window creates it once and shows it again.

#include <QDialog>

#include "data/CTextData.h"

namespace lumora {

class CGSensorDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 217;
  static constexpr int kWidth = 521;
  static constexpr int kHeight = 249;

  explicit CGSensorDlg(const CTextData* text, QWidget* owner = nullptr);

  // Centres the window on its owner.
  void CentreOnOwner();
  QImage Render();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Paint(QPainter& dc);

  const CTextData* m_pText;
};

}  // namespace lumora
