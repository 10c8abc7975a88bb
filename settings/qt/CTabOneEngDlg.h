#pragma once
// INSTALL page of the settings dialog: vehicle type with its presets, where
// the camera sits, signal levels, vehicle pulse and speed source.

#include <array>

#include "settings/qt/CSetupPage.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace lumora {

class CTabOneEngDlg : public CSetupPage {
  Q_OBJECT

 public:
  explicit CTabOneEngDlg(QWidget* parent = nullptr);
  void LoadCaptions() override;

 protected:
  void LoadControls() override;

 private:
  QRadioButton* MakeRadio(const char* name, std::uint16_t SetupData::*field, std::uint16_t value);
  void ShowSizes();

  QLabel* typeLabel_;
  std::array<QRadioButton*, 6> typeRadios_{};
  QLabel* attachedLabel_;
  std::array<QRadioButton*, 3> attachedRadios_{};
  QGroupBox* positionGroup_;
  QLabel* heightLabel_;
  QLineEdit* heightEdit_;
  QLabel* widthLabel_;
  QLineEdit* widthEdit_;
  QLabel* offsetLabel_;
  QLineEdit* offsetEdit_;
  QGroupBox* otherGroup_;
  QLabel* turnLabel_;
  std::array<QRadioButton*, 2> turnRadios_{};
  QLabel* brakeLabel_;
  std::array<QRadioButton*, 2> brakeRadios_{};
  QLabel* pulseLabel_;
  QLineEdit* pulseEdit_;
  QLabel* priorityLabel_;
  std::array<QRadioButton*, 3> priorityRadios_{};
};

}  // namespace lumora
