// Which control of each settings page shows and writes which field of the
// record. The rules behind the values are checked in tests/settings; here
// each control is loaded once and driven once by synthesised input.

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QSlider>

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
using testing::ClickIndicator;
using testing::TypeInto;

// One row per control: what it shows once loaded ("[x]"/"[ ]" for buttons,
// the text of edits, labels and lists, the value of sliders; nullptr: not
// checked), then, in row order, an input (click, type, list choice, slider
// value) or a later check (kShows, kCaption) and the field it must leave at
// `value`. Rows without a control check a field only.
enum Act { kNone, kShows, kCaption, kClick, kType, kChoose, kSlide };
using Field = int (*)(const SetupData&);
#define F(name) [](const SetupData& r) { return static_cast<int>(r.name); }
struct Row {
  const char* control;
  const char* loaded;
  Act act = kNone;
  const char* arg = "";
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

void Drive(CSetupPage& page, SetupData& data, const std::vector<Row>& rows) {
  page.SetLanguage(kLangEnglish);
  page.show();
  page.Load(&data);
  for (int pass = 0; pass < 2; ++pass) {
    for (const Row& r : rows) {
      SCOPED_TRACE(::testing::Message() << (r.control ? r.control : "") << " " << r.arg);
      QWidget* w = r.control ? page.findChild<QWidget*>(QLatin1String(r.control)) : nullptr;
      if (r.control) {
        ASSERT_NE(w, nullptr);
      }
      if (pass == 0) {
        if (r.loaded) {
          EXPECT_EQ(Shown(w), r.loaded);
        }
        continue;
      }
      switch (r.act) {
        case kNone:
          break;
        case kShows:
          EXPECT_EQ(Shown(w), r.arg);
          break;
        case kCaption:
          EXPECT_EQ(qobject_cast<QAbstractButton*>(w)->text(), r.arg);
          break;
        case kClick:
          ClickIndicator(w);
          break;
        case kType:
          TypeInto(qobject_cast<QLineEdit*>(w), r.arg);
          break;
        case kChoose:
          Choose(qobject_cast<QComboBox*>(w), QString(r.arg).toInt());
          break;
        case kSlide:
          qobject_cast<QSlider*>(w)->setValue(QString(r.arg).toInt());
          break;
      }
      if (r.field) {
        EXPECT_EQ(r.field(data), r.value);
      }
    }
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
        {{nullptr, nullptr, kNone, "load clamps to 3 s", F(usFcw1_TTCSense_Ms), 3000},
         {"fcwCheck", "[x]", kClick, "", F(usFcw_On), 0},
         {"ldwCheck", "[ ]", kClick, "", F(usLdw_On), 1},
         {"fcdaCheck", "[x]", kClick, "", F(usBnw_On), 0},
         {"fcwUnitLabel", "km/h"},
         {"fcwSpeedEdit", "30", kType, "47", F(usFcw_SpeedHi), 50},
         {"ldwSpeedEdit", "60", kType, "74", F(usLdw_SpeedHi), 70},
         {"hmwLevelList", "Insensitive", kChoose, "0", F(usFcw1_TTCSense_Ms), 1100},
         {"hmwSecondsBox", "3.0", kShows, "1.1"},
         {"stepLEdit", nullptr, kType, "12", F(sLdw_StepL), 9},
         {"stepREdit", nullptr, kType, "0", F(sLdw_StepR), 1},
         {"alarmList", "2", kChoose, "5", F(usBnw_WaitOut), 5000}});
  // The speed edits in the unit of the record.
  SetupData mph;
  mph.usDisplaySpeedUnit = 1;
  mph.usFcw_SpeedHi = 100;
  mph.usLdw_SpeedHi = 30;
  CTabTwoEngDlg milesPage;
  Drive(milesPage, mph,
        {{"ldwUnitLabel", "mph"},
         {"fcwSpeedEdit", "50"},
         {"ldwSpeedEdit", "25", kType, "30", F(usLdw_SpeedHi), 48}});
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
        {{nullptr, nullptr, kNone, "level 7 loads as 1", F(usAccSenseLevel), 1},
         {nullptr, nullptr, kNone, "", F(usMotionSenseLevel), 1},
         {"continuousCheck", "[x]", kClick, "", F(usInfiniteEnable), 0},
         {"voiceCheck", "[ ]", kClick, "", F(usMicInEnable), 1},
         {"cctvCheck", "[ ]", kClick, "", F(usEnableParking), 1},
         {"impactList", "Normal", kChoose, "0", F(usAccTriggerZ), 50},
         {"triggerZSlider", nullptr, kShows, "50"},
         {"impactList", nullptr, kChoose, "2", F(usAccTriggerX), 90},
         {"voltageList", "11.8v", kChoose, "20", F(usPoweroffVolt), 135},
         {"hdRadio", "[x]"},
         {"fullHdRadio", nullptr, kClick, "", F(usResolution), 0},
         {"triggerYBox", "1.20"},
         {"triggerXSlider", nullptr, kSlide, "134", F(usAccTriggerX), 130},
         {"triggerXBox", nullptr, kShows, "1.30"}});
  // A truck lists the 24 V entries.
  SetupData truck;
  truck.usInstall_CarType = 5;
  truck.usPoweroffVolt = 300;
  CTabThreeEngDlg truckPage;
  Drive(truckPage, truck,
        {{nullptr, nullptr, kNone, "", F(usPoweroffVolt), 243},
         {"voltageList", "24.3v", kChoose, "41", F(usPoweroffVolt), 255}});
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
        {{"speakerEdit", "8", kType, "20", F(usSoundVolume), 15},
         {"micEdit", nullptr, kType, "12", F(usMicVolume), 12},
         {"pipRadio", "[x]"},
         {"thirtySecRadio", "[x]"},
         {"kmhRadio", "[x]"},
         {"languageRadio0", "[x]", kCaption, "Japanese"},
         {"languageRadio1", nullptr, kCaption, "English"},
         {"eventVoiceCheck", nullptr, kClick, "", F(usEvt_SndVoice), 0},
         {"fcwVoiceCheck", nullptr, kClick, "", F(usFcw_SndVoice), 1},
         {"ldwVoiceCheck", nullptr, kClick, "", F(usLdw_SndVoice), 1},
         {"fcdaVoiceCheck", nullptr, kClick, "", F(usBnw_SndVoice), 0},
         {"speedCheck", nullptr, kClick, "", F(usDisplaySpeedOnOff), 0},
         {"adasCheck", nullptr, kClick, "", F(usDisplayTTCOnOff), 1},
         {"horizonCheck", nullptr, kClick, "", F(usDisplayHorizenOnOff), 0},
         {"rearRadio", nullptr, kClick, "", F(usDisplayMethod), 1},
         {"frontRadio", nullptr, kClick, "", F(usDisplayMethod), 0},
         {"alwaysOnRadio", nullptr, kClick, "", F(usLcdBacklightTime), 0},
         {"mphRadio", nullptr, kClick, "", F(usDisplaySpeedUnit), 1},
         {"frontRadio", nullptr, kShows, "[x]"},  // groups do not exclude each other
         {"languageRadio1", nullptr, kClick, "", F(usMenuLanguage), 1},
         {nullptr, nullptr, kNone, "", F(usSndLanguage), 1}});
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
        {{"vehicleRadio3", "[x]"},
         {"vehicleRadio0", nullptr, kCaption, "Seden"},
         {"vehicleRadio4", nullptr, kClick, "Bus", F(usInstall_CarType), 2},
         {"widthEdit", "1.9", kShows, "2.5", F(usInstall_CarWidth), 250},
         {"vehicleRadio1", nullptr, kClick, "Compact", F(usInstall_CarType), 3},
         {"heightEdit", "1.7", kType, "1.35", F(usInstall_CamHeight), 140},
         {"widthEdit", nullptr, kType, "3.7", F(usInstall_CarWidth), 300},
         {"offsetEdit", "12.5", kType, "7.25", F(sDevicePosX), 72},
         {"pulseEdit", nullptr, kType, "1024", F(usoVssPulseA), 1024},
         {"attachedRadio2", "[x]"},
         {"attachedRadio0", nullptr, kClick, "", F(usInstall_AttachedPos), 0},
         {"turnRadio1", "[x]"},
         {"turnRadio0", nullptr, kClick, "", F(usIoTurnActive), 0},
         {"brakeRadio0", "[x]"},
         {"brakeRadio1", nullptr, kClick, "", F(usIoBrakeActive), 1},
         {"priorityRadio2", "[x]"},
         {"priorityRadio1", nullptr, kClick, "", F(usVssPriority), 1}});
}

TEST(OthersPage, Bindings) {
  SetupData d;
  d.usTimeZone = 12;
  d.usB2BUseDit = 1;
  CTabFiveDlg page;
  TimeZoneAnswer answer{1, -540, 0, 0};  // Tokyo
  page.SetTimeZoneSource([&answer] { return answer; });
  Drive(page, d,
        {{"ditOnRadio", "[x]"},
         {"passwordHint", "password must include eight or\nmore alphanumeric characters"},
         {"timeZoneList", "+0:00", kChoose, "0", F(usTimeZone), 1},
         {"applyPcTimeZoneButton", nullptr, kClick, "", F(usTimeZone), 21},
         {"timeZoneList", nullptr, kShows, "+9:00"}});
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
