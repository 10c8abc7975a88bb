#pragma once
// OTHERS page of the settings dialog: time zone, the DIT switch (shown only)
// and the camera's Wi-Fi name and passphrase.

#include <functional>
#include <string>

#include "settings/OthersPageRules.h"
#include "settings/qt/CSetupPage.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace lumora {

class CTabFiveDlg : public CSetupPage {
  Q_OBJECT

 public:
  explicit CTabFiveDlg(QWidget* parent = nullptr);
  void LoadCaptions() override;

  // The two Wi-Fi strings shown in the edits.
  void SetWifiStrings(const std::string& ssid, const std::string& passphrase);
  std::string Ssid() const;
  std::string Passphrase() const;

  // Where "Apply Current PC Timezone" asks for the PC's zone (tests replace it).
  void SetTimeZoneSource(std::function<TimeZoneAnswer()> source) {
    timeZoneSource_ = std::move(source);
  }

 protected:
  void LoadControls() override;

 private:
  void OnApplyPcTimeZone();

  QGroupBox* timeZoneGroup_;
  QLabel* gmtLabel_;
  QComboBox* timeZoneList_;
  QPushButton* applyButton_;
  QGroupBox* functionGroup_;
  QRadioButton* ditOnRadio_;
  QRadioButton* ditOffRadio_;
  QGroupBox* wifiGroup_;
  QLineEdit* ssidEdit_;
  QLabel* passwordLabel_;
  QLineEdit* passwordEdit_;
  QLabel* hintLabel_;
  std::function<TimeZoneAnswer()> timeZoneSource_;
};

}  // namespace lumora
