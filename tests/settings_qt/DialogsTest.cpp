// The settings dialogs as widgets: which control shows and writes which field
// (the rules behind the values are tables in tests/settings), language, tabs,
// closing through the close rules, and the legacy and DIT dialogs.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

#include <memory>
#include <sstream>
#include <vector>

#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "settings/qt/CDITSetupDlg.h"
#include "settings/qt/CNewSetupDlg.h"
#include "settings/qt/CSetupDlg.h"
#include "settings/qt/CTabFiveDlg.h"
#include "settings/qt/CTabFourEngDlg.h"
#include "settings/qt/CTabOneEngDlg.h"
#include "settings/qt/CTabThreeEngDlg.h"
#include "settings/qt/CTabTwoEngDlg.h"
#include "settings/qt/SystemTimeZone.h"
#include "tests/support/TempFolder.h"
#include "tools/mkcard/SettingsFiles.h"

namespace lumora {
namespace {

using test::ReadFile;

// A temporary card with the sample card's settings files.
class TempCard : public test::TempFolder {
 public:
  TempCard() {
    Write("cfg/data_setup.cfg", MakeSetupFileText());
    Write("wifi.cfg", MakeWifiFileText(7));
  }
  std::filesystem::path SetupPath() const { return *this / "cfg" / "data_setup.cfg"; }
  std::filesystem::path WifiPath() const { return *this / "wifi.cfg"; }
  void SetKey(const std::string& key, int value) {
    std::string text = test::ReadFile(SetupPath());
    const std::size_t at = text.find("\n" + key + "=");
    if (at == std::string::npos) return;
    text.replace(at + 1, text.find(' ', at) - at - 1, key + "=" + std::to_string(value));
    test::WriteFile(SetupPath(), text);
  }
};

// Types `text` into an edit as the user would: everything selected, then keys.
void TypeInto(QLineEdit* edit, const QString& text) {
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
}

// Chooses a list entry as the user does (selection, then the activation).
void Choose(QComboBox* list, int index) {
  list->setCurrentIndex(index);
  emit list->activated(index);
}

// Clicks a check box or radio button on its indicator, where the user does.
void ClickIndicator(QWidget* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

const char kQuestion[] = "Do you want to save the changes?";

template <typename T>
T* Find(QWidget* parent, const char* name) {
  T* widget = parent->findChild<T*>(QLatin1String(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// The record field named `key`.
const SetupKeyInfo& Key(const std::string& key) {
  for (const char* section : kSetupSections) {
    if (const SetupKeyInfo* info = FindSetupKey(section, key)) return *info;
  }
  ADD_FAILURE() << key;
  return kSetupKeys[0];
}

// A record with the fields of `fields` ("key=value ...") set, every other field 0.
SetupData Record(const std::string& fields) {
  SetupData data;
  std::istringstream in(fields);
  for (std::string item; in >> item;) {
    const std::size_t eq = item.find('=');
    data.SetRaw(Key(item.substr(0, eq)).offset,
                static_cast<std::uint16_t>(std::stoi(item.substr(eq + 1))));
  }
  return data;
}

// One row per control: what it shows once loaded (nullptr: not checked), then
// in row order an input or a later check, and the field it must leave at `value`.
enum Act { kNone, kShows, kCaption, kClick, kType, kChoose, kSlide };
struct Row {
  const char* control;
  const char* loaded;
  Act act = kNone;
  const char* arg = "";
  const char* field = nullptr;
  int value = 0;
};

QString Shown(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->isChecked() ? "[x]" : "[ ]";
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* c = qobject_cast<QComboBox*>(w)) return c->currentText();
  if (auto* s = qobject_cast<QSlider*>(w)) return QString::number(s->value());
  return "?";
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
        EXPECT_EQ(SetupFieldValue(data, Key(r.field)), r.value);
      }
    }
  }
}

TEST(Pages, Bindings) {
  CTabTwoEngDlg adas, adasMph;
  CTabThreeEngDlg dvr, truck;
  CTabFourEngDlg setup;
  CTabOneEngDlg install;
  CTabFiveDlg others;
  QTimeZone zone;
  QDateTime at;
  others.SetTimeZoneSource([&] { return TimeZoneAnswerFor(zone, at); });
  struct Page {
    CSetupPage& page;
    SetupData data;
    std::vector<Row> rows;
  } pages[] = {
      {adas,
       Record("usFcw_On=1 usBnw_On=7 usFcw_SpeedHi=30 usLdw_SpeedHi=60 usFcw_TTCSense=2 "
              "usFcw1_TTCSense_Ms=5000 usBnw_WaitOut=2000"),
       {{nullptr, nullptr, kNone, "load clamps to 3 s", "usFcw1_TTCSense_Ms", 3000},
        {"fcwCheck", "[x]", kClick, "", "usFcw_On", 0},
        {"ldwCheck", "[ ]", kClick, "", "usLdw_On", 1},
        {"fcdaCheck", "[x]", kClick, "", "usBnw_On", 0},
        {"fcwUnitLabel", "km/h"},
        {"fcwSpeedEdit", "30", kType, "47", "usFcw_SpeedHi", 50},
        {"ldwSpeedEdit", "60", kType, "74", "usLdw_SpeedHi", 70},
        {"hmwLevelList", "Insensitive", kChoose, "0", "usFcw1_TTCSense_Ms", 1100},
        {"hmwSecondsBox", "3.0", kShows, "1.1"},
        {"stepLEdit", nullptr, kType, "12", "sLdw_StepL", 9},
        {"stepREdit", nullptr, kType, "0", "sLdw_StepR", 1},
        {"alarmList", "2", kChoose, "5", "usBnw_WaitOut", 5000}}},
      // The speed edits in the unit of the record.
      {adasMph,
       Record("usDisplaySpeedUnit=1 usFcw_SpeedHi=100 usLdw_SpeedHi=30"),
       {{"ldwUnitLabel", "mph"},
        {"fcwSpeedEdit", "50"},
        {"ldwSpeedEdit", "25", kType, "30", "usLdw_SpeedHi", 48}}},
      {dvr,
       Record("usInfiniteEnable=1 usEnableParking=5 usAccSenseLevel=7 usMotionSenseLevel=4 "
              "usPoweroffVolt=118 usResolution=1 usAccTriggerY=120"),
       {{nullptr, nullptr, kNone, "level 7 loads as 1", "usAccSenseLevel", 1},
        {nullptr, nullptr, kNone, "", "usMotionSenseLevel", 1},
        {"continuousCheck", "[x]", kClick, "", "usInfiniteEnable", 0},
        {"voiceCheck", "[ ]", kClick, "", "usMicInEnable", 1},
        {"cctvCheck", "[ ]", kClick, "", "usEnableParking", 1},
        {"impactList", "Normal", kChoose, "0", "usAccTriggerZ", 50},
        {"triggerZSlider", nullptr, kShows, "50"},
        {"voltageList", "11.8v", kChoose, "20", "usPoweroffVolt", 135},
        {"hdRadio", "[x]"},
        {"fullHdRadio", nullptr, kClick, "", "usResolution", 0},
        {"triggerYBox", "1.20"},
        {"triggerXSlider", nullptr, kSlide, "134", "usAccTriggerX", 130},
        {"triggerXBox", nullptr, kShows, "1.30"}}},
      // A truck lists the 24 V entries.
      {truck,
       Record("usInstall_CarType=5 usPoweroffVolt=300"),
       {{nullptr, nullptr, kNone, "", "usPoweroffVolt", 243},
        {"voltageList", "24.3v", kChoose, "41", "usPoweroffVolt", 255}}},
      {setup,
       Record(
           "usSoundVolume=8 usEvt_SndVoice=1 usBnw_SndVoice=1 usDisplayMethod=2 "
           "usLcdBacklightTime=1 usDisplaySpeedOnOff=1 usDisplayHorizenOnOff=1 usMenuLanguage=5"),
       {{"speakerEdit", "8", kType, "20", "usSoundVolume", 15},
        {"micEdit", nullptr, kType, "12", "usMicVolume", 12},
        {"pipRadio", "[x]"},
        {"thirtySecRadio", "[x]"},
        {"kmhRadio", "[x]"},
        {"languageRadio0", "[x]", kCaption, "Japanese"},
        {"languageRadio1", nullptr, kCaption, "English"},
        {"eventVoiceCheck", nullptr, kClick, "", "usEvt_SndVoice", 0},
        {"fcwVoiceCheck", nullptr, kClick, "", "usFcw_SndVoice", 1},
        {"ldwVoiceCheck", nullptr, kClick, "", "usLdw_SndVoice", 1},
        {"fcdaVoiceCheck", nullptr, kClick, "", "usBnw_SndVoice", 0},
        {"speedCheck", nullptr, kClick, "", "usDisplaySpeedOnOff", 0},
        {"adasCheck", nullptr, kClick, "", "usDisplayTTCOnOff", 1},
        {"horizonCheck", nullptr, kClick, "", "usDisplayHorizenOnOff", 0},
        {"rearRadio", nullptr, kClick, "", "usDisplayMethod", 1},
        {"frontRadio", nullptr, kClick, "", "usDisplayMethod", 0},
        {"alwaysOnRadio", nullptr, kClick, "", "usLcdBacklightTime", 0},
        {"mphRadio", nullptr, kClick, "", "usDisplaySpeedUnit", 1},
        {"frontRadio", nullptr, kShows, "[x]"},  // groups do not exclude each other
        {"languageRadio1", nullptr, kClick, "", "usMenuLanguage", 1},
        {nullptr, nullptr, kNone, "", "usSndLanguage", 1}}},
      {install,
       Record("usInstall_CarType=4 usInstall_CamHeight=170 usInstall_CarWidth=190 "
              "usInstall_AttachedPos=2 sDevicePosX=125 usIoTurnActive=1 usVssPriority=2"),
       {{"vehicleRadio3", "[x]"},
        {"vehicleRadio0", nullptr, kCaption, "Seden"},
        {"vehicleRadio4", nullptr, kClick, "Bus", "usInstall_CarType", 2},
        {"widthEdit", "1.9", kShows, "2.5", "usInstall_CarWidth", 250},
        {"vehicleRadio1", nullptr, kClick, "Compact", "usInstall_CarType", 3},
        {"heightEdit", "1.7", kType, "1.35", "usInstall_CamHeight", 140},
        {"widthEdit", nullptr, kType, "3.7", "usInstall_CarWidth", 300},
        {"offsetEdit", "12.5", kType, "7.25", "sDevicePosX", 72},
        {"pulseEdit", nullptr, kType, "1024", "usoVssPulseA", 1024},
        {"attachedRadio2", "[x]"},
        {"attachedRadio0", nullptr, kClick, "", "usInstall_AttachedPos", 0},
        {"turnRadio1", "[x]"},
        {"turnRadio0", nullptr, kClick, "", "usIoTurnActive", 0},
        {"brakeRadio0", "[x]"},
        {"brakeRadio1", nullptr, kClick, "", "usIoBrakeActive", 1},
        {"priorityRadio2", "[x]"},
        {"priorityRadio1", nullptr, kClick, "", "usVssPriority", 1}}},
      {others,
       Record("usTimeZone=12 usB2BUseDit=1"),
       {{"ditOnRadio", "[x]"},
        {"passwordHint", "password must include eight or\nmore alphanumeric characters"},
        {"timeZoneList", "+0:00", kChoose, "0", "usTimeZone", 1}}},
  };
  for (Page& p : pages) Drive(p.page, p.data, p.rows);
  EXPECT_FALSE(others.findChild<QWidget*>("ditOnRadio")->isEnabled());
  // The PC's time zone through the button, daylight saving included; a failed
  // query changes nothing.
  const struct {
    const char* zone;
    QDate date;
    const char* shown;
    int stored;
  } rows[] = {{"Asia/Tokyo", {2026, 7, 1}, "+9:00", 21},
              {"Europe/Berlin", {2026, 7, 1}, "+2:00", 14},
              {"Europe/Berlin", {2026, 1, 10}, "+1:00", 13},
              {"America/New_York", {2026, 1, 10}, "-5:00", 7},
              {"", {2026, 1, 10}, "-5:00", 7}};
  for (const auto& r : rows) {
    zone = *r.zone ? QTimeZone(r.zone) : QTimeZone();
    at = QDateTime(r.date, QTime(12, 0), QTimeZone::utc());
    others.findChild<QPushButton*>("applyPcTimeZoneButton")->click();
    EXPECT_EQ(others.findChild<QComboBox*>("timeZoneList")->currentText(), r.shown) << r.zone;
    EXPECT_EQ(pages[6].data.usTimeZone, r.stored) << r.zone;
  }
}

// A tab change reloads the page; Escape and Enter do not close the dialog.
TEST(SetupDialog, OpensWithItsTabsReloadsPagesAndKeepsKeys) {
  TempCard card;
  MessageBoxRecorder recorder;
  recorder.QueueAnswer(kIdNo);
  QWidget owner;
  owner.setGeometry(100, 50, 800, 600);
  auto dialog = std::make_unique<CNewSetupDlg>(card.path(), 1, &owner);
  EXPECT_EQ(dialog->windowTitle(), "Setup");
  EXPECT_EQ(dialog->MessageCaption(), "QX-41a");
  EXPECT_EQ(dialog->geometry(), QRect(360, 150, 480, 460));
  EXPECT_EQ(dialog->font().pixelSize(), 11);
  QTabWidget* tabs = dialog->Tabs();
  const QStringList captions = {"ADAS", "DVR", "SETUP", "INSTALL", "OTHERS"};
  ASSERT_EQ(tabs->count(), 5);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->tabText(i), captions[i]);
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_EQ(tabs->geometry(), QRect(10, 10, 460, 440));
  EXPECT_EQ(dialog->OthersPage()->Ssid(), "LUMORA_0007");
  EXPECT_EQ(dialog->OthersPage()->Passphrase(), "lumora1283");
  dialog->show();
  QWidget* adas = dialog->Page(CNewSetupDlg::kTabAdas);
  EXPECT_EQ(Find<QLabel>(adas, "fcwUnitLabel")->text(), "km/h");
  tabs->setCurrentIndex(CNewSetupDlg::kTabSetup);
  QTest::mouseClick(Find<QRadioButton>(dialog->Page(CNewSetupDlg::kTabSetup), "mphRadio"),
                    Qt::LeftButton);
  tabs->setCurrentIndex(CNewSetupDlg::kTabAdas);
  EXPECT_EQ(Find<QLabel>(adas, "fcwUnitLabel")->text(), "mph");
  for (QWidget* target :
       {static_cast<QWidget*>(dialog.get()), Find<QWidget>(adas, "fcwSpeedEdit")}) {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
      QTest::keyClick(target, key);
  }
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(recorder.Requests().empty());
  const std::string before = ReadFile(card.SetupPath());
  dialog.reset();
  ASSERT_EQ(recorder.Requests().size(), 1u);
  EXPECT_EQ(recorder.Requests()[0].text, kQuestion);
  EXPECT_EQ(ReadFile(card.SetupPath()), before);  // No writes nothing
}

// Edits on every page (one shared record) with a short Wi-Fi password: OK to
// the warning keeps the dialog open, Cancel closes it asking about the
// settings only; a valid Wi-Fi change is saved on Yes.
TEST(SetupDialog, CloseWarnsAsksOnceAndWritesWhatTheAnswersAllow) {
  TempCard card;
  const std::string wifiBefore = ReadFile(card.WifiPath());
  MessageBoxRecorder recorder;
  for (int answer : {kIdOk, kIdCancel, kIdYes, kIdYes}) recorder.QueueAnswer(answer);
  {
    CNewSetupDlg dialog(card.path(), 1);
    dialog.show();
    TypeInto(Find<QLineEdit>(dialog.Page(CNewSetupDlg::kTabAdas), "fcwSpeedEdit"), "47");
    dialog.Tabs()->setCurrentIndex(CNewSetupDlg::kTabDvr);
    Choose(Find<QComboBox>(dialog.Page(CNewSetupDlg::kTabDvr), "impactList"), 2);
    dialog.Tabs()->setCurrentIndex(CNewSetupDlg::kTabSetup);
    TypeInto(Find<QLineEdit>(dialog.Page(CNewSetupDlg::kTabSetup), "speakerEdit"), "11");
    dialog.Tabs()->setCurrentIndex(CNewSetupDlg::kTabInstall);
    ClickIndicator(Find<QRadioButton>(dialog.Page(CNewSetupDlg::kTabInstall), "vehicleRadio5"));
    dialog.Tabs()->setCurrentIndex(CNewSetupDlg::kTabOthers);
    Choose(Find<QComboBox>(dialog.OthersPage(), "timeZoneList"), 20);
    TypeInto(Find<QLineEdit>(dialog.OthersPage(), "passwordEdit"), "1234567");
    dialog.close();
    EXPECT_TRUE(dialog.isVisible());
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
  }
  ASSERT_EQ(recorder.Requests().size(), 3u);
  EXPECT_EQ(recorder.Requests()[0].text, "The Wi-Fi password must be at least 8 characters long");
  EXPECT_EQ(recorder.Requests()[0].buttons, kMbOkCancel);
  EXPECT_EQ(recorder.Requests()[1].text, recorder.Requests()[0].text);
  EXPECT_EQ(recorder.Requests()[2].text, kQuestion);
  EXPECT_EQ(recorder.Requests()[2].caption, "QX-41a");
  EXPECT_EQ(recorder.Requests()[2].buttons, kMbYesNo);
  EXPECT_EQ(ReadFile(card.WifiPath()), wifiBefore);
  const std::string setup = ReadFile(card.SetupPath());
  for (const char* line :
       {"usFcw_SpeedHi=50 \r\n", "usFcw_SpeedLo=45 \r\n", "usAccSenseLevel=2 \r\n",
        "usAccTriggerX=90 \r\n", "usSoundVolume=11 \r\n", "usInstall_CarType=5 \r\n",
        "usInstall_CamHeight=250 \r\n", "usTimeZone=21 \r\n"})
    EXPECT_NE(setup.find(line), std::string::npos) << line;
  // The sample file's comments stay where they were.
  EXPECT_EQ(setup.rfind("# Lumora dash camera settings\r\n", 0), 0u);
  EXPECT_NE(setup.find("\r\n# end of settings\r\n"), std::string::npos);
  {
    CNewSetupDlg again(card.path(), 1);
    again.show();
    again.Tabs()->setCurrentIndex(CNewSetupDlg::kTabOthers);
    TypeInto(Find<QLineEdit>(again.OthersPage(), "ssidEdit"), "ROADCAM");
  }
  EXPECT_EQ(recorder.Requests().size(), 4u);
  EXPECT_EQ(ReadFile(card.WifiPath()),
            "[WIFI]\r\nssid=ROADCAM \r\nwpa_passphrase=lumora1283 \r\nnetwork=192.168.20 \r\n");
}

// setup.cfg bytes at the value fields' offsets (32-bit little-endian, < 256).
void ExpectRecord(const std::string& bytes, std::initializer_list<std::pair<int, int>> fields) {
  ASSERT_EQ(bytes.size(), 508u);
  for (const auto& [offset, value] : fields)
    EXPECT_EQ(static_cast<unsigned char>(bytes[offset]), value) << offset;
}

TEST(LegacySetupDialog, SavesRadiosAndSlidersAndKeepsRadiosForTheRun) {
  test::TempFolder card;
  HeldLegacyRadioChoices() = {};
  {
    CSetupDlg dialog;
    dialog.SetCardRoot(card.path());
    dialog.ShowCentred();
    const std::pair<const char*, int> shown[] = {
        {"qualitySlider", 1}, {"brightnessSlider", 3}, {"impactSlider", 5}, {"motionSlider", 1}};
    for (const auto& [name, value] : shown) EXPECT_EQ(Find<QSlider>(&dialog, name)->value(), value);
    for (const char* radio : {"frameFixed30", "voiceOff", "parkingHigh", "eventMotion"})
      QTest::mouseClick(Find<QRadioButton>(&dialog, radio), Qt::LeftButton);
    Find<QSlider>(&dialog, "qualitySlider")->setValue(2);
    Find<QSlider>(&dialog, "brightnessSlider")->setValue(6);
    Find<QSlider>(&dialog, "contrastSlider")->setValue(0);
    Find<QSlider>(&dialog, "sharpnessSlider")->setValue(4);
    QTest::mouseClick(Find<QPushButton>(&dialog, "saveButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.LastWriteOk());
    EXPECT_FALSE(dialog.isVisible());
  }
  ExpectRecord(ReadFile(card / "setup.cfg"),
               {{48, 2}, {60, 2}, {328, 6}, {336, 0}, {340, 4}, {388, 1}, {396, 2}, {432, 3}});
  // The radios are held for the run; reset writes quality 3, voice 1, zeros.
  CSetupDlg again;
  again.SetCardRoot(card.path());
  EXPECT_TRUE(Find<QRadioButton>(&again, "frameFixed30")->isChecked());
  QTest::mouseClick(Find<QPushButton>(&again, "resetButton"), Qt::LeftButton);
  ExpectRecord(ReadFile(card / "setup.cfg"),
               {{48, 3}, {60, 1}, {328, 0}, {336, 0}, {340, 0}, {388, 0}, {396, 0}, {432, 0}});
}

// Pictures of every page in each language and of the legacy and DIT dialogs,
// each different, into $LUMORA_SETTINGS_SHOTS (scripts/screenshot-settings.sh);
// closed without edits (loading clamps some values), the dialogs ask nothing.
TEST(SettingsPictures, EveryPageDrawsInEachLanguage) {
  test::TempFolder temp;
  const QString out =
      qEnvironmentVariable("LUMORA_SETTINGS_SHOTS", QString::fromStdString(temp.path().string()));
  ASSERT_TRUE(QDir().mkpath(out));
  TempCard card;
  MessageBoxRecorder recorder;
  QSet<QByteArray> pictures;
  auto save = [&](QWidget& widget, const QString& name) {
    QApplication::processEvents();
    const QImage image = widget.grab().toImage();
    EXPECT_TRUE(image.save(out + "/" + name + ".png")) << name.toStdString();
    pictures << QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
  };
  // The camera's menu language picks the captions' language on every page.
  const struct {
    int code, strings;
    const char* name;
  } languages[] = {{1, kLangEnglish, "en"}, {0, kLangJapanese, "ja"}, {9, kLangKorean, "ko"}};
  const char* tabs[] = {"adas", "dvr", "setup", "install", "others"};
  for (const auto& [code, strings, language] : languages) {
    card.SetKey("usMenuLanguage", code);
    CNewSetupDlg dialog(card.path(), 1);
    EXPECT_EQ(dialog.Tabs()->tabText(4), StringTable::Instance().Load(721, strings));
    EXPECT_EQ(Find<QRadioButton>(dialog.Page(CNewSetupDlg::kTabSetup), "languageRadio0")->text(),
              StringTable::Instance().Load(699, strings));
    dialog.show();
    for (int tab = 0; tab < 5; ++tab) {
      dialog.Tabs()->setCurrentIndex(tab);
      save(dialog, QString("%1-%2").arg(language, tabs[tab]));
    }
  }
  CSetupDlg legacy;
  legacy.SetCardRoot(card.path());
  legacy.ShowCentred();
  save(legacy, "legacy-setup");
  QWidget owner;
  owner.setGeometry(100, 50, 800, 600);
  CDITSetupDlg dit(60, &owner);
  dit.show();
  save(dit, "dit-setup");
  EXPECT_EQ(dit.windowTitle(), "DIT Setup");
  EXPECT_EQ(dit.geometry(), QRect(400, 400, 250, 100));
  dit.LimitEdit()->setText("85");
  dit.reject();  // cancelled: the old limit stays
  EXPECT_EQ(dit.Result(), 60);
  EXPECT_EQ(pictures.size(), 17);
  EXPECT_TRUE(recorder.Requests().empty());
}

}  // namespace
}  // namespace lumora
