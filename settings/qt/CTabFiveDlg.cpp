#include "settings/qt/CTabFiveDlg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/qt/SystemTimeZone.h"

namespace lumora {

CTabFiveDlg::CTabFiveDlg(QWidget* parent)
    : CSetupPage(parent), timeZoneSource_(&CurrentPcTimeZone) {
  auto* page = new QVBoxLayout(this);

  timeZoneGroup_ = new QGroupBox(this);
  auto* zone = new QGridLayout(timeZoneGroup_);
  gmtLabel_ = new QLabel(timeZoneGroup_);
  timeZoneList_ = new QComboBox(timeZoneGroup_);
  timeZoneList_->setObjectName(QStringLiteral("timeZoneList"));
  for (const std::string& text : TimeZoneListTexts())
    timeZoneList_->addItem(QString::fromStdString(text));
  applyButton_ = new QPushButton(timeZoneGroup_);
  applyButton_->setObjectName(QStringLiteral("applyPcTimeZoneButton"));
  applyButton_->setAutoDefault(false);
  zone->addWidget(gmtLabel_, 0, 0);
  zone->addWidget(timeZoneList_, 0, 1);
  zone->addWidget(applyButton_, 1, 0, 1, 2);
  zone->setColumnStretch(2, 1);
  page->addWidget(timeZoneGroup_);

  functionGroup_ = new QGroupBox(this);
  auto* function = new QHBoxLayout(functionGroup_);
  function->addWidget(new QLabel(QStringLiteral("DIT"), functionGroup_));
  ditOnRadio_ = new QRadioButton(QStringLiteral("ON"), functionGroup_);
  ditOnRadio_->setObjectName(QStringLiteral("ditOnRadio"));
  ditOffRadio_ = new QRadioButton(QStringLiteral("OFF"), functionGroup_);
  ditOffRadio_->setObjectName(QStringLiteral("ditOffRadio"));
  ditOnRadio_->setEnabled(false);
  ditOffRadio_->setEnabled(false);
  function->addWidget(ditOnRadio_);
  function->addWidget(ditOffRadio_);
  function->addStretch(1);
  page->addWidget(functionGroup_);

  wifiGroup_ = new QGroupBox(QStringLiteral("Wi-Fi"), this);
  auto* wifi = new QGridLayout(wifiGroup_);
  ssidEdit_ = new QLineEdit(wifiGroup_);
  ssidEdit_->setObjectName(QStringLiteral("ssidEdit"));
  passwordLabel_ = new QLabel(wifiGroup_);
  passwordEdit_ = new QLineEdit(wifiGroup_);
  passwordEdit_->setObjectName(QStringLiteral("passwordEdit"));
  hintLabel_ = new QLabel(wifiGroup_);
  hintLabel_->setObjectName(QStringLiteral("passwordHint"));
  wifi->addWidget(new QLabel(QStringLiteral("SSID"), wifiGroup_), 0, 0);
  wifi->addWidget(ssidEdit_, 0, 1);
  wifi->addWidget(passwordLabel_, 1, 0);
  wifi->addWidget(passwordEdit_, 1, 1);
  wifi->addWidget(hintLabel_, 2, 1);
  page->addWidget(wifiGroup_);
  page->addStretch(1);

  connect(timeZoneList_, &QComboBox::activated, this, [this](int index) {
    if (record_) record_->usTimeZone = TimeZoneValueFromIndex(index);
  });
  connect(applyButton_, &QPushButton::clicked, this, &CTabFiveDlg::OnApplyPcTimeZone);
}

void CTabFiveDlg::LoadCaptions() {
  timeZoneGroup_->setTitle(Text(715));
  gmtLabel_->setText(Text(716));
  applyButton_->setText(Text(717));
  functionGroup_->setTitle(Text(718));
  passwordLabel_->setText(Text(719));
  hintLabel_->setText(Text(731));
}

void CTabFiveDlg::LoadControls() {
  const SetupData& data = *record_;
  timeZoneList_->setCurrentIndex(TimeZoneIndexFromValue(data.usTimeZone));
  CheckRadio({ditOnRadio_, ditOffRadio_}, DitRadioIndex(data.usB2BUseDit));
}

void CTabFiveDlg::SetWifiStrings(const std::string& ssid, const std::string& passphrase) {
  ssidEdit_->setText(QString::fromStdString(ssid));
  passwordEdit_->setText(QString::fromStdString(passphrase));
}

std::string CTabFiveDlg::Ssid() const { return ssidEdit_->text().toStdString(); }

std::string CTabFiveDlg::Passphrase() const { return passwordEdit_->text().toStdString(); }

void CTabFiveDlg::OnApplyPcTimeZone() {
  if (!record_ || !timeZoneSource_) return;
  const std::optional<int> index = ApplyTimeZone(*record_, timeZoneSource_());
  // A failed query keeps the current selection.
  if (index) timeZoneList_->setCurrentIndex(*index);
}

}  // namespace lumora
