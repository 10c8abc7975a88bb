#include "settings/qt/CTabThreeEngDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "settings/DvrPageRules.h"

namespace lumora {

CTabThreeEngDlg::CTabThreeEngDlg(QWidget* parent) : CSetupPage(parent) {
  auto* page = new QVBoxLayout(this);

  commonGroup_ = new QGroupBox(this);
  auto* common = new QGridLayout(commonGroup_);
  continuousCheck_ = new QCheckBox(commonGroup_);
  continuousCheck_->setObjectName(QStringLiteral("continuousCheck"));
  voiceCheck_ = new QCheckBox(commonGroup_);
  voiceCheck_->setObjectName(QStringLiteral("voiceCheck"));
  impactLabel_ = new QLabel(commonGroup_);
  impactList_ = new QComboBox(commonGroup_);
  impactList_->setObjectName(QStringLiteral("impactList"));
  common->addWidget(continuousCheck_, 0, 0);
  common->addWidget(voiceCheck_, 0, 1);
  common->addWidget(impactLabel_, 1, 0);
  common->addWidget(impactList_, 1, 1);
  page->addWidget(commonGroup_);

  cctvGroup_ = new QGroupBox(this);
  auto* cctv = new QGridLayout(cctvGroup_);
  cctvCheck_ = new QCheckBox(cctvGroup_);
  cctvCheck_->setObjectName(QStringLiteral("cctvCheck"));
  voltageLabel_ = new QLabel(cctvGroup_);
  voltageList_ = new QComboBox(cctvGroup_);
  voltageList_->setObjectName(QStringLiteral("voltageList"));
  // The motion level has no control on this camera; its caption stays hidden.
  motionLabel_ = new QLabel(cctvGroup_);
  motionLabel_->hide();
  cctv->addWidget(cctvCheck_, 0, 0, 1, 2);
  cctv->addWidget(voltageLabel_, 1, 0);
  cctv->addWidget(voltageList_, 1, 1);
  page->addWidget(cctvGroup_);

  resolutionGroup_ = new QGroupBox(this);
  auto* resolution = new QHBoxLayout(resolutionGroup_);
  fullHdRadio_ = new QRadioButton(QStringLiteral("FULL HD"), resolutionGroup_);
  fullHdRadio_->setObjectName(QStringLiteral("fullHdRadio"));
  hdRadio_ = new QRadioButton(QStringLiteral("HD"), resolutionGroup_);
  hdRadio_->setObjectName(QStringLiteral("hdRadio"));
  resolution->addWidget(fullHdRadio_);
  resolution->addWidget(hdRadio_);
  resolution->addStretch(1);
  page->addWidget(resolutionGroup_);

  gSensorGroup_ = new QGroupBox(this);
  auto* gSensor = new QGridLayout(gSensorGroup_);
  const char* axes[3] = {"X", "Y", "Z"};
  for (int axis = 0; axis < 3; ++axis) {
    auto* slider = new QSlider(Qt::Horizontal, gSensorGroup_);
    slider->setObjectName(QStringLiteral("trigger%1Slider").arg(QLatin1String(axes[axis])));
    slider->setRange(10, 200);
    slider->setTickInterval(10);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setPageStep(10);
    slider->setSingleStep(10);
    auto* box = new QLineEdit(gSensorGroup_);
    box->setObjectName(QStringLiteral("trigger%1Box").arg(QLatin1String(axes[axis])));
    box->setReadOnly(true);
    box->setMaximumWidth(50);
    gSensor->addWidget(new QLabel(QLatin1String(axes[axis]), gSensorGroup_), axis, 0);
    gSensor->addWidget(slider, axis, 1);
    gSensor->addWidget(box, axis, 2);
    gSensor->addWidget(new QLabel(QStringLiteral("G"), gSensorGroup_), axis, 3);
    sliders_[axis] = slider;
    gBoxes_[axis] = box;
    connect(slider, &QSlider::valueChanged, this,
            [this, axis](int position) { OnTriggerMoved(axis, position); });
    connect(slider, &QSlider::sliderReleased, this,
            [this, axis, slider] { OnTriggerMoved(axis, slider->value()); });
  }
  page->addWidget(gSensorGroup_);
  page->addStretch(1);

  connect(continuousCheck_, &QCheckBox::clicked, this, [this] {
    if (record_) record_->usInfiniteEnable = ToggleOnOffCheck(record_->usInfiniteEnable);
  });
  connect(voiceCheck_, &QCheckBox::clicked, this, [this] {
    if (record_) record_->usMicInEnable = ToggleOnOffCheck(record_->usMicInEnable);
  });
  connect(cctvCheck_, &QCheckBox::clicked, this, [this] {
    if (record_) record_->usEnableParking = ToggleOnOffCheck(record_->usEnableParking);
  });
  connect(impactList_, &QComboBox::activated, this, [this](int index) {
    if (!record_) return;
    ApplyImpactLevel(*record_, index);
    LoadControls();
  });
  connect(voltageList_, &QComboBox::activated, this, [this](int index) {
    if (record_ && index >= 0)
      record_->usPoweroffVolt = VoltageFromText(voltageList_->itemText(index).toStdString());
  });
  connect(fullHdRadio_, &QRadioButton::clicked, this, [this] {
    if (record_) record_->usResolution = 0;
  });
  connect(hdRadio_, &QRadioButton::clicked, this, [this] {
    if (record_) record_->usResolution = 1;
  });
}

void CTabThreeEngDlg::LoadCaptions() {
  commonGroup_->setTitle(Text(660));
  continuousCheck_->setText(Text(661));
  voiceCheck_->setText(Text(662));
  impactLabel_->setText(Text(701));
  cctvGroup_->setTitle(Text(664));
  cctvCheck_->setText(Text(729));
  voltageLabel_->setText(Text(665));
  motionLabel_->setText(Text(666));
  resolutionGroup_->setTitle(Text(667));
  gSensorGroup_->setTitle(Text(663));
  const int selected = impactList_->currentIndex();
  impactList_->clear();
  impactList_->addItems({Text(703), Text(704), Text(702)});
  impactList_->setCurrentIndex(selected);
}

std::uint16_t* CTabThreeEngDlg::Trigger(int axis) const {
  switch (axis) {
    case 0:
      return &record_->usAccTriggerX;
    case 1:
      return &record_->usAccTriggerY;
    default:
      return &record_->usAccTriggerZ;
  }
}

void CTabThreeEngDlg::FillVoltageList() {
  voltageList_->clear();
  for (const std::string& text : VoltageListTexts(record_->usInstall_CarType))
    voltageList_->addItem(QString::fromStdString(text));
}

void CTabThreeEngDlg::LoadControls() {
  SetupData& data = *record_;
  continuousCheck_->setChecked(data.usInfiniteEnable == 1);
  voiceCheck_->setChecked(data.usMicInEnable == 1);
  cctvCheck_->setChecked(data.usEnableParking == 1);
  impactList_->setCurrentIndex(LoadImpactLevel(data));
  FillVoltageList();
  const VoltageSelection voltage = SelectVoltage(data.usPoweroffVolt, data.usInstall_CarType);
  voltageList_->setCurrentIndex(voltage.index);
  data.usPoweroffVolt = voltage.value;
  CheckRadio({fullHdRadio_, hdRadio_}, data.usResolution);
  for (int axis = 0; axis < 3; ++axis) {
    const std::uint16_t value = *Trigger(axis);
    sliders_[axis]->blockSignals(true);
    sliders_[axis]->setValue(value);
    sliders_[axis]->blockSignals(false);
    gBoxes_[axis]->setText(QString::fromStdString(TriggerGText(value)));
  }
}

void CTabThreeEngDlg::OnTriggerMoved(int axis, int position) {
  if (!record_) return;
  const std::uint16_t rounded = RoundTriggerPosition(position);
  *Trigger(axis) = rounded;
  if (sliders_[axis]->value() != rounded && !sliders_[axis]->isSliderDown()) {
    sliders_[axis]->blockSignals(true);
    sliders_[axis]->setValue(rounded);
    sliders_[axis]->blockSignals(false);
  }
  gBoxes_[axis]->setText(QString::fromStdString(TriggerGText(rounded)));
}

}  // namespace lumora
