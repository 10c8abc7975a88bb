#include "settings/qt/CTabOneEngDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "settings/InstallPageRules.h"

namespace lumora {

QRadioButton* CTabOneEngDlg::MakeRadio(const char* name, std::uint16_t SetupData::*field,
                                       std::uint16_t value) {
  auto* radio = new QRadioButton(this);
  radio->setObjectName(QLatin1String(name));
  connect(radio, &QRadioButton::clicked, this, [this, field, value] {
    if (record_) record_->*field = value;
  });
  return radio;
}

CTabOneEngDlg::CTabOneEngDlg(QWidget* parent) : CSetupPage(parent) {
  auto* page = new QVBoxLayout(this);

  auto* top = new QGridLayout;
  typeLabel_ = new QLabel(this);
  for (int i = 0; i < 6; ++i) {
    auto* radio = new QRadioButton(this);
    radio->setObjectName(QStringLiteral("vehicleRadio%1").arg(i));
    connect(radio, &QRadioButton::clicked, this, [this, i] {
      if (!record_) return;
      ApplyVehiclePreset(*record_, i);
      ShowSizes();
    });
    typeRadios_[i] = radio;
  }
  // Six vehicle radios in two rows of three.
  auto* types = new QWidget(this);
  auto* typesLayout = new QGridLayout(types);
  typesLayout->setContentsMargins(0, 0, 0, 0);
  for (int i = 0; i < 6; ++i) {
    typeRadios_[i]->setParent(types);
    typesLayout->addWidget(typeRadios_[i], i / 3, i % 3);
  }
  attachedLabel_ = new QLabel(this);
  for (int i = 0; i < 3; ++i)
    attachedRadios_[i] =
        MakeRadio(qPrintable(QStringLiteral("attachedRadio%1").arg(i)),
                  &SetupData::usInstall_AttachedPos, static_cast<std::uint16_t>(i));
  top->addWidget(typeLabel_, 0, 0, Qt::AlignTop);
  top->addWidget(types, 0, 1);
  top->addWidget(attachedLabel_, 1, 0);
  top->addWidget(RadioRow(this, {attachedRadios_[0], attachedRadios_[1], attachedRadios_[2]}), 1,
                 1);
  page->addLayout(top);

  positionGroup_ = new QGroupBox(this);
  auto* position = new QGridLayout(positionGroup_);
  heightLabel_ = new QLabel(positionGroup_);
  heightEdit_ = new QLineEdit(positionGroup_);
  heightEdit_->setObjectName(QStringLiteral("heightEdit"));
  widthLabel_ = new QLabel(positionGroup_);
  widthEdit_ = new QLineEdit(positionGroup_);
  widthEdit_->setObjectName(QStringLiteral("widthEdit"));
  offsetLabel_ = new QLabel(positionGroup_);
  offsetEdit_ = new QLineEdit(positionGroup_);
  offsetEdit_->setObjectName(QStringLiteral("offsetEdit"));
  position->addWidget(heightLabel_, 0, 0);
  position->addWidget(heightEdit_, 0, 1);
  position->addWidget(new QLabel(QStringLiteral("m"), positionGroup_), 0, 2);
  position->addWidget(widthLabel_, 1, 0);
  position->addWidget(widthEdit_, 1, 1);
  position->addWidget(new QLabel(QStringLiteral("m"), positionGroup_), 1, 2);
  position->addWidget(offsetLabel_, 2, 0);
  position->addWidget(offsetEdit_, 2, 1);
  position->addWidget(new QLabel(QStringLiteral("cm"), positionGroup_), 2, 2);
  page->addWidget(positionGroup_);

  otherGroup_ = new QGroupBox(this);
  auto* other = new QGridLayout(otherGroup_);
  turnLabel_ = new QLabel(otherGroup_);
  brakeLabel_ = new QLabel(otherGroup_);
  pulseLabel_ = new QLabel(otherGroup_);
  pulseEdit_ = new QLineEdit(otherGroup_);
  pulseEdit_->setObjectName(QStringLiteral("pulseEdit"));
  priorityLabel_ = new QLabel(otherGroup_);
  for (int i = 0; i < 2; ++i) {
    turnRadios_[i] = MakeRadio(qPrintable(QStringLiteral("turnRadio%1").arg(i)),
                               &SetupData::usIoTurnActive, static_cast<std::uint16_t>(i));
    brakeRadios_[i] = MakeRadio(qPrintable(QStringLiteral("brakeRadio%1").arg(i)),
                                &SetupData::usIoBrakeActive, static_cast<std::uint16_t>(i));
  }
  for (int i = 0; i < 3; ++i)
    priorityRadios_[i] = MakeRadio(qPrintable(QStringLiteral("priorityRadio%1").arg(i)),
                                   &SetupData::usVssPriority, static_cast<std::uint16_t>(i));
  turnRadios_[0]->setText(QStringLiteral("LOW"));
  turnRadios_[1]->setText(QStringLiteral("HIGH"));
  brakeRadios_[0]->setText(QStringLiteral("LOW"));
  brakeRadios_[1]->setText(QStringLiteral("HIGH"));
  priorityRadios_[0]->setText(QStringLiteral("GPS"));
  priorityRadios_[1]->setText(QStringLiteral("Pulse"));
  priorityRadios_[2]->setText(QStringLiteral("GPS to pulse logic"));
  other->addWidget(turnLabel_, 0, 0);
  other->addWidget(RadioRow(otherGroup_, {turnRadios_[0], turnRadios_[1]}), 0, 1);
  other->addWidget(brakeLabel_, 1, 0);
  other->addWidget(RadioRow(otherGroup_, {brakeRadios_[0], brakeRadios_[1]}), 1, 1);
  other->addWidget(pulseLabel_, 2, 0);
  other->addWidget(pulseEdit_, 2, 1);
  other->addWidget(priorityLabel_, 3, 0);
  other->addWidget(
      RadioRow(otherGroup_, {priorityRadios_[0], priorityRadios_[1], priorityRadios_[2]}), 3, 1);
  page->addWidget(otherGroup_);
  page->addStretch(1);

  connect(heightEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (record_) record_->usInstall_CamHeight = CameraHeightFromMetres(EditDouble(text));
  });
  connect(widthEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (record_) record_->usInstall_CarWidth = VehicleWidthFromMetres(EditDouble(text));
  });
  connect(offsetEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (record_) record_->sDevicePosX = DevicePositionFromCentimetres(EditDouble(text));
  });
  connect(pulseEdit_, &QLineEdit::textEdited, this, [this](const QString& text) {
    if (record_) record_->usoVssPulseA = VehiclePulseFromTyped(EditInt(text));
  });
}

void CTabOneEngDlg::LoadCaptions() {
  typeLabel_->setText(Text(631));
  for (int i = 0; i < 6; ++i) typeRadios_[i]->setText(Text(kVehiclePresets[i].captionStringId));
  attachedLabel_->setText(Text(638));
  attachedRadios_[0]->setText(Text(639));
  attachedRadios_[1]->setText(Text(640));
  attachedRadios_[2]->setText(Text(641));
  positionGroup_->setTitle(Text(642));
  heightLabel_->setText(Text(643));
  widthLabel_->setText(Text(644));
  offsetLabel_->setText(Text(645));
  otherGroup_->setTitle(Text(724));
  turnLabel_->setText(Text(725));
  brakeLabel_->setText(Text(726));
  pulseLabel_->setText(Text(727));
  priorityLabel_->setText(Text(728));
}

void CTabOneEngDlg::ShowSizes() {
  heightEdit_->setText(QString::number(CentimetresToMetres(record_->usInstall_CamHeight)));
  widthEdit_->setText(QString::number(CentimetresToMetres(record_->usInstall_CarWidth)));
}

void CTabOneEngDlg::LoadControls() {
  const SetupData& data = *record_;
  CheckRadio({typeRadios_.begin(), typeRadios_.end()}, VehicleRadioIndex(data.usInstall_CarType));
  CheckRadio({attachedRadios_.begin(), attachedRadios_.end()}, data.usInstall_AttachedPos);
  ShowSizes();
  offsetEdit_->setText(QString::number(DevicePositionCentimetres(data.sDevicePosX)));
  CheckRadio({turnRadios_.begin(), turnRadios_.end()}, data.usIoTurnActive);
  CheckRadio({brakeRadios_.begin(), brakeRadios_.end()}, data.usIoBrakeActive);
  pulseEdit_->setText(QString::number(data.usoVssPulseA));
  CheckRadio({priorityRadios_.begin(), priorityRadios_.end()}, data.usVssPriority);
}

}  // namespace lumora
