// The settings dialog on a temporary card: opening checks, language, tabs,
// closing rules and what is written to the card.

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
#include "settings/SetupFile.h"
#include "settings/qt/CNewSetupDlg.h"
#include "settings/qt/CTabFiveDlg.h"
#include "settings/qt/SetupDialogOpener.h"
#include "tests/settings_qt/SettingsTestCard.h"

namespace lumora {
namespace {

using testing::Choose;
using testing::ReadAll;
using testing::TempCard;
using testing::TypeInto;

template <typename T>
T* Find(QWidget* parent, const char* name) {
  T* widget = parent->findChild<T*>(QLatin1String(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

const char kQuestion[] = "Do you want to save the changes?";

// The sample card's wifi.cfg (seed 7) with another SSID.
const char kWifiWithNewSsid[] =
    "[WIFI]\r\nssid=ROADCAM \r\nwpa_passphrase=lumora1283 \r\nnetwork=192.168.20 \r\n";

TEST(SetupDialog, OpensInTheCameraLanguageWithItsTabs) {
  TempCard card;
  QWidget owner;
  owner.setGeometry(100, 50, 800, 600);
  {
    CNewSetupDlg dialog(card.Root(), 0, &owner);
    EXPECT_EQ(dialog.LanguageCode(), 1);  // the sample card is in English
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

  card.SetKey("usMenuLanguage", 5);
  {
    CNewSetupDlg dialog(card.Root(), 1, &owner);
    EXPECT_EQ(dialog.LanguageCode(), 0);
    EXPECT_EQ(dialog.StringLanguage(), kLangJapanese);
    EXPECT_EQ(dialog.Tabs()->tabText(4), StringTable::Instance().Load(721, kLangJapanese));
    EXPECT_NE(dialog.Tabs()->tabText(4), "OTHERS");
    auto* first = Find<QRadioButton>(dialog.Page(CNewSetupDlg::kTabSetup), "languageRadio0");
    EXPECT_TRUE(first->isChecked());
    EXPECT_EQ(first->text(), StringTable::Instance().Load(699, kLangJapanese));
  }
  card.SetKey("usMenuLanguage", 9);
  {
    CNewSetupDlg dialog(card.Root(), 1, &owner);
    EXPECT_EQ(dialog.StringLanguage(), kLangKorean);
    EXPECT_EQ(dialog.Tabs()->tabText(4), StringTable::Instance().Load(721, kLangKorean));
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
  EXPECT_EQ(dialog->Record().usDisplaySpeedUnit, 1);
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

TEST(SetupDialog, UnchangedDialogAsksNothingAndWritesNothing) {
  TempCard card;
  const std::string setupBefore = ReadAll(card.SetupPath());
  const std::string wifiBefore = ReadAll(card.WifiPath());
  MessageBoxRecorder recorder;
  {
    CNewSetupDlg dialog(card.Root(), 1);
    dialog.show();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
  }
  EXPECT_TRUE(recorder.Requests().empty());
  EXPECT_EQ(ReadAll(card.SetupPath()), setupBefore);
  EXPECT_EQ(ReadAll(card.WifiPath()), wifiBefore);
}

TEST(SetupDialog, OnlySsidChangedAsksOnceAndWritesOnlyWifi) {
  TempCard card;
  const std::string setupBefore = ReadAll(card.SetupPath());
  MessageBoxRecorder recorder;
  recorder.QueueAnswer(kIdYes);
  {
    CNewSetupDlg dialog(card.Root(), 1);
    dialog.show();
    dialog.Tabs()->setCurrentIndex(CNewSetupDlg::kTabOthers);
    TypeInto(Find<QLineEdit>(dialog.OthersPage(), "ssidEdit"), "ROADCAM");
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
  }
  ASSERT_EQ(recorder.Requests().size(), 1u);
  EXPECT_EQ(recorder.Requests()[0].text, kQuestion);
  EXPECT_EQ(recorder.Requests()[0].caption, "QX-41a");
  EXPECT_EQ(recorder.Requests()[0].buttons, kMbYesNo);
  EXPECT_EQ(ReadAll(card.WifiPath()), kWifiWithNewSsid);
  EXPECT_EQ(ReadAll(card.SetupPath()), setupBefore);
}

TEST(SetupDialog, SettingsChangedAnsweredNoWritesNothing) {
  TempCard card;
  const std::string setupBefore = ReadAll(card.SetupPath());
  const std::string wifiBefore = ReadAll(card.WifiPath());
  MessageBoxRecorder recorder;
  recorder.QueueAnswer(kIdNo);
  {
    CNewSetupDlg dialog(card.Root(), 1);
    TypeInto(Find<QLineEdit>(dialog.Page(CNewSetupDlg::kTabAdas), "fcwSpeedEdit"), "47");
    TypeInto(Find<QLineEdit>(dialog.OthersPage(), "ssidEdit"), "ROADCAM");
    dialog.close();
  }
  EXPECT_EQ(recorder.Requests().size(), 1u);
  EXPECT_EQ(ReadAll(card.SetupPath()), setupBefore);
  EXPECT_EQ(ReadAll(card.WifiPath()), wifiBefore);
}

TEST(SetupDialog, SettingsAndWifiChangedAnsweredYesWritesBoth) {
  TempCard card;
  MessageBoxRecorder recorder;
  recorder.QueueAnswer(kIdYes);
  SetupComments comments;
  SetupData before;
  ASSERT_TRUE(LoadSetupFile(card.SetupPath(), before, comments));
  {
    CNewSetupDlg dialog(card.Root(), 1);
    TypeInto(Find<QLineEdit>(dialog.Page(CNewSetupDlg::kTabAdas), "fcwSpeedEdit"), "47");
    TypeInto(Find<QLineEdit>(dialog.OthersPage(), "ssidEdit"), "ROADCAM");
    dialog.close();
  }
  EXPECT_EQ(recorder.Requests().size(), 1u);
  // The sample file's values with the FCW speeds changed, the comments kept.
  std::string expected = BuildSetupFileText(before, comments);
  const std::string oldHi = "usFcw_SpeedHi=" + std::to_string(before.usFcw_SpeedHi) + " \r\n";
  const std::string oldLo = "usFcw_SpeedLo=" + std::to_string(before.usFcw_SpeedLo) + " \r\n";
  ASSERT_NE(expected.find(oldHi), std::string::npos);
  expected.replace(expected.find(oldHi), oldHi.size(), "usFcw_SpeedHi=50 \r\n");
  expected.replace(expected.find(oldLo), oldLo.size(), "usFcw_SpeedLo=45 \r\n");
  const std::string written = ReadAll(card.SetupPath());
  EXPECT_EQ(written, expected);
  EXPECT_EQ(written.rfind("# Lumora dash camera settings\r\n", 0), 0u);
  EXPECT_NE(written.find("\r\n# end of settings\r\n"), std::string::npos);
  EXPECT_EQ(ReadAll(card.WifiPath()), kWifiWithNewSsid);
}

TEST(SetupDialog, ShortPassphraseOkKeepsOpenCancelSkipsWifi) {
  TempCard card;
  const std::string setupBefore = ReadAll(card.SetupPath());
  const std::string wifiBefore = ReadAll(card.WifiPath());
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
    EXPECT_EQ(dialog.WifiCancelFlag(), 0);
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.WifiCancelFlag(), -1);
  }
  ASSERT_EQ(recorder.Requests().size(), 3u);
  EXPECT_EQ(recorder.Requests()[0].text, "The Wi-Fi password must be at least 8 characters long");
  EXPECT_EQ(recorder.Requests()[0].buttons, kMbOkCancel);
  EXPECT_EQ(recorder.Requests()[1].text, recorder.Requests()[0].text);
  EXPECT_EQ(recorder.Requests()[2].text, kQuestion);
  EXPECT_EQ(ReadAll(card.WifiPath()), wifiBefore);
  EXPECT_NE(ReadAll(card.SetupPath()), setupBefore);
  EXPECT_NE(ReadAll(card.SetupPath()).find("sLdw_StepL=2 \r\n"), std::string::npos);
}

TEST(SetupDialog, MissingWifiFileIsCreated) {
  TempCard card(/*withWifi=*/false);
  MessageBoxRecorder recorder;
  recorder.QueueAnswer(kIdYes);
  {
    CNewSetupDlg dialog(card.Root(), 1);
    EXPECT_EQ(dialog.OthersPage()->Ssid(), "");
    EXPECT_EQ(dialog.OthersPage()->Passphrase(), "");
    TypeInto(Find<QLineEdit>(dialog.OthersPage(), "ssidEdit"), "MYCAR");
    TypeInto(Find<QLineEdit>(dialog.OthersPage(), "passwordEdit"), "drive2026");
    dialog.close();
  }
  EXPECT_EQ(recorder.Requests().size(), 1u);
  EXPECT_EQ(ReadAll(card.WifiPath()),
            "[WIFI]\r\nssid=MYCAR \r\nwpa_passphrase=drive2026 \r\nnetwork=192.168.20 \r\n");
}

TEST(SetupDialog, EveryPageEditedReachesTheCard) {
  TempCard card;
  MessageBoxRecorder recorder;
  recorder.QueueAnswer(kIdYes);
  {
    CNewSetupDlg dialog(card.Root(), 1);
    dialog.show();
    QTabWidget* tabs = dialog.Tabs();
    tabs->setCurrentIndex(CNewSetupDlg::kTabDvr);
    Choose(Find<QComboBox>(dialog.Page(CNewSetupDlg::kTabDvr), "impactList"), 2);
    tabs->setCurrentIndex(CNewSetupDlg::kTabSetup);
    TypeInto(Find<QLineEdit>(dialog.Page(CNewSetupDlg::kTabSetup), "speakerEdit"), "11");
    tabs->setCurrentIndex(CNewSetupDlg::kTabInstall);
    QRadioButton* truck =
        Find<QRadioButton>(dialog.Page(CNewSetupDlg::kTabInstall), "vehicleRadio5");
    // On the round indicator, where the user clicks.
    QTest::mouseClick(truck, Qt::LeftButton, {}, QPoint(6, truck->height() / 2));
    tabs->setCurrentIndex(CNewSetupDlg::kTabOthers);
    Choose(Find<QComboBox>(dialog.OthersPage(), "timeZoneList"), 20);
    dialog.close();
  }
  const std::string written = ReadAll(card.SetupPath());
  for (const char* line :
       {"usAccSenseLevel=2 \r\n", "usAccTriggerX=90 \r\n", "usSoundVolume=11 \r\n",
        "usInstall_CarType=5 \r\n", "usInstall_CamHeight=250 \r\n", "usTimeZone=21 \r\n"})
    EXPECT_NE(written.find(line), std::string::npos) << line;
}

TEST(SetupOpening, CardAndSettingsFileChecks) {
  MessageBoxRecorder recorder;
  StringTable::Instance().SetLanguage(kLangEnglish);
  int runs = 0;
  auto run = [&runs](CNewSetupDlg& dialog) {
    ++runs;
    dialog.close();
  };
  EXPECT_EQ(OpenSetupDialog(nullptr, std::nullopt, 1, "Viewer", run), SetupOpenResult::kNoCard);
  ASSERT_EQ(recorder.Requests().size(), 1u);
  EXPECT_EQ(recorder.Requests()[0].text, "There is no device SD card.");
  EXPECT_EQ(recorder.Requests()[0].caption, "Viewer");

  TempCard empty(false, false);
  EXPECT_EQ(OpenSetupDialog(nullptr, empty.Root(), 1, "Viewer", run),
            SetupOpenResult::kNoSetupFile);
  ASSERT_EQ(recorder.Requests().size(), 2u);
  EXPECT_EQ(recorder.Requests()[1].text, "Can't open a setup file.");
  EXPECT_EQ(runs, 0);

  TempCard card;
  EXPECT_EQ(OpenSetupDialog(nullptr, card.Root(), 1, "Viewer", run), SetupOpenResult::kShown);
  EXPECT_EQ(runs, 1);
  EXPECT_EQ(recorder.Requests().size(), 2u);
}

}  // namespace
}  // namespace lumora
