// Each settings page: loaded from a record, every control changed by
// synthesised input, the record checked afterwards.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

#include "res/StringTable.h"
#include "settings/qt/CTabFiveDlg.h"
#include "settings/qt/CTabFourEngDlg.h"
#include "settings/qt/CTabOneEngDlg.h"
#include "settings/qt/CTabThreeEngDlg.h"
#include "settings/qt/CTabTwoEngDlg.h"
#include "settings/qt/SystemTimeZone.h"
#include "tests/settings_qt/SettingsTestCard.h"

namespace lumora {
namespace {

using testing::Choose;
using testing::TypeInto;

template <typename T>
T* Find(QWidget& page, const char* name) {
  T* widget = page.findChild<T*>(QLatin1String(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// A click on the box or round indicator at the left of the button.
void Click(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

bool HasLabel(QWidget& page, const QString& text) {
  for (QLabel* label : page.findChildren<QLabel*>())
    if (label->text() == text) return true;
  for (QGroupBox* group : page.findChildren<QGroupBox*>())
    if (group->title() == text) return true;
  for (QAbstractButton* button : page.findChildren<QAbstractButton*>())
    if (button->text() == text) return true;
  return false;
}

SetupData AdasRecord() {
  SetupData data;
  data.usFcw_On = 1;
  data.usLdw_On = 0;
  data.usBnw_On = 7;
  data.usFcw_SpeedHi = 30;
  data.usLdw_SpeedHi = 60;
  data.usFcw_TTCSense = 2;
  data.usFcw1_TTCSense_Ms = 5000;
  data.sLdw_StepL = 4;
  data.sLdw_StepR = 6;
  data.usBnw_WaitOut = 2000;
  return data;
}

TEST(AdasPage, LoadsFromTheRecordAndWritesEveryControl) {
  SetupData data = AdasRecord();
  CTabTwoEngDlg page;
  page.SetLanguage(kLangEnglish);
  page.show();
  page.Load(&data);
  EXPECT_TRUE(Find<QCheckBox>(page, "fcwCheck")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(page, "ldwCheck")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>(page, "fcdaCheck")->isChecked());
  EXPECT_EQ(Find<QLineEdit>(page, "fcwSpeedEdit")->text(), "30");
  EXPECT_EQ(Find<QLineEdit>(page, "ldwSpeedEdit")->text(), "60");
  EXPECT_EQ(Find<QLabel>(page, "fcwUnitLabel")->text(), "km/h");
  EXPECT_EQ(Find<QComboBox>(page, "hmwLevelList")->currentIndex(), 2);
  EXPECT_EQ(Find<QComboBox>(page, "hmwLevelList")->currentText(), "Insensitive");
  // Loading clamps the stored time to 3000 ms.
  EXPECT_EQ(data.usFcw1_TTCSense_Ms, 3000);
  EXPECT_EQ(Find<QLineEdit>(page, "hmwSecondsBox")->text(), "3.0");
  EXPECT_EQ(Find<QComboBox>(page, "alarmList")->currentIndex(), 2);

  Click(Find<QCheckBox>(page, "fcwCheck"));
  Click(Find<QCheckBox>(page, "ldwCheck"));
  Click(Find<QCheckBox>(page, "fcdaCheck"));
  EXPECT_EQ(data.usFcw_On, 0);
  EXPECT_EQ(data.usLdw_On, 1);
  EXPECT_EQ(data.usBnw_On, 0);

  TypeInto(Find<QLineEdit>(page, "fcwSpeedEdit"), "47");
  EXPECT_EQ(data.usFcw_SpeedHi, 50);
  EXPECT_EQ(data.usFcw_SpeedLo, 45);
  TypeInto(Find<QLineEdit>(page, "fcwSpeedEdit"), "3");
  EXPECT_EQ(data.usFcw_SpeedHi, 1);
  EXPECT_EQ(data.usFcw_SpeedLo, 0);
  TypeInto(Find<QLineEdit>(page, "ldwSpeedEdit"), "74");
  EXPECT_EQ(data.usLdw_SpeedHi, 70);
  EXPECT_EQ(data.usLdw_SpeedLo, 65);

  Choose(Find<QComboBox>(page, "hmwLevelList"), 0);
  EXPECT_EQ(data.usFcw1_TTCSense_Ms, 1100);
  EXPECT_EQ(data.usFcw_TTCSense, 0);
  EXPECT_EQ(Find<QLineEdit>(page, "hmwSecondsBox")->text(), "1.1");
  Choose(Find<QComboBox>(page, "hmwLevelList"), 1);
  EXPECT_EQ(data.usFcw1_TTCSense_Ms, 900);
  EXPECT_EQ(data.usFcw_TTCSense, 1);

  TypeInto(Find<QLineEdit>(page, "stepLEdit"), "12");
  EXPECT_EQ(data.sLdw_StepL, 9);
  TypeInto(Find<QLineEdit>(page, "stepREdit"), "0");
  EXPECT_EQ(data.sLdw_StepR, 1);
  Choose(Find<QComboBox>(page, "alarmList"), 5);
  EXPECT_EQ(data.usBnw_WaitOut, 5000);

  // Enter and Escape are swallowed by the page.
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&page, &escape);
  EXPECT_TRUE(escape.isAccepted());
}

TEST(AdasPage, SpeedsInMilesPerHour) {
  SetupData data = AdasRecord();
  data.usDisplaySpeedUnit = 1;
  data.usFcw_SpeedHi = 100;
  data.usLdw_SpeedHi = 30;
  CTabTwoEngDlg page;
  page.Load(&data);
  EXPECT_EQ(Find<QLabel>(page, "ldwUnitLabel")->text(), "mph");
  EXPECT_EQ(Find<QLineEdit>(page, "fcwSpeedEdit")->text(), "50");  // 62 mph clamped to 50
  EXPECT_EQ(Find<QLineEdit>(page, "ldwSpeedEdit")->text(), "25");  // 18 mph clamped to 25
  TypeInto(Find<QLineEdit>(page, "ldwSpeedEdit"), "30");
  EXPECT_EQ(data.usLdw_SpeedHi, 48);
  EXPECT_EQ(data.usLdw_SpeedLo, 43);
  // A level outside 0..2 loads as "Normal" and is stored as 1.
  data.usFcw_TTCSense = 9;
  page.Load(&data);
  EXPECT_EQ(Find<QComboBox>(page, "hmwLevelList")->currentIndex(), 1);
  EXPECT_EQ(data.usFcw_TTCSense, 1);
}

TEST(AdasPage, CaptionsInThePageLanguage) {
  SetupData data = AdasRecord();
  CTabTwoEngDlg page;
  page.SetLanguage(kLangJapanese);
  page.Load(&data);
  const StringTable& strings = StringTable::Instance();
  for (int id : {646, 647, 648, 649, 650, 651, 706, 656, 657, 658, 659, 707, 708, 709})
    EXPECT_TRUE(HasLabel(page, strings.Load(id, kLangJapanese))) << id;
  EXPECT_EQ(Find<QComboBox>(page, "hmwLevelList")->itemText(0), strings.Load(703, kLangJapanese));
  EXPECT_NE(strings.Load(706, kLangJapanese), strings.Load(706, kLangEnglish));
}

TEST(DvrPage, LoadsAndWritesEveryControl) {
  SetupData data;
  data.usInfiniteEnable = 1;
  data.usMicInEnable = 0;
  data.usEnableParking = 5;
  data.usAccSenseLevel = 7;
  data.usMotionSenseLevel = 4;
  data.usPoweroffVolt = 118;
  data.usResolution = 1;
  data.usAccTriggerX = 70;
  data.usAccTriggerY = 120;
  data.usAccTriggerZ = 200;
  CTabThreeEngDlg page;
  page.SetLanguage(kLangEnglish);
  page.show();
  page.Load(&data);
  EXPECT_TRUE(Find<QCheckBox>(page, "continuousCheck")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(page, "voiceCheck")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(page, "cctvCheck")->isChecked());
  EXPECT_EQ(Find<QComboBox>(page, "impactList")->currentIndex(), 1);
  EXPECT_EQ(data.usAccSenseLevel, 1);
  EXPECT_EQ(data.usMotionSenseLevel, 1);
  QComboBox* voltage = Find<QComboBox>(page, "voltageList");
  EXPECT_EQ(voltage->count(), 21);
  EXPECT_EQ(voltage->currentText(), "11.8v");
  EXPECT_TRUE(Find<QRadioButton>(page, "hdRadio")->isChecked());
  EXPECT_EQ(Find<QLineEdit>(page, "triggerYBox")->text(), "1.20");

  Click(Find<QCheckBox>(page, "continuousCheck"));
  Click(Find<QCheckBox>(page, "voiceCheck"));
  Click(Find<QCheckBox>(page, "cctvCheck"));
  EXPECT_EQ(data.usInfiniteEnable, 0);
  EXPECT_EQ(data.usMicInEnable, 1);
  EXPECT_EQ(data.usEnableParking, 1);

  Choose(Find<QComboBox>(page, "impactList"), 0);
  EXPECT_EQ(data.usAccSenseLevel, 0);
  EXPECT_EQ(data.usAccTriggerX, 50);
  EXPECT_EQ(data.usAccTriggerY, 50);
  EXPECT_EQ(data.usAccTriggerZ, 50);
  EXPECT_EQ(Find<QSlider>(page, "triggerZSlider")->value(), 50);
  Choose(Find<QComboBox>(page, "impactList"), 2);
  EXPECT_EQ(data.usAccTriggerX, 90);

  Choose(voltage, voltage->findText("13.5v"));
  EXPECT_EQ(data.usPoweroffVolt, 135);
  Click(Find<QRadioButton>(page, "fullHdRadio"));
  EXPECT_EQ(data.usResolution, 0);
  Click(Find<QRadioButton>(page, "hdRadio"));
  EXPECT_EQ(data.usResolution, 1);

  QSlider* x = Find<QSlider>(page, "triggerXSlider");
  x->setFocus();
  QTest::keyClick(x, Qt::Key_PageUp);  // one page: +10
  EXPECT_EQ(data.usAccTriggerX, 100);
  x->setValue(134);
  EXPECT_EQ(data.usAccTriggerX, 130);
  EXPECT_EQ(x->value(), 130);
  EXPECT_EQ(Find<QLineEdit>(page, "triggerXBox")->text(), "1.30");
}

TEST(DvrPage, VoltageListsAndFallbacks) {
  SetupData data;
  data.usPoweroffVolt = 140;
  CTabThreeEngDlg page;
  page.Load(&data);
  QComboBox* voltage = Find<QComboBox>(page, "voltageList");
  EXPECT_EQ(voltage->currentText(), "12.3v");
  EXPECT_EQ(data.usPoweroffVolt, 123);

  for (std::uint16_t type : {2, 5}) {
    data.usInstall_CarType = type;
    data.usPoweroffVolt = 240;
    page.Load(&data);
    EXPECT_EQ(voltage->count(), 42);
    EXPECT_EQ(voltage->itemText(21), "23.5v");
    EXPECT_EQ(voltage->itemText(41), "25.5v");
    EXPECT_EQ(voltage->currentText(), "24.0v");
    data.usPoweroffVolt = 300;
    page.Load(&data);
    EXPECT_EQ(voltage->currentText(), "24.3v");
    EXPECT_EQ(data.usPoweroffVolt, 243);
  }
  // Back to a car: the list has the 12 V entries only.
  data.usInstall_CarType = 3;
  page.Load(&data);
  EXPECT_EQ(voltage->count(), 21);
  EXPECT_EQ(data.usPoweroffVolt, 123);
}

TEST(SetupPage, LoadsAndWritesEveryControl) {
  SetupData data;
  data.usSoundVolume = 8;
  data.usMicVolume = 3;
  data.usEvt_SndVoice = 1;
  data.usFcw_SndVoice = 0;
  data.usLdw_SndVoice = 2;
  data.usBnw_SndVoice = 1;
  data.usDisplayMethod = 2;
  data.usLcdBacklightTime = 1;
  data.usDisplaySpeedOnOff = 1;
  data.usDisplayTTCOnOff = 0;
  data.usDisplayHorizenOnOff = 1;
  data.usDisplaySpeedUnit = 0;
  data.usMenuLanguage = 5;
  data.usSndLanguage = 5;
  CTabFourEngDlg page;
  page.SetLanguage(kLangEnglish);
  page.show();
  page.Load(&data);
  EXPECT_EQ(Find<QLineEdit>(page, "speakerEdit")->text(), "8");
  EXPECT_TRUE(Find<QRadioButton>(page, "pipRadio")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(page, "thirtySecRadio")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(page, "kmhRadio")->isChecked());
  // Language 5 selects the first radio.
  EXPECT_TRUE(Find<QRadioButton>(page, "languageRadio0")->isChecked());
  EXPECT_EQ(Find<QRadioButton>(page, "languageRadio0")->text(), "Japanese");
  EXPECT_EQ(Find<QRadioButton>(page, "languageRadio1")->text(), "English");
  EXPECT_FALSE(Find<QCheckBox>(page, "ldwVoiceCheck")->isChecked());

  TypeInto(Find<QLineEdit>(page, "speakerEdit"), "20");
  EXPECT_EQ(data.usSoundVolume, 15);
  TypeInto(Find<QLineEdit>(page, "micEdit"), "12");
  EXPECT_EQ(data.usMicVolume, 12);
  for (const char* name : {"eventVoiceCheck", "fcwVoiceCheck", "ldwVoiceCheck", "fcdaVoiceCheck",
                           "speedCheck", "adasCheck", "horizonCheck"})
    Click(Find<QCheckBox>(page, name));
  EXPECT_EQ(data.usEvt_SndVoice, 0);
  EXPECT_EQ(data.usFcw_SndVoice, 1);
  EXPECT_EQ(data.usLdw_SndVoice, 1);
  EXPECT_EQ(data.usBnw_SndVoice, 0);
  EXPECT_EQ(data.usDisplaySpeedOnOff, 0);
  EXPECT_EQ(data.usDisplayTTCOnOff, 1);
  EXPECT_EQ(data.usDisplayHorizenOnOff, 0);
  Click(Find<QRadioButton>(page, "rearRadio"));
  EXPECT_EQ(data.usDisplayMethod, 1);
  Click(Find<QRadioButton>(page, "frontRadio"));
  EXPECT_EQ(data.usDisplayMethod, 0);
  Click(Find<QRadioButton>(page, "alwaysOnRadio"));
  EXPECT_EQ(data.usLcdBacklightTime, 0);
  Click(Find<QRadioButton>(page, "mphRadio"));
  EXPECT_EQ(data.usDisplaySpeedUnit, 1);
  // The radios of different groups do not exclude each other.
  EXPECT_TRUE(Find<QRadioButton>(page, "frontRadio")->isChecked());
  Click(Find<QRadioButton>(page, "languageRadio1"));
  EXPECT_EQ(data.usMenuLanguage, 1);
  EXPECT_EQ(data.usSndLanguage, 1);
  Click(Find<QRadioButton>(page, "languageRadio0"));
  EXPECT_EQ(data.usMenuLanguage, 0);
  EXPECT_EQ(data.usSndLanguage, 0);
}

TEST(InstallPage, LoadsAndWritesEveryControl) {
  SetupData data;
  data.usInstall_CarType = 4;
  data.usInstall_CamHeight = 170;
  data.usInstall_CarWidth = 190;
  data.usInstall_AttachedPos = 2;
  data.sDevicePosX = 125;
  data.usIoTurnActive = 1;
  data.usIoBrakeActive = 0;
  data.usoVssPulseA = 637;
  data.usVssPriority = 2;
  CTabOneEngDlg page;
  page.SetLanguage(kLangEnglish);
  page.show();
  page.Load(&data);
  EXPECT_TRUE(Find<QRadioButton>(page, "vehicleRadio3")->isChecked());
  EXPECT_EQ(Find<QRadioButton>(page, "vehicleRadio0")->text(), "Seden");
  EXPECT_EQ(Find<QLineEdit>(page, "heightEdit")->text(), "1.7");
  EXPECT_EQ(Find<QLineEdit>(page, "widthEdit")->text(), "1.9");
  EXPECT_EQ(Find<QLineEdit>(page, "offsetEdit")->text(), "12.5");
  EXPECT_TRUE(Find<QRadioButton>(page, "attachedRadio2")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(page, "turnRadio1")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(page, "brakeRadio0")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(page, "priorityRadio2")->isChecked());

  Click(Find<QRadioButton>(page, "vehicleRadio4"));  // Bus
  EXPECT_EQ(data.usInstall_CarType, 2);
  EXPECT_EQ(data.usInstall_CamHeight, 160);
  EXPECT_EQ(data.usInstall_CarWidth, 250);
  EXPECT_EQ(Find<QLineEdit>(page, "widthEdit")->text(), "2.5");
  Click(Find<QRadioButton>(page, "vehicleRadio1"));  // Compact Car
  EXPECT_EQ(data.usInstall_CarType, 3);
  EXPECT_EQ(data.usInstall_CarWidth, 160);

  TypeInto(Find<QLineEdit>(page, "heightEdit"), "1.34");
  EXPECT_EQ(data.usInstall_CamHeight, 130);
  TypeInto(Find<QLineEdit>(page, "heightEdit"), "1.35");
  EXPECT_EQ(data.usInstall_CamHeight, 140);
  TypeInto(Find<QLineEdit>(page, "heightEdit"), "0.5");
  EXPECT_EQ(data.usInstall_CamHeight, 100);
  TypeInto(Find<QLineEdit>(page, "widthEdit"), "3.7");
  EXPECT_EQ(data.usInstall_CarWidth, 300);
  TypeInto(Find<QLineEdit>(page, "offsetEdit"), "7.25");
  EXPECT_EQ(data.sDevicePosX, 72);
  TypeInto(Find<QLineEdit>(page, "offsetEdit"), "25");
  EXPECT_EQ(data.sDevicePosX, 200);
  TypeInto(Find<QLineEdit>(page, "pulseEdit"), "1024");
  EXPECT_EQ(data.usoVssPulseA, 1024);

  Click(Find<QRadioButton>(page, "attachedRadio0"));
  EXPECT_EQ(data.usInstall_AttachedPos, 0);
  Click(Find<QRadioButton>(page, "turnRadio0"));
  EXPECT_EQ(data.usIoTurnActive, 0);
  Click(Find<QRadioButton>(page, "brakeRadio1"));
  EXPECT_EQ(data.usIoBrakeActive, 1);
  Click(Find<QRadioButton>(page, "priorityRadio1"));
  EXPECT_EQ(data.usVssPriority, 1);
  // Other groups keep their choice.
  EXPECT_TRUE(Find<QRadioButton>(page, "vehicleRadio1")->isChecked());
  EXPECT_TRUE(Find<QRadioButton>(page, "turnRadio0")->isChecked());

  // An unknown vehicle type selects the first radio.
  data.usInstall_CarType = 9;
  page.Load(&data);
  EXPECT_TRUE(Find<QRadioButton>(page, "vehicleRadio0")->isChecked());
}

TEST(OthersPage, TimeZoneDitAndWifi) {
  SetupData data;
  data.usTimeZone = 12;
  data.usB2BUseDit = 1;
  CTabFiveDlg page;
  page.SetLanguage(kLangEnglish);
  TimeZoneAnswer answer;
  page.SetTimeZoneSource([&answer] { return answer; });
  page.show();
  page.Load(&data);
  page.SetWifiStrings("CAM_1", "secret99");
  QComboBox* zones = Find<QComboBox>(page, "timeZoneList");
  EXPECT_EQ(zones->count(), 24);
  EXPECT_EQ(zones->currentText(), "+0:00");
  EXPECT_TRUE(Find<QRadioButton>(page, "ditOnRadio")->isChecked());
  EXPECT_FALSE(Find<QRadioButton>(page, "ditOnRadio")->isEnabled());
  EXPECT_FALSE(Find<QRadioButton>(page, "ditOffRadio")->isEnabled());
  EXPECT_EQ(Find<QLabel>(page, "passwordHint")->text(),
            "password must include eight or\nmore alphanumeric characters");
  EXPECT_EQ(page.Ssid(), "CAM_1");

  Choose(zones, 20);
  EXPECT_EQ(data.usTimeZone, 21);
  Choose(zones, 0);
  EXPECT_EQ(data.usTimeZone, 1);

  QPushButton* apply = Find<QPushButton>(page, "applyPcTimeZoneButton");
  EXPECT_EQ(apply->text(), "Apply Current PC Timezone");
  answer = {1, -540, 0, 0};  // Tokyo
  Click(apply);
  EXPECT_EQ(data.usTimeZone, 21);
  EXPECT_EQ(zones->currentIndex(), 20);
  answer = {2, 60, 0, -60};  // Azores in summer: UTC+0
  Click(apply);
  EXPECT_EQ(data.usTimeZone, 12);
  answer = {0, -780, 0, 0};  // UTC+13: outside the list
  Click(apply);
  EXPECT_EQ(data.usTimeZone, 0);
  EXPECT_EQ(zones->currentIndex(), -1);
  data.usTimeZone = 5;
  page.Load(&data);
  answer = {-1, 0, 0, 0};  // the query failed: nothing changes
  Click(apply);
  EXPECT_EQ(data.usTimeZone, 5);
  EXPECT_EQ(zones->currentIndex(), 4);

  QTest::keyClicks(Find<QLineEdit>(page, "ssidEdit"), "X");
  QLineEdit* password = Find<QLineEdit>(page, "passwordEdit");
  TypeInto(password, "abc");
  EXPECT_EQ(page.Ssid(), "CAM_1X");
  EXPECT_EQ(page.Passphrase(), "abc");

  data.usB2BUseDit = 0;
  page.Load(&data);
  EXPECT_TRUE(Find<QRadioButton>(page, "ditOffRadio")->isChecked());
}

TEST(SystemTimeZone, MapsZonesToBiases) {
  const QTimeZone tokyo("Asia/Tokyo");
  const TimeZoneAnswer t =
      TimeZoneAnswerFor(tokyo, QDateTime(QDate(2026, 7, 1), QTime(12, 0), QTimeZone::utc()));
  EXPECT_EQ(t.kind, 0);
  EXPECT_EQ(t.bias, -540);
  EXPECT_EQ(TimeZoneHours(t), 9);

  const QTimeZone berlin("Europe/Berlin");
  const TimeZoneAnswer summer =
      TimeZoneAnswerFor(berlin, QDateTime(QDate(2026, 7, 1), QTime(12, 0), QTimeZone::utc()));
  EXPECT_EQ(summer.kind, 2);
  EXPECT_EQ(summer.bias, -60);
  EXPECT_EQ(summer.daylightBias, -60);
  EXPECT_EQ(TimeZoneHours(summer), 2);
  const TimeZoneAnswer winter =
      TimeZoneAnswerFor(berlin, QDateTime(QDate(2026, 1, 10), QTime(12, 0), QTimeZone::utc()));
  EXPECT_EQ(winter.kind, 1);
  EXPECT_EQ(TimeZoneHours(winter), 1);

  const QTimeZone newYork("America/New_York");
  EXPECT_EQ(TimeZoneHours(TimeZoneAnswerFor(
                newYork, QDateTime(QDate(2026, 1, 10), QTime(12, 0), QTimeZone::utc()))),
            -5);
  EXPECT_EQ(TimeZoneAnswerFor(QTimeZone(), QDateTime::currentDateTimeUtc()).kind, -1);
}

}  // namespace
}  // namespace lumora
