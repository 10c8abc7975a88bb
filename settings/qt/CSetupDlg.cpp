#include "settings/qt/CSetupDlg.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSlider>
#include <QVBoxLayout>

#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "settings/SettingsCloseRules.h"

namespace lumora {

LegacyRadioChoices& HeldLegacyRadioChoices() {
  static LegacyRadioChoices choices;
  return choices;
}

QSlider* CSetupDlg::MakeSlider(const char* name, int maximum, int initial) {
  auto* slider = new QSlider(Qt::Horizontal, this);
  slider->setObjectName(QLatin1String(name));
  slider->setRange(0, maximum);
  slider->setValue(initial);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(1);
  return slider;
}

QRadioButton* CSetupDlg::MakeRadio(const QString& text, const char* name,
                                   std::uint32_t LegacyRadioChoices::*field, std::uint32_t value) {
  auto* radio = new QRadioButton(text, this);
  radio->setObjectName(QLatin1String(name));
  radio->setChecked(HeldLegacyRadioChoices().*field == value);
  connect(radio, &QRadioButton::clicked, this,
          [field, value] { HeldLegacyRadioChoices().*field = value; });
  return radio;
}

CSetupDlg::CSetupDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("환경 설정"));
  setModal(false);
  auto* page = new QVBoxLayout(this);

  auto radioGroup = [this, page](const QString& title,
                                 std::initializer_list<QRadioButton*> radios) {
    auto* group = new QGroupBox(title, this);
    auto* row = new QHBoxLayout(group);
    for (QRadioButton* radio : radios) {
      radio->setParent(group);
      row->addWidget(radio);
    }
    row->addStretch(1);
    page->addWidget(group);
  };
  using C = LegacyRadioChoices;
  radioGroup(QStringLiteral("프레임 레이트"),
             {MakeRadio(QStringLiteral("가변"), "frameVariable", &C::frameRate, 1),
              MakeRadio(QStringLiteral("고정 15프레임"), "frameFixed15", &C::frameRate, 2),
              MakeRadio(QStringLiteral("고정 30프레임"), "frameFixed30", &C::frameRate, 3)});

  auto* picture = new QGroupBox(QStringLiteral("영상 설정"), this);
  auto* pictureGrid = new QGridLayout(picture);
  qualitySlider_ = MakeSlider("qualitySlider", 2, 1);
  brightnessSlider_ = MakeSlider("brightnessSlider", 6, 3);
  contrastSlider_ = MakeSlider("contrastSlider", 6, 3);
  sharpnessSlider_ = MakeSlider("sharpnessSlider", 6, 3);
  const std::pair<const char*, QSlider*> rows[] = {{"화질", qualitySlider_},
                                                   {"밝기", brightnessSlider_},
                                                   {"대비", contrastSlider_},
                                                   {"선명도", sharpnessSlider_}};
  int r = 0;
  for (const auto& [label, slider] : rows) {
    pictureGrid->addWidget(new QLabel(QString::fromUtf8(label), picture), r, 0);
    slider->setParent(picture);
    pictureGrid->addWidget(slider, r, 1);
    ++r;
  }
  page->addWidget(picture);

  radioGroup(QStringLiteral("음성 녹음"),
             {MakeRadio(QStringLiteral("켜기"), "voiceOn", &C::voiceRecording, 1),
              MakeRadio(QStringLiteral("끄기"), "voiceOff", &C::voiceRecording, 2)});
  radioGroup(QStringLiteral("주차 녹화 화질"),
             {MakeRadio(QStringLiteral("고화질"), "parkingHigh", &C::parkingQuality, 1),
              MakeRadio(QStringLiteral("저화질"), "parkingLow", &C::parkingQuality, 2)});
  radioGroup(QStringLiteral("이벤트 감지"),
             {MakeRadio(QStringLiteral("충격 감지"), "eventImpact", &C::eventDetection, 1),
              MakeRadio(QStringLiteral("움직임 감지"), "eventMotion", &C::eventDetection, 2)});

  auto* sense = new QGroupBox(QStringLiteral("감도"), this);
  auto* senseGrid = new QGridLayout(sense);
  impactSlider_ = MakeSlider("impactSlider", 9, 5);
  motionSlider_ = MakeSlider("motionSlider", 2, 1);
  impactSlider_->setParent(sense);
  motionSlider_->setParent(sense);
  senseGrid->addWidget(new QLabel(QStringLiteral("충격 감도"), sense), 0, 0);
  senseGrid->addWidget(impactSlider_, 0, 1);
  senseGrid->addWidget(new QLabel(QStringLiteral("움직임 감도"), sense), 1, 0);
  senseGrid->addWidget(motionSlider_, 1, 1);
  page->addWidget(sense);

  auto* buttons = new QHBoxLayout;
  auto* save = new QPushButton(QStringLiteral("저장"), this);
  save->setObjectName(QStringLiteral("saveButton"));
  auto* reset = new QPushButton(QStringLiteral("초기화"), this);
  reset->setObjectName(QStringLiteral("resetButton"));
  buttons->addStretch(1);
  buttons->addWidget(save);
  buttons->addWidget(reset);
  page->addLayout(buttons);
  connect(save, &QPushButton::clicked, this, &CSetupDlg::Save);
  connect(reset, &QPushButton::clicked, this, &CSetupDlg::Reset);
}

void CSetupDlg::ShowCentred() {
  adjustSize();
  QRect area;
  if (QWidget* owner = parentWidget())
    area = owner->window()->geometry();
  else if (QScreen* screen = this->screen())
    area = screen->availableGeometry();
  if (area.isValid()) move(area.center() - rect().center());
  show();
  raise();
}

LegacySetupValues CSetupDlg::CurrentValues() const {
  const LegacyRadioChoices& held = HeldLegacyRadioChoices();
  LegacySetupValues values;
  values.frameRate = held.frameRate;
  values.voiceRecording = held.voiceRecording;
  values.parkingQuality = held.parkingQuality;
  values.eventDetection = held.eventDetection;
  values.pictureQuality = static_cast<std::uint32_t>(qualitySlider_->value());
  values.brightness = static_cast<std::uint32_t>(brightnessSlider_->value());
  values.contrast = static_cast<std::uint32_t>(contrastSlider_->value());
  values.sharpness = static_cast<std::uint32_t>(sharpnessSlider_->value());
  return values;
}

void CSetupDlg::Save() {
  lastWriteOk_ = WriteLegacySetupFile(cardRoot_, CurrentValues());
  hide();
  TellIfNotWritten();
}

void CSetupDlg::Reset() {
  lastWriteOk_ = WriteLegacySetupFile(cardRoot_, LegacyResetValues());
  hide();
  TellIfNotWritten();
}

void CSetupDlg::TellIfNotWritten() {
  // The old file stays as it was (the write goes through a temporary file);
  // the user learns that nothing was saved.
  if (lastWriteOk_) return;
  StringTable& strings = StringTable::Instance();
  ShowMessageBox(parentWidget(), strings.Load(kSaveFailedStringId),
                 strings.Load(kMessageCaptionStringId), kMbOk, kMbIconError);
}

}  // namespace lumora
