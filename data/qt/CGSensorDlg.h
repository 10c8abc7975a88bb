#pragma once
// The small acceleration-graph window: its background picture, the plot
// frame and the three polylines of the track's reading list over the first
// minute. Modeless; the main window creates it once and shows it again.

#include <QDialog>

#include <cstdint>

#include "data/CTextData.h"

namespace lumora {

class CGSensorDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 217;
  static constexpr int kWidth = 521;
  static constexpr int kHeight = 249;

  explicit CGSensorDlg(const CTextData* text, QWidget* owner = nullptr);

  // Centres the window on its owner, inside the owner's screen.
  void CentreOnOwner();
  // The play position: the plot shows the minute that contains it, with a
  // white cursor line at it.
  void SetPosition(std::int64_t positionMs);
  std::int64_t Position() const { return m_nPosition; }
  QImage Render();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Paint(QPainter& dc);

  const CTextData* m_pText;
  std::int64_t m_nPosition = 0;
};

}  // namespace lumora
