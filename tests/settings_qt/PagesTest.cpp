// Which control of each settings page shows and writes which field of the
// record. The rules behind the values are checked in tests/settings; here
// each control is loaded once and driven once by synthesised input.

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

#include <functional>
#include <memory>
#include <vector>

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

// kShows: the control shows `arg` ("[x]"/"[ ]" for buttons, the text of
// edits, labels and lists, the value of sliders); kCaption: its caption;
// kField: the field has `value`. The input steps (click, type, list choice,
// slider value) are followed by the check of `field`.
enum Act { kShows, kCaption, kField, kClick, kType, kChoose, kSlide };
using Field = int (*)(const SetupData&);
#define F(name) [](const SetupData& r) { return static_cast<int>(r.name); }
struct Step {
  Act act;
  const char* control;
  const char* arg;
  Field field = nullptr;
  int value = 0;
};

QString Shown(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->isChecked() ? "[x]" : "[ ]";
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  if (auto* s = qobject_cast<QSlider*>(w)) return QString::number(s->value());
  return QStringLiteral("?");
}

void Drive(CSetupPage& page, SetupData& data, const std::vector<Step>& steps) {
  page.SetLanguage(kLangEnglish);
  page.show();
  page.Load(&data);
  for (const Step& s : steps) {
    SCOPED_TRACE(::testing::Message() << (s.control ? s.control : "") << " " << s.arg);
    QWidget* w = s.control ? page.findChild<QWidget*>(QLatin1String(s.control)) : nullptr;
    if (s.control) {
      ASSERT_NE(w, nullptr);
    }
    switch (s.act) {
      case kShows:
        EXPECT_EQ(Shown(w), s.arg);
        continue;
      case kCaption:
        EXPECT_EQ(qobject_cast<QAbstractButton*>(w)->text(), s.arg);
        continue;
      case kField:
        break;
      case kClick: {
        // On the box or round indicator at the left, where the user clicks.
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(6, w->height() / 2));
        break;
      }
      case kType:
        TypeInto(qobject_cast<QLineEdit*>(w), s.arg);
        break;
      case kChoose:
        Choose(qobject_cast<QComboBox*>(w), QString(s.arg).toInt());
        break;
      case kSlide:
        qobject_cast<QSlider*>(w)->setValue(QString(s.arg).toInt());
        break;
    }
    EXPECT_EQ(s.field(data), s.value);
  }
}

TEST(AdasPage, Bindings) {
  SetupData d;
  d.usFcw_On = 1;
  d.usBnw_On = 7;
  d.usFcw_SpeedHi = 30;
  d.usLdw_SpeedHi = 60;
  d.usFcw_TTCSense = 2;
  d.usFcw1_TTCSense_Ms = 5000;
  d.usBnw_WaitOut = 2000;
  CTabTwoEngDlg page;
  Drive(page, d,
        {{kShows, "fcwCheck", "[x]"},
         {kShows, "ldwCheck", "[ ]"},
         {kShows, "fcdaCheck", "[x]"},
         {kShows, "fcwSpeedEdit", "30"},
         {kShows, "ldwSpeedEdit", "60"},
         {kShows, "fcwUnitLabel", "km/h"},
         {kShows, "hmwLevelList", "Insensitive"},
         {kField, nullptr, "load clamps to 3 s", F(usFcw1_TTCSense_Ms), 3000},
         {kShows, "hmwSecondsBox", "3.0"},
         {kShows, "alarmList", "2"},
         {kClick, "fcwCheck", "", F(usFcw_On), 0},
         {kClick, "ldwCheck", "", F(usLdw_On), 1},
         {kClick, "fcdaCheck", "", F(usBnw_On), 0},
         {kType, "fcwSpeedEdit", "47", F(usFcw_SpeedHi), 50},
         {kType, "ldwSpeedEdit", "74", F(usLdw_SpeedHi), 70},
         {kChoose, "hmwLevelList", "0", F(usFcw1_TTCSense_Ms), 1100},
         {kShows, "hmwSecondsBox", "1.1"},
         {kChoose, "hmwLevelList", "1", F(usFcw_TTCSense), 1},
         {kType, "stepLEdit", "12", F(sLdw_StepL), 9},
         {kType, "stepREdit", "0", F(sLdw_StepR), 1},
         {kChoose, "alarmList", "5", F(usBnw_WaitOut), 5000}});
}

TEST(AdasPage, SpeedsInMilesPerHour) {
  SetupData d;
  d.usDisplaySpeedUnit = 1;
  d.usFcw_SpeedHi = 100;
  d.usLdw_SpeedHi = 30;
  CTabTwoEngDlg page;
  Drive(page, d,
        {{kShows, "ldwUnitLabel", "mph"},
         {kShows, "fcwSpeedEdit", "50"},  // 62 mph, clamped to 50
         {kShows, "ldwSpeedEdit", "25"},  // 18 mph, clamped to 25
         {kType, "ldwSpeedEdit", "30", F(usLdw_SpeedHi), 48}});
}

TEST(AdasPage, CaptionsInThePageLanguage) {
  SetupData data;
  CTabTwoEngDlg page;
  page.SetLanguage(kLangJapanese);
  page.Load(&data);
  QStringList shown;
  for (QLabel* label : page.findChildren<QLabel*>()) shown << label->text();
  for (QGroupBox* group : page.findChildren<QGroupBox*>()) shown << group->title();
  for (QAbstractButton* button : page.findChildren<QAbstractButton*>()) shown << button->text();
  const StringTable& strings = StringTable::Instance();
  for (int id : {646, 647, 648, 649, 650, 651, 706, 656, 657, 658, 659, 707, 708, 709})
    EXPECT_TRUE(shown.contains(strings.Load(id, kLangJapanese))) << id;
  EXPECT_NE(strings.Load(706, kLangJapanese), strings.Load(706, kLangEnglish));
}

TEST(DvrPage, Bindings) {
  SetupData d;
  d.usInfiniteEnable = 1;
  d.usEnableParking = 5;
  d.usAccSenseLevel = 7;
  d.usMotionSenseLevel = 4;
  d.usPoweroffVolt = 118;
  d.usResolution = 1;
  d.usAccTriggerY = 120;
  CTabThreeEngDlg page;
  Drive(page, d,
        {{kShows, "continuousCheck", "[x]"},
         {kShows, "voiceCheck", "[ ]"},
         {kShows, "cctvCheck", "[ ]"},
         {kShows, "impactList", "Normal"},
         {kField, nullptr, "level 7 loads as 1", F(usAccSenseLevel), 1},
         {kField, nullptr, "", F(usMotionSenseLevel), 1},
         {kShows, "voltageList", "11.8v"},
         {kShows, "hdRadio", "[x]"},
         {kShows, "triggerYBox", "1.20"},
         {kClick, "continuousCheck", "", F(usInfiniteEnable), 0},
         {kClick, "voiceCheck", "", F(usMicInEnable), 1},
         {kClick, "cctvCheck", "", F(usEnableParking), 1},
         {kChoose, "impactList", "0", F(usAccTriggerZ), 50},
         {kShows, "triggerZSlider", "50"},
         {kChoose, "impactList", "2", F(usAccTriggerX), 90},
         {kChoose, "voltageList", "20", F(usPoweroffVolt), 135},
         {kClick, "fullHdRadio", "", F(usResolution), 0},
         {kClick, "hdRadio", "", F(usResolution), 1},
         {kSlide, "triggerXSlider", "134", F(usAccTriggerX), 130},
         {kShows, "triggerXSlider", "130"},
         {kShows, "triggerXBox", "1.30"}});
}

TEST(DvrPage, TruckListsTheTwentyFourVoltEntries) {
  SetupData d;
  d.usInstall_CarType = 5;
  d.usPoweroffVolt = 300;
  CTabThreeEngDlg page;
  Drive(page, d,
        {{kShows, "voltageList", "24.3v"},
         {kField, nullptr, "", F(usPoweroffVolt), 243},
         {kChoose, "voltageList", "41", F(usPoweroffVolt), 255}});
}

TEST(SetupPage, Bindings) {
  SetupData d;
  d.usSoundVolume = 8;
  d.usEvt_SndVoice = 1;
  d.usBnw_SndVoice = 1;
  d.usDisplayMethod = 2;
  d.usLcdBacklightTime = 1;
  d.usDisplaySpeedOnOff = 1;
  d.usDisplayHorizenOnOff = 1;
  d.usMenuLanguage = 5;
  CTabFourEngDlg page;
  Drive(page, d,
        {{kShows, "speakerEdit", "8"},
         {kShows, "pipRadio", "[x]"},
         {kShows, "thirtySecRadio", "[x]"},
         {kShows, "kmhRadio", "[x]"},
         {kShows, "languageRadio0", "[x]"},
         {kCaption, "languageRadio0", "Japanese"},
         {kCaption, "languageRadio1", "English"},
         {kType, "speakerEdit", "20", F(usSoundVolume), 15},
         {kType, "micEdit", "12", F(usMicVolume), 12},
         {kClick, "eventVoiceCheck", "", F(usEvt_SndVoice), 0},
         {kClick, "fcwVoiceCheck", "", F(usFcw_SndVoice), 1},
         {kClick, "ldwVoiceCheck", "", F(usLdw_SndVoice), 1},
         {kClick, "fcdaVoiceCheck", "", F(usBnw_SndVoice), 0},
         {kClick, "speedCheck", "", F(usDisplaySpeedOnOff), 0},
         {kClick, "adasCheck", "", F(usDisplayTTCOnOff), 1},
         {kClick, "horizonCheck", "", F(usDisplayHorizenOnOff), 0},
         {kClick, "rearRadio", "", F(usDisplayMethod), 1},
         {kClick, "frontRadio", "", F(usDisplayMethod), 0},
         {kClick, "alwaysOnRadio", "", F(usLcdBacklightTime), 0},
         {kClick, "mphRadio", "", F(usDisplaySpeedUnit), 1},
         {kShows, "frontRadio", "[x]"},  // groups do not exclude each other
         {kClick, "languageRadio1", "", F(usMenuLanguage), 1},
         {kField, nullptr, "", F(usSndLanguage), 1},
         {kClick, "languageRadio0", "", F(usSndLanguage), 0}});
}

TEST(InstallPage, Bindings) {
  SetupData d;
  d.usInstall_CarType = 4;
  d.usInstall_CamHeight = 170;
  d.usInstall_CarWidth = 190;
  d.usInstall_AttachedPos = 2;
  d.sDevicePosX = 125;
  d.usIoTurnActive = 1;
  d.usVssPriority = 2;
  CTabOneEngDlg page;
  Drive(page, d,
        {{kShows, "vehicleRadio3", "[x]"},
         {kCaption, "vehicleRadio0", "Seden"},
         {kShows, "heightEdit", "1.7"},
         {kShows, "widthEdit", "1.9"},
         {kShows, "offsetEdit", "12.5"},
         {kShows, "attachedRadio2", "[x]"},
         {kShows, "turnRadio1", "[x]"},
         {kShows, "brakeRadio0", "[x]"},
         {kShows, "priorityRadio2", "[x]"},
         {kClick, "vehicleRadio4", "Bus", F(usInstall_CarType), 2},
         {kField, nullptr, "", F(usInstall_CarWidth), 250},
         {kShows, "widthEdit", "2.5"},
         {kClick, "vehicleRadio1", "Compact", F(usInstall_CarType), 3},
         {kType, "heightEdit", "1.35", F(usInstall_CamHeight), 140},
         {kType, "widthEdit", "3.7", F(usInstall_CarWidth), 300},
         {kType, "offsetEdit", "7.25", F(sDevicePosX), 72},
         {kType, "pulseEdit", "1024", F(usoVssPulseA), 1024},
         {kClick, "attachedRadio0", "", F(usInstall_AttachedPos), 0},
         {kClick, "turnRadio0", "", F(usIoTurnActive), 0},
         {kClick, "brakeRadio1", "", F(usIoBrakeActive), 1},
         {kClick, "priorityRadio1", "", F(usVssPriority), 1},
         {kShows, "vehicleRadio1", "[x]"}});
}

TEST(OthersPage, Bindings) {
  SetupData d;
  d.usTimeZone = 12;
  d.usB2BUseDit = 1;
  CTabFiveDlg page;
  TimeZoneAnswer answer{1, -540, 0, 0};  // Tokyo
  page.SetTimeZoneSource([&answer] { return answer; });
  Drive(page, d,
        {{kShows, "timeZoneList", "+0:00"},
         {kShows, "ditOnRadio", "[x]"},
         {kShows, "passwordHint", "password must include eight or\nmore alphanumeric characters"},
         {kChoose, "timeZoneList", "0", F(usTimeZone), 1},
         {kClick, "applyPcTimeZoneButton", "", F(usTimeZone), 21},
         {kShows, "timeZoneList", "+9:00"}});
  EXPECT_FALSE(page.findChild<QWidget*>("ditOnRadio")->isEnabled());
  answer = {-1, 0, 0, 0};  // a failed query changes nothing
  QTest::mouseClick(page.findChild<QPushButton*>("applyPcTimeZoneButton"), Qt::LeftButton);
  EXPECT_EQ(d.usTimeZone, 21);

  page.SetWifiStrings("CAM_1", "secret99");
  QTest::keyClicks(page.findChild<QLineEdit*>("ssidEdit"), "X");
  TypeInto(page.findChild<QLineEdit*>("passwordEdit"), "abc");
  EXPECT_EQ(page.Ssid(), "CAM_1X");
  EXPECT_EQ(page.Passphrase(), "abc");
}

TEST(SystemTimeZone, MapsZonesToBiases) {
  const struct {
    const char* zone;
    QDate date;
    int kind, bias, hours;
  } rows[] = {{"Asia/Tokyo", {2026, 7, 1}, 0, -540, 9},
              {"Europe/Berlin", {2026, 7, 1}, 2, -60, 2},
              {"Europe/Berlin", {2026, 1, 10}, 1, -60, 1},
              {"America/New_York", {2026, 1, 10}, 1, 300, -5}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.zone);
    const TimeZoneAnswer a =
        TimeZoneAnswerFor(QTimeZone(r.zone), QDateTime(r.date, QTime(12, 0), QTimeZone::utc()));
    EXPECT_EQ(a.kind, r.kind);
    EXPECT_EQ(a.bias, r.bias);
    EXPECT_EQ(TimeZoneHours(a), r.hours);
  }
  EXPECT_EQ(TimeZoneAnswerFor(QTimeZone(), QDateTime::currentDateTimeUtc()).kind, -1);
}

}  // namespace
}  // namespace lumora
