// The settings dialog on a temporary card: opening checks, language, tabs,
// and that closing hands the edits and the answers to the close rules (whose
// every case is checked in tests/settings).

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "settings/qt/CNewSetupDlg.h"
#include "settings/qt/CTabFiveDlg.h"
#include "settings/qt/SetupDialogOpener.h"
#include "tests/settings_qt/SettingsTestCard.h"

namespace lumora {
namespace {

using testing::Choose;
using testing::ReadFile;
using testing::TempCard;
using testing::TypeInto;

template <typename T>
T* Find(QWidget* parent, const char* name) {
  T* widget = parent->findChild<T*>(QLatin1String(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

void ClickIndicator(QAbstractButton* button) {
  QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

const char kQuestion[] = "Do you want to save the changes?";

TEST(SetupDialog, OpensInTheCameraLanguageWithItsTabs) {
  TempCard card;
  QWidget owner;
  owner.setGeometry(100, 50, 800, 600);
  {
    CNewSetupDlg dialog(card.Root(), 0, &owner);
    EXPECT_EQ(dialog.windowTitle(), "Setup");
    EXPECT_EQ(dialog.MessageCaption(), "QX-41a");
    EXPECT_EQ(dialog.geometry(), QRect(360, 150, 480, 460));
    EXPECT_EQ(dialog.font().pixelSize(), 11);
    QTabWidget* tabs = dialog.Tabs();
    ASSERT_EQ(tabs->count(), 5);
    const QStringList captions = {"ADAS", "DVR", "SETUP", "INSTALL", "OTHERS"};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(tabs->tabText(i), captions[i]);
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(tabs->geometry(), QRect(10, 10, 460, 440));
    EXPECT_EQ(dialog.OthersPage()->Ssid(), "LUMORA_0007");
    EXPECT_EQ(dialog.OthersPage()->Passphrase(), "lumora1283");
  }
  // The camera's menu language picks the captions' language.
  const struct {
    int code, dialogCode, strings;
  } rows[] = {{1, 1, kLangEnglish}, {5, 0, kLangJapanese}, {9, 9, kLangKorean}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.code);
    card.SetKey("usMenuLanguage", r.code);
    CNewSetupDlg dialog(card.Root(), 1, &owner);
    EXPECT_EQ(dialog.LanguageCode(), r.dialogCode);
    EXPECT_EQ(dialog.StringLanguage(), r.strings);
    EXPECT_EQ(dialog.Tabs()->tabText(4), StringTable::Instance().Load(721, r.strings));
    EXPECT_EQ(Find<QRadioButton>(dialog.Page(CNewSetupDlg::kTabSetup), "languageRadio0")->text(),
              StringTable::Instance().Load(699, r.strings));
  }
}

TEST(SetupDialog, TabChangeReloadsThePageAndKeysAreSwallowed) {
  TempCard card;
  MessageBoxRecorder recorder;
  recorder.QueueAnswer(kIdNo);
  auto dialog = std::make_unique<CNewSetupDlg>(card.Root(), 1);
  dialog->show();
  QTabWidget* tabs = dialog->Tabs();
  QWidget* adas = dialog->Page(CNewSetupDlg::kTabAdas);
  EXPECT_EQ(Find<QLabel>(adas, "fcwUnitLabel")->text(), "km/h");
  tabs->setCurrentIndex(CNewSetupDlg::kTabSetup);
  QTest::mouseClick(Find<QRadioButton>(dialog->Page(CNewSetupDlg::kTabSetup), "mphRadio"),
                    Qt::LeftButton);
  tabs->setCurrentIndex(CNewSetupDlg::kTabAdas);
  EXPECT_EQ(Find<QLabel>(adas, "fcwUnitLabel")->text(), "mph");

  QTest::keyClick(dialog.get(), Qt::Key_Escape);
  QTest::keyClick(dialog.get(), Qt::Key_Return);
  QTest::keyClick(Find<QLineEdit>(adas, "fcwSpeedEdit"), Qt::Key_Escape);
  QTest::keyClick(Find<QLineEdit>(adas, "fcwSpeedEdit"), Qt::Key_Enter);
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
      CNewSetupDlg dialog(card.Root(), 1);
      dialog.show();
      if (answer != 0) {
        QTabWidget* tabs = dialog.Tabs();
        TypeInto(Find<QLineEdit>(dialog.Page(CNewSetupDlg::kTabAdas), "fcwSpeedEdit"), "47");
        tabs->setCurrentIndex(CNewSetupDlg::kTabDvr);
        Choose(Find<QComboBox>(dialog.Page(CNewSetupDlg::kTabDvr), "impactList"), 2);
        tabs->setCurrentIndex(CNewSetupDlg::kTabSetup);
        TypeInto(Find<QLineEdit>(dialog.Page(CNewSetupDlg::kTabSetup), "speakerEdit"), "11");
        tabs->setCurrentIndex(CNewSetupDlg::kTabInstall);
        ClickIndicator(Find<QRadioButton>(dialog.Page(CNewSetupDlg::kTabInstall), "vehicleRadio5"));
        tabs->setCurrentIndex(CNewSetupDlg::kTabOthers);
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
  recorder.QueueAnswer(kIdOk);
  recorder.QueueAnswer(kIdCancel);
  recorder.QueueAnswer(kIdYes);
  {
    CNewSetupDlg dialog(card.Root(), 1);
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

TEST(SetupOpening, CardAndSettingsFileChecks) {
  MessageBoxRecorder recorder;
  StringTable::Instance().SetLanguage(kLangEnglish);
  int runs = 0;
  auto run = [&runs](CNewSetupDlg& dialog) {
    ++runs;
    dialog.close();
  };
  TempCard empty(false, false), card;
  EXPECT_EQ(OpenSetupDialog(nullptr, std::nullopt, 1, "Viewer", run), SetupOpenResult::kNoCard);
  EXPECT_EQ(OpenSetupDialog(nullptr, empty.Root(), 1, "Viewer", run),
            SetupOpenResult::kNoSetupFile);
  EXPECT_EQ(runs, 0);
  EXPECT_EQ(OpenSetupDialog(nullptr, card.Root(), 1, "Viewer", run), SetupOpenResult::kShown);
  EXPECT_EQ(runs, 1);
  ASSERT_EQ(recorder.Requests().size(), 2u);
  EXPECT_EQ(recorder.Requests()[0].text, "There is no device SD card.");
  EXPECT_EQ(recorder.Requests()[0].caption, "Viewer");
  EXPECT_EQ(recorder.Requests()[1].text, "Can't open a setup file.");
}

}  // namespace
}  // namespace lumora
