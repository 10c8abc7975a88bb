#include "settings/qt/CTabFourEngDlg.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/DvrPageRules.h"
#include "settings/SystemPageRules.h"

namespace lumora {
QCheckBox* CTabFourEngDlg::MakeToggle(QWidget* parent, const char* name,
                                      std::uint16_t SetupData::*field) {
  auto* check = new QCheckBox(parent);
  check->setObjectName(QLatin1String(name));
  connect(check, &QCheckBox::clicked, this, [this, field] {
    if (record_) record_->*field = ToggleOnOffCheck(record_->*field);
  });
  return check;
}

QRadioButton* CTabFourEngDlg::MakeRadio(QWidget* parent, const char* name,
                                        std::uint16_t SetupData::*field, std::uint16_t value) {
  auto* radio = new QRadioButton(parent);
  radio->setObjectName(QLatin1String(name));
  connect(radio, &QRadioButton::clicked, this, [this, field, value] {
    if (record_) record_->*field = value;
  });
  return radio;
}

CTabFourEngDlg::CTabFourEngDlg(QWidget* parent) : CSetupPage(parent) {
  auto* page = new QVBoxLayout(this);

  volumeGroup_ = new QGroupBox(this);
  auto* volume = new QGridLayout(volumeGroup_);
  speakerLabel_ = new QLabel(volumeGroup_);
  speakerEdit_ = new QLineEdit(volumeGroup_);
  speakerEdit_->setObjectName(QStringLiteral("speakerEdit"));
  micLabel_ = new QLabel(volumeGroup_);
  micEdit_ = new QLineEdit(volumeGroup_);
  micEdit_->setObjectName(QStringLiteral("micEdit"));
  volume->addWidget(speakerLabel_, 0, 0);
  volume->addWidget(speakerEdit_, 0, 1);
  volume->addWidget(new QLabel(QStringLiteral(" max15"), volumeGroup_), 0, 2);
  volume->addWidget(micLabel_, 0, 3);
  volume->addWidget(micEdit_, 0, 4);
  volume->addWidget(new QLabel(QStringLiteral(" max15"), volumeGroup_), 0, 5);
  page->addWidget(volumeGroup_);

  voiceGroup_ = new QGroupBox(this);
  auto* voice = new QHBoxLayout(voiceGroup_);
  eventVoiceCheck_ = MakeToggle(voiceGroup_, "eventVoiceCheck", &SetupData::usEvt_SndVoice);
  fcwVoiceCheck_ = MakeToggle(voiceGroup_, "fcwVoiceCheck", &SetupData::usFcw_SndVoice);
  ldwVoiceCheck_ = MakeToggle(voiceGroup_, "ldwVoiceCheck", &SetupData::usLdw_SndVoice);
  fcdaVoiceCheck_ = MakeToggle(voiceGroup_, "fcdaVoiceCheck", &SetupData::usBnw_SndVoice);
  for (QCheckBox* check : {eventVoiceCheck_, fcwVoiceCheck_, ldwVoiceCheck_, fcdaVoiceCheck_})
    voice->addWidget(check);
  page->addWidget(voiceGroup_);

  systemGroup_ = new QGroupBox(this);
  auto* system = new QVBoxLayout(systemGroup_);
  lcdGroup_ = new QGroupBox(systemGroup_);
  auto* lcd = new QGridLayout(lcdGroup_);
  viewLabel_ = new QLabel(lcdGroup_);
  frontRadio_ = MakeRadio(lcdGroup_, "frontRadio", &SetupData::usDisplayMethod, 0);
  rearRadio_ = MakeRadio(lcdGroup_, "rearRadio", &SetupData::usDisplayMethod, 1);
  pipRadio_ = MakeRadio(lcdGroup_, "pipRadio", &SetupData::usDisplayMethod, 2);
  screenSaveLabel_ = new QLabel(lcdGroup_);
  alwaysOnRadio_ = MakeRadio(lcdGroup_, "alwaysOnRadio", &SetupData::usLcdBacklightTime, 0);
  thirtySecRadio_ = MakeRadio(lcdGroup_, "thirtySecRadio", &SetupData::usLcdBacklightTime, 1);
  lcdDisplayLabel_ = new QLabel(lcdGroup_);
  speedCheck_ = MakeToggle(lcdGroup_, "speedCheck", &SetupData::usDisplaySpeedOnOff);
  adasCheck_ = MakeToggle(lcdGroup_, "adasCheck", &SetupData::usDisplayTTCOnOff);
  horizonCheck_ = MakeToggle(lcdGroup_, "horizonCheck", &SetupData::usDisplayHorizenOnOff);
  lcd->addWidget(viewLabel_, 0, 0);
  lcd->addWidget(RadioRow(lcdGroup_, {frontRadio_, rearRadio_, pipRadio_}), 0, 1);
  lcd->addWidget(screenSaveLabel_, 1, 0);
  lcd->addWidget(RadioRow(lcdGroup_, {alwaysOnRadio_, thirtySecRadio_}), 1, 1);
  lcd->addWidget(lcdDisplayLabel_, 2, 0);
  auto* checks = new QWidget(lcdGroup_);
  auto* checksLayout = new QHBoxLayout(checks);
  checksLayout->setContentsMargins(0, 0, 0, 0);
  for (QCheckBox* check : {speedCheck_, adasCheck_, horizonCheck_}) {
    check->setParent(checks);
    checksLayout->addWidget(check);
  }
  checksLayout->addStretch(1);
  lcd->addWidget(checks, 2, 1);
  system->addWidget(lcdGroup_);

  auto* other = new QGridLayout;
  unitLabel_ = new QLabel(systemGroup_);
  kmhRadio_ = MakeRadio(systemGroup_, "kmhRadio", &SetupData::usDisplaySpeedUnit, 0);
  mphRadio_ = MakeRadio(systemGroup_, "mphRadio", &SetupData::usDisplaySpeedUnit, 1);
  languageLabel_ = new QLabel(systemGroup_);
  languageRadio0_ = new QRadioButton(systemGroup_);
  languageRadio0_->setObjectName(QStringLiteral("languageRadio0"));
  languageRadio1_ = new QRadioButton(systemGroup_);
  languageRadio1_->setObjectName(QStringLiteral("languageRadio1"));
  other->addWidget(unitLabel_, 0, 0);
  other->addWidget(RadioRow(systemGroup_, {kmhRadio_, mphRadio_}), 0, 1);
  other->addWidget(languageLabel_, 1, 0);
  other->addWidget(RadioRow(systemGroup_, {languageRadio0_, languageRadio1_}), 1, 1);
  system->addLayout(other);
  page->addWidget(systemGroup_);
  page->addStretch(1);

  connect(speakerEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (record_) record_->usSoundVolume = ClampVolume(static_cast<int>(EditInt(text)));
  });
  connect(micEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (record_) record_->usMicVolume = ClampVolume(static_cast<int>(EditInt(text)));
  });
  connect(languageRadio0_, &QRadioButton::clicked, this, [this] {
    if (record_) ApplyLanguageRadio(*record_, 0);
  });
  connect(languageRadio1_, &QRadioButton::clicked, this, [this] {
    if (record_) ApplyLanguageRadio(*record_, 1);
  });
}

QString CTabFourEngDlg::LanguageCaption(int code) const {
  const std::optional<int> id = LanguageNameStringId(code);
  return id ? Text(*id) : QString();
}

void CTabFourEngDlg::LoadCaptions() {
  volumeGroup_->setTitle(Text(668));
  speakerLabel_->setText(Text(669));
  micLabel_->setText(Text(670));
  voiceGroup_->setTitle(Text(671));
  eventVoiceCheck_->setText(Text(672));
  fcwVoiceCheck_->setText(Text(694));
  ldwVoiceCheck_->setText(Text(695));
  fcdaVoiceCheck_->setText(Text(696));
  systemGroup_->setTitle(Text(673));
  lcdGroup_->setTitle(Text(674));
  viewLabel_->setText(Text(675));
  frontRadio_->setText(Text(676));
  rearRadio_->setText(Text(677));
  pipRadio_->setText(Text(678));
  screenSaveLabel_->setText(Text(679));
  alwaysOnRadio_->setText(Text(680));
  thirtySecRadio_->setText(Text(681));
  lcdDisplayLabel_->setText(Text(682));
  speedCheck_->setText(Text(683));
  adasCheck_->setText(Text(684));
  horizonCheck_->setText(Text(685));
  unitLabel_->setText(Text(686));
  kmhRadio_->setText(Text(697));
  mphRadio_->setText(Text(698));
  languageLabel_->setText(Text(687));
  languageRadio0_->setText(LanguageCaption(kLanguageJapanese));
  languageRadio1_->setText(LanguageCaption(kLanguageEnglish));
}

void CTabFourEngDlg::LoadControls() {
  const SetupData& data = *record_;
  speakerEdit_->setText(QString::number(data.usSoundVolume));
  micEdit_->setText(QString::number(data.usMicVolume));
  eventVoiceCheck_->setChecked(data.usEvt_SndVoice == 1);
  fcwVoiceCheck_->setChecked(data.usFcw_SndVoice == 1);
  ldwVoiceCheck_->setChecked(data.usLdw_SndVoice == 1);
  fcdaVoiceCheck_->setChecked(data.usBnw_SndVoice == 1);
  CheckRadio({frontRadio_, rearRadio_, pipRadio_}, data.usDisplayMethod);
  CheckRadio({alwaysOnRadio_, thirtySecRadio_}, data.usLcdBacklightTime);
  speedCheck_->setChecked(data.usDisplaySpeedOnOff == 1);
  adasCheck_->setChecked(data.usDisplayTTCOnOff == 1);
  horizonCheck_->setChecked(data.usDisplayHorizenOnOff == 1);
  CheckRadio({kmhRadio_, mphRadio_}, data.usDisplaySpeedUnit);
  CheckRadio({languageRadio0_, languageRadio1_}, LanguageRadioIndex(data.usMenuLanguage));
}

}  // namespace lumora
