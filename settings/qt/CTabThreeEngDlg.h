#pragma once
// DVR page of the settings dialog: recording switches, impact level, cut-off
// voltage, resolution and the G-sensor trigger sliders.

#include <array>

#include "settings/qt/CSetupPage.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSlider;

namespace lumora {

class CTabThreeEngDlg : public CSetupPage {
  Q_OBJECT

 public:
  explicit CTabThreeEngDlg(QWidget* parent = nullptr);
  void LoadCaptions() override;

 protected:
  void LoadControls() override;

 private:
  void FillVoltageList();
  void OnTriggerMoved(int axis, int position);
  std::uint16_t* Trigger(int axis) const;

  QGroupBox* commonGroup_;
  QCheckBox* continuousCheck_;
  QCheckBox* voiceCheck_;
  QLabel* impactLabel_;
  QComboBox* impactList_;
  QGroupBox* cctvGroup_;
  QCheckBox* cctvCheck_;
  QLabel* voltageLabel_;
  QComboBox* voltageList_;
  QLabel* motionLabel_;
  QGroupBox* resolutionGroup_;
  QRadioButton* fullHdRadio_;
  QRadioButton* hdRadio_;
  QGroupBox* gSensorGroup_;
  std::array<QSlider*, 3> sliders_{};
  std::array<QLineEdit*, 3> gBoxes_{};
};

}  // namespace lumora
