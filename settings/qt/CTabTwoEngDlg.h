#pragma once
// ADAS page of the settings dialog: FCW, LDW and FCDA switches, operating
// speeds, the HMW warning level, lane warning levels and the FCDA alarm timing.

#include "settings/qt/CSetupPage.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace lumora {

class CTabTwoEngDlg : public CSetupPage {
  Q_OBJECT

 public:
  explicit CTabTwoEngDlg(QWidget* parent = nullptr);
  void LoadCaptions() override;

 protected:
  void LoadControls() override;

 private:
  void OnFcwSpeedEdited(const QString& text);
  void OnLdwSpeedEdited(const QString& text);
  void OnLevelChanged(int index);
  void ShowSeconds();

  QGroupBox* onOffGroup_;
  QCheckBox* fcwCheck_;
  QCheckBox* ldwCheck_;
  QCheckBox* fcdaCheck_;
  QCheckBox* pdCheck_;
  QGroupBox* fcwGroup_;
  QLabel* fcwSpeedLabel_;
  QLineEdit* fcwSpeedEdit_;
  QLabel* fcwUnitLabel_;
  QLabel* fcwLevelLabel_;
  QLabel* hmwLevelLabel_;
  QComboBox* hmwLevelList_;
  QLineEdit* hmwSecondsBox_;
  QGroupBox* ldwGroup_;
  QLabel* ldwSpeedLabel_;
  QLineEdit* ldwSpeedEdit_;
  QLabel* ldwUnitLabel_;
  QLabel* stepLLabel_;
  QLineEdit* stepLEdit_;
  QLabel* stepRLabel_;
  QLineEdit* stepREdit_;
  QGroupBox* fcdaGroup_;
  QLabel* alarmLabel_;
  QComboBox* alarmList_;
  QLabel* secLabel_;
};

}  // namespace lumora
