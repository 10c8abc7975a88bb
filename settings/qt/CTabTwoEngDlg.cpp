#include "settings/qt/CTabTwoEngDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "settings/AdasPageRules.h"

namespace lumora {

CTabTwoEngDlg::CTabTwoEngDlg(QWidget* parent) : CSetupPage(parent) {
  auto* page = new QVBoxLayout(this);

  onOffGroup_ = new QGroupBox(this);
  auto* onOff = new QHBoxLayout(onOffGroup_);
  fcwCheck_ = new QCheckBox(onOffGroup_);
  ldwCheck_ = new QCheckBox(onOffGroup_);
  fcdaCheck_ = new QCheckBox(onOffGroup_);
  // The pedestrian switch exists in the page but this camera has no
  // pedestrian detection: it stays hidden.
  pdCheck_ = new QCheckBox(onOffGroup_);
  pdCheck_->hide();
  fcwCheck_->setObjectName(QStringLiteral("fcwCheck"));
  ldwCheck_->setObjectName(QStringLiteral("ldwCheck"));
  fcdaCheck_->setObjectName(QStringLiteral("fcdaCheck"));
  onOff->addWidget(fcwCheck_);
  onOff->addWidget(ldwCheck_);
  onOff->addWidget(fcdaCheck_);
  onOff->addWidget(pdCheck_);
  page->addWidget(onOffGroup_);

  fcwGroup_ = new QGroupBox(this);
  auto* fcw = new QGridLayout(fcwGroup_);
  fcwSpeedLabel_ = new QLabel(fcwGroup_);
  fcwSpeedEdit_ = new QLineEdit(fcwGroup_);
  fcwSpeedEdit_->setObjectName(QStringLiteral("fcwSpeedEdit"));
  fcwUnitLabel_ = new QLabel(fcwGroup_);
  fcwUnitLabel_->setObjectName(QStringLiteral("fcwUnitLabel"));
  // The older FCW level caption is kept for the caption order; the HMW
  // level below replaced it.
  fcwLevelLabel_ = new QLabel(fcwGroup_);
  fcwLevelLabel_->hide();
  hmwLevelLabel_ = new QLabel(fcwGroup_);
  hmwLevelList_ = new QComboBox(fcwGroup_);
  hmwLevelList_->setObjectName(QStringLiteral("hmwLevelList"));
  hmwSecondsBox_ = new QLineEdit(fcwGroup_);
  hmwSecondsBox_->setObjectName(QStringLiteral("hmwSecondsBox"));
  hmwSecondsBox_->setReadOnly(true);
  fcw->addWidget(fcwSpeedLabel_, 0, 0);
  fcw->addWidget(fcwSpeedEdit_, 0, 1);
  fcw->addWidget(fcwUnitLabel_, 0, 2);
  fcw->addWidget(hmwLevelLabel_, 1, 0);
  fcw->addWidget(hmwLevelList_, 1, 1);
  fcw->addWidget(hmwSecondsBox_, 1, 2);
  page->addWidget(fcwGroup_);

  ldwGroup_ = new QGroupBox(this);
  auto* ldw = new QGridLayout(ldwGroup_);
  ldwSpeedLabel_ = new QLabel(ldwGroup_);
  ldwSpeedEdit_ = new QLineEdit(ldwGroup_);
  ldwSpeedEdit_->setObjectName(QStringLiteral("ldwSpeedEdit"));
  ldwUnitLabel_ = new QLabel(ldwGroup_);
  ldwUnitLabel_->setObjectName(QStringLiteral("ldwUnitLabel"));
  stepLLabel_ = new QLabel(ldwGroup_);
  stepLEdit_ = new QLineEdit(ldwGroup_);
  stepLEdit_->setObjectName(QStringLiteral("stepLEdit"));
  stepRLabel_ = new QLabel(ldwGroup_);
  stepREdit_ = new QLineEdit(ldwGroup_);
  stepREdit_->setObjectName(QStringLiteral("stepREdit"));
  ldw->addWidget(ldwSpeedLabel_, 0, 0);
  ldw->addWidget(ldwSpeedEdit_, 0, 1);
  ldw->addWidget(ldwUnitLabel_, 0, 2);
  ldw->addWidget(stepLLabel_, 1, 0);
  ldw->addWidget(stepLEdit_, 1, 1);
  ldw->addWidget(stepRLabel_, 2, 0);
  ldw->addWidget(stepREdit_, 2, 1);
  page->addWidget(ldwGroup_);

  fcdaGroup_ = new QGroupBox(this);
  auto* fcda = new QHBoxLayout(fcdaGroup_);
  alarmLabel_ = new QLabel(fcdaGroup_);
  alarmList_ = new QComboBox(fcdaGroup_);
  alarmList_->setObjectName(QStringLiteral("alarmList"));
  for (int i = 0; i <= 5; ++i) alarmList_->addItem(QString::number(i));
  secLabel_ = new QLabel(fcdaGroup_);
  fcda->addWidget(alarmLabel_);
  fcda->addWidget(alarmList_);
  fcda->addWidget(secLabel_);
  fcda->addStretch(1);
  page->addWidget(fcdaGroup_);
  page->addStretch(1);

  connect(fcwCheck_, &QCheckBox::clicked, this, [this] {
    if (record_) record_->usFcw_On = ToggleAdasCheck(record_->usFcw_On);
  });
  connect(ldwCheck_, &QCheckBox::clicked, this, [this] {
    if (record_) record_->usLdw_On = ToggleAdasCheck(record_->usLdw_On);
  });
  connect(fcdaCheck_, &QCheckBox::clicked, this, [this] {
    if (record_) record_->usBnw_On = ToggleAdasCheck(record_->usBnw_On);
  });
  connect(fcwSpeedEdit_, &QLineEdit::textEdited, this, &CTabTwoEngDlg::OnFcwSpeedEdited);
  connect(ldwSpeedEdit_, &QLineEdit::textEdited, this, &CTabTwoEngDlg::OnLdwSpeedEdited);
  connect(hmwLevelList_, &QComboBox::activated, this, &CTabTwoEngDlg::OnLevelChanged);
  connect(stepLEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (record_) record_->sLdw_StepL = ClampWarningStep(static_cast<int>(EditInt(text)));
  });
  connect(stepREdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (record_) record_->sLdw_StepR = ClampWarningStep(static_cast<int>(EditInt(text)));
  });
  connect(alarmList_, &QComboBox::activated, this, [this](int index) {
    if (record_) record_->usBnw_WaitOut = AlarmTimingFromIndex(index);
  });
}

void CTabTwoEngDlg::LoadCaptions() {
  onOffGroup_->setTitle(Text(646));
  fcwCheck_->setText(Text(647));
  ldwCheck_->setText(Text(648));
  fcdaCheck_->setText(Text(649));
  pdCheck_->setText(Text(705));
  fcwGroup_->setTitle(Text(650));
  fcwSpeedLabel_->setText(Text(651));
  fcwLevelLabel_->setText(Text(652));
  hmwLevelLabel_->setText(Text(706));
  ldwGroup_->setTitle(Text(656));
  ldwSpeedLabel_->setText(Text(657));
  stepLLabel_->setText(Text(658));
  stepRLabel_->setText(Text(659));
  fcdaGroup_->setTitle(Text(707));
  alarmLabel_->setText(Text(708));
  secLabel_->setText(Text(709));
  const int selected = hmwLevelList_->currentIndex();
  hmwLevelList_->clear();
  hmwLevelList_->addItems({Text(703), Text(704), Text(702)});
  hmwLevelList_->setCurrentIndex(selected);
}

void CTabTwoEngDlg::LoadControls() {
  SetupData& data = *record_;
  fcwCheck_->setChecked(data.usFcw_On != 0);
  ldwCheck_->setChecked(data.usLdw_On != 0);
  fcdaCheck_->setChecked(data.usBnw_On != 0);
  const int unit = data.usDisplaySpeedUnit;
  const QString unitText = QString::fromStdString(SpeedUnitLabel(unit));
  fcwUnitLabel_->setText(unitText);
  ldwUnitLabel_->setText(unitText);
  fcwSpeedEdit_->setText(
      QString::number(SpeedEditDisplay(SpeedEdit::kFcw, data.usFcw_SpeedHi, unit)));
  ldwSpeedEdit_->setText(
      QString::number(SpeedEditDisplay(SpeedEdit::kLdw, data.usLdw_SpeedHi, unit)));
  hmwLevelList_->setCurrentIndex(LoadHmwLevel(data));
  ShowSeconds();
  stepLEdit_->setText(QString::number(data.sLdw_StepL));
  stepREdit_->setText(QString::number(data.sLdw_StepR));
  alarmList_->setCurrentIndex(AlarmTimingIndex(data.usBnw_WaitOut));
}

void CTabTwoEngDlg::OnFcwSpeedEdited(const QString& text) {
  if (record_) ApplySpeedEdit(*record_, SpeedEdit::kFcw, static_cast<int>(EditInt(text)));
}

void CTabTwoEngDlg::OnLdwSpeedEdited(const QString& text) {
  if (record_) ApplySpeedEdit(*record_, SpeedEdit::kLdw, static_cast<int>(EditInt(text)));
}

void CTabTwoEngDlg::OnLevelChanged(int index) {
  if (!record_) return;
  ApplyHmwLevel(*record_, index);
  ShowSeconds();
}

void CTabTwoEngDlg::ShowSeconds() {
  if (record_)
    hmwSecondsBox_->setText(QString::fromStdString(HmwSecondsText(record_->usFcw1_TTCSense_Ms)));
}

}  // namespace lumora
