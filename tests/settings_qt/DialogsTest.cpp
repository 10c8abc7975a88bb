// The settings dialogs on a temporary card: the setup dialog's language and
// tabs, and that closing hands the edits and the answers to the close rules
// (whose every case is checked in tests/settings); the legacy and DIT dialogs'
// controls reaching their files and values.

#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>

#include <memory>

#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "settings/qt/CDITSetupDlg.h"
#include "settings/qt/CNewSetupDlg.h"
#include "settings/qt/CSetupDlg.h"
#include "settings/qt/CTabFiveDlg.h"
#include "tests/settings_qt/SettingsTestCard.h"

namespace lumora {
namespace {

using test::ReadFile;
using testing::Choose;
using testing::ClickIndicator;
using testing::Find;
using testing::TempCard;
using testing::TypeInto;

const char kQuestion[] = "Do you want to save the changes?";

TEST(SetupDialog, OpensInTheCameraLanguageWithItsTabs) {
  TempCard card;
  QWidget owner;
  owner.setGeometry(100, 50, 800, 600);
  {
    CNewSetupDlg dialog(card.path(), 0, &owner);
    EXPECT_EQ(dialog.windowTitle(), "Setup");
    EXPECT_EQ(dialog.MessageCaption(), "QX-41a");
    EXPECT_EQ(dialog.geometry(), QRect(360, 150, 480, 460));
    EXPECT_EQ(dialog.font().pixelSize(), 11);
    QTabWidget* tabs = dialog.Tabs();
    const QStringList captions = {"ADAS", "DVR", "SETUP", "INSTALL", "OTHERS"};
    ASSERT_EQ(tabs->count(), 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->tabText(i), captions[i]);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->geometry(), QRect(10, 10, 460, 440));
    EXPECT_EQ(dialog.OthersPage()->Ssid(), "LUMORA_0007");
    EXPECT_EQ(dialog.OthersPage()->Passphrase(), "lumora1283");
  }
  // The camera's menu language picks the captions' language on every page.
  const struct {
    int code, dialogCode, strings;
  } rows[] = {{1, 1, kLangEnglish}, {5, 0, kLangJapanese}, {9, 9, kLangKorean}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.code);
    card.SetKey("usMenuLanguage", r.code);
    CNewSetupDlg dialog(card.path(), 1, &owner);
    EXPECT_EQ(dialog.LanguageCode(), r.dialogCode);
    EXPECT_EQ(dialog.StringLanguage(), r.strings);
    EXPECT_EQ(dialog.Tabs()->tabText(4), StringTable::Instance().Load(721, r.strings));
    EXPECT_EQ(Find<QRadioButton>(dialog.Page(CNewSetupDlg::kTabSetup), "languageRadio0")->text(),
              StringTable::Instance().Load(699, r.strings));
    QStringList titles;
    for (QGroupBox* group : dialog.Page(CNewSetupDlg::kTabAdas)->findChildren<QGroupBox*>())
      titles << group->title();
    EXPECT_TRUE(titles.contains(StringTable::Instance().Load(646, r.strings)));
  }
}

TEST(SetupDialog, TabChangeReloadsThePageAndKeysAreSwallowed) {
  TempCard card;
  MessageBoxRecorder recorder;
  recorder.QueueAnswer(kIdNo);
  auto dialog = std::make_unique<CNewSetupDlg>(card.path(), 1);
  dialog->show();
  QWidget* adas = dialog->Page(CNewSetupDlg::kTabAdas);
  EXPECT_EQ(Find<QLabel>(adas, "fcwUnitLabel")->text(), "km/h");
  dialog->Tabs()->setCurrentIndex(CNewSetupDlg::kTabSetup);
  QTest::mouseClick(Find<QRadioButton>(dialog->Page(CNewSetupDlg::kTabSetup), "mphRadio"),
                    Qt::LeftButton);
  dialog->Tabs()->setCurrentIndex(CNewSetupDlg::kTabAdas);
  EXPECT_EQ(Find<QLabel>(adas, "fcwUnitLabel")->text(), "mph");
  for (QWidget* target :
       {static_cast<QWidget*>(dialog.get()), Find<QWidget>(adas, "fcwSpeedEdit")}) {
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
      QTest::keyClick(target, key);
  }
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(recorder.Requests().empty());
  dialog.reset();
  ASSERT_EQ(recorder.Requests().size(), 1u);
  EXPECT_EQ(recorder.Requests()[0].text, kQuestion);
}

// Edits on every page and on the Wi-Fi strings; the answer decides what is
// written. A dialog closed without edits asks nothing (loading alone, which
// clamps some values, is no change).
TEST(SetupDialog, CloseAsksOnceAndWritesWhatTheAnswerAllows) {
  for (const int answer : {int{kIdYes}, int{kIdNo}, 0}) {
    SCOPED_TRACE(answer);
    TempCard card;
    const std::string setupBefore = ReadFile(card.SetupPath());
    const std::string wifiBefore = ReadFile(card.WifiPath());
    MessageBoxRecorder recorder;
    if (answer != 0) recorder.QueueAnswer(answer);
    {
      CNewSetupDlg dialog(card.path(), 1);
      dialog.show();
      if (answer != 0) {
        TypeInto(Find<QLineEdit>(dialog.Page(CNewSetupDlg::kTabAdas), "fcwSpeedEdit"), "47");
        dialog.Tabs()->setCurrentIndex(CNewSetupDlg::kTabDvr);
        Choose(Find<QComboBox>(dialog.Page(CNewSetupDlg::kTabDvr), "impactList"), 2);
        dialog.Tabs()->setCurrentIndex(CNewSetupDlg::kTabSetup);
        TypeInto(Find<QLineEdit>(dialog.Page(CNewSetupDlg::kTabSetup), "speakerEdit"), "11");
        dialog.Tabs()->setCurrentIndex(CNewSetupDlg::kTabInstall);
        ClickIndicator(Find<QRadioButton>(dialog.Page(CNewSetupDlg::kTabInstall), "vehicleRadio5"));
        dialog.Tabs()->setCurrentIndex(CNewSetupDlg::kTabOthers);
        Choose(Find<QComboBox>(dialog.OthersPage(), "timeZoneList"), 20);
        TypeInto(Find<QLineEdit>(dialog.OthersPage(), "ssidEdit"), "ROADCAM");
      }
      dialog.close();
      EXPECT_FALSE(dialog.isVisible());
    }
    const std::string setup = ReadFile(card.SetupPath());
    if (answer != kIdYes) {
      EXPECT_EQ(recorder.Requests().size(), answer == kIdNo ? 1u : 0u);
      EXPECT_EQ(setup, setupBefore);
      EXPECT_EQ(ReadFile(card.WifiPath()), wifiBefore);
      continue;
    }
    ASSERT_EQ(recorder.Requests().size(), 1u);
    EXPECT_EQ(recorder.Requests()[0].text, kQuestion);
    EXPECT_EQ(recorder.Requests()[0].caption, "QX-41a");
    EXPECT_EQ(recorder.Requests()[0].buttons, kMbYesNo);
    for (const char* line :
         {"usFcw_SpeedHi=50 \r\n", "usFcw_SpeedLo=45 \r\n", "usAccSenseLevel=2 \r\n",
          "usAccTriggerX=90 \r\n", "usSoundVolume=11 \r\n", "usInstall_CarType=5 \r\n",
          "usInstall_CamHeight=250 \r\n", "usTimeZone=21 \r\n"})
      EXPECT_NE(setup.find(line), std::string::npos) << line;
    // The sample file's comments stay where they were.
    EXPECT_EQ(setup.rfind("# Lumora dash camera settings\r\n", 0), 0u);
    EXPECT_NE(setup.find("\r\n# end of settings\r\n"), std::string::npos);
    EXPECT_EQ(ReadFile(card.WifiPath()),
              "[WIFI]\r\nssid=ROADCAM \r\nwpa_passphrase=lumora1283 \r\nnetwork=192.168.20 \r\n");
  }
}

TEST(SetupDialog, ShortPassphraseOkKeepsOpenCancelSkipsWifi) {
  TempCard card;
  const std::string wifiBefore = ReadFile(card.WifiPath());
  MessageBoxRecorder recorder;
  for (int answer : {kIdOk, kIdCancel, kIdYes}) recorder.QueueAnswer(answer);
  {
    CNewSetupDlg dialog(card.path(), 1);
    dialog.show();
    TypeInto(Find<QLineEdit>(dialog.Page(CNewSetupDlg::kTabAdas), "stepLEdit"), "2");
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
  EXPECT_EQ(ReadFile(card.WifiPath()), wifiBefore);
  EXPECT_NE(ReadFile(card.SetupPath()).find("sLdw_StepL=2 \r\n"), std::string::npos);
}

// setup.cfg bytes at the value fields' offsets (32-bit little-endian, < 256).
void ExpectRecord(const std::string& bytes, std::initializer_list<std::pair<int, int>> fields) {
  ASSERT_EQ(bytes.size(), 508u);
  for (const auto& [offset, value] : fields)
    EXPECT_EQ(static_cast<unsigned char>(bytes[offset]), value) << offset;
}

TEST(LegacySetupDialog, SavesRadiosAndSlidersAndKeepsRadiosForTheRun) {
  TempCard card(false);
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
    const std::pair<const char*, int> slid[] = {{"qualitySlider", 2},
                                                {"brightnessSlider", 6},
                                                {"contrastSlider", 0},
                                                {"sharpnessSlider", 4}};
    for (const auto& [name, value] : slid) Find<QSlider>(&dialog, name)->setValue(value);
    QTest::mouseClick(Find<QPushButton>(&dialog, "saveButton"), Qt::LeftButton);
    EXPECT_TRUE(dialog.LastWriteOk());
    EXPECT_FALSE(dialog.isVisible());
  }
  ExpectRecord(ReadFile(card / "setup.cfg"),
               {{48, 2}, {60, 2}, {328, 6}, {336, 0}, {340, 4}, {388, 1}, {396, 2}, {432, 3}});
  // A new dialog of the same run shows the held radio values; reset writes
  // picture quality 3, voice 1 and zeros.
  CSetupDlg again;
  again.SetCardRoot(card.path());
  EXPECT_TRUE(Find<QRadioButton>(&again, "frameFixed30")->isChecked());
  QTest::mouseClick(Find<QPushButton>(&again, "resetButton"), Qt::LeftButton);
  ExpectRecord(ReadFile(card / "setup.cfg"),
               {{48, 3}, {60, 1}, {328, 0}, {336, 0}, {340, 0}, {388, 0}, {396, 0}, {432, 0}});
}

TEST(DitSetupDialog, PlacementTypedValueAndCancel) {
  QWidget owner;
  owner.setGeometry(100, 50, 800, 600);
  CDITSetupDlg dialog(60, &owner);
  EXPECT_EQ(dialog.windowTitle(), "DIT Setup");
  EXPECT_EQ(dialog.geometry(), QRect(400, 400, 250, 100));
  EXPECT_EQ(dialog.LimitEdit()->text(), "60");
  dialog.show();
  dialog.LimitEdit()->setText("-3");
  EXPECT_EQ(dialog.Value(), -3);
  dialog.reject();
  EXPECT_EQ(dialog.Result(), 60);
}

}  // namespace
}  // namespace lumora
