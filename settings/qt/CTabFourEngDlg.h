#pragma once
// SETUP page of the settings dialog: volumes, voice alarms, the camera's
// screen, speed unit and menu language.

#include "settings/qt/CSetupPage.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace lumora {

class CTabFourEngDlg : public CSetupPage {
  Q_OBJECT

 public:
  explicit CTabFourEngDlg(QWidget* parent = nullptr);
  void LoadCaptions() override;

 protected:
  void LoadControls() override;

 private:
  QCheckBox* MakeToggle(QWidget* parent, const char* name, std::uint16_t SetupData::*field);
  QRadioButton* MakeRadio(QWidget* parent, const char* name, std::uint16_t SetupData::*field,
                          std::uint16_t value);
  QString LanguageCaption(int code) const;

  QGroupBox* volumeGroup_;
  QLabel* speakerLabel_;
  QLineEdit* speakerEdit_;
  QLabel* micLabel_;
  QLineEdit* micEdit_;
  QGroupBox* voiceGroup_;
  QCheckBox* eventVoiceCheck_;
  QCheckBox* fcwVoiceCheck_;
  QCheckBox* ldwVoiceCheck_;
  QCheckBox* fcdaVoiceCheck_;
  QGroupBox* systemGroup_;
  QGroupBox* lcdGroup_;
  QLabel* viewLabel_;
  QRadioButton* frontRadio_;
  QRadioButton* rearRadio_;
  QRadioButton* pipRadio_;
  QLabel* screenSaveLabel_;
  QRadioButton* alwaysOnRadio_;
  QRadioButton* thirtySecRadio_;
  QLabel* lcdDisplayLabel_;
  QCheckBox* speedCheck_;
  QCheckBox* adasCheck_;
  QCheckBox* horizonCheck_;
  QLabel* unitLabel_;
  QRadioButton* kmhRadio_;
  QRadioButton* mphRadio_;
  QLabel* languageLabel_;
  QRadioButton* languageRadio0_;
  QRadioButton* languageRadio1_;
};

}  // namespace lumora
