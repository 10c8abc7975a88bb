// The main window's SETUP command (card and file checks, the dialog, language
// and speed unit afterwards) and the legacy settings button.
#include <QApplication>
#include <QRadioButton>
#include <QTimer>

#include "app/ViewerParts.h"
#include "res/StringTable.h"
#include "settings/CardSetupFiles.h"
#include "settings/qt/CNewSetupDlg.h"
#include "settings/qt/CSetupDlg.h"
#include "settings/qt/CSetupPage.h"
#include "tests/app/WindowTest.h"

namespace lumora {
namespace {

class SetupCommandsTest : public test::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    adjustParts_ = [this](CSamplePlayerDlg::Parts& parts) {
      // The camera language as the viewer learns it: from the card's file.
      parts.languageProbe = [this] {
        return cardFound_ ? ProbeCameraLanguage(*MakeDrives(Card())) : 0;
      };
      parts.findRemovableCard = parts.findCard;
      parts.readSpeedUnit = [this](int previous) {
        ++speedReads_;
        return static_cast<int>(ReadSpeedUnit(Card(), static_cast<std::uint16_t>(previous)));
      };
    };
    MakeWindow();
  }

  int speedReads_ = 0;
};

TEST_F(SetupCommandsTest, SetupWithoutCardOrSettingsFileShowsItsMessage) {
  cardFound_ = false;
  EXPECT_TRUE(window_->OnCommand(kIdSetup));
  cardFound_ = true;
  const int reads = speedReads_;
  EXPECT_TRUE(window_->OnCommand(kIdSetup));
  ASSERT_EQ(boxes_.Requests().size(), 2u);
  EXPECT_EQ(boxes_.Requests()[0].text, StringTable::Instance().Load(623));
  EXPECT_EQ(boxes_.Requests()[1].text, StringTable::Instance().Load(630));
  EXPECT_EQ(speedReads_, reads);  // the dialog did not open
}

TEST_F(SetupCommandsTest, SetupRunsTheDialogThenRefreshesLanguageAndUnit) {
  dir_.Write("card/SETUP/data_factory.cfg", "HVN");
  dir_.Write("card/cfg/data_setup.cfg",
             "# camera settings\r\n[BB]\r\nusDisplaySpeedUnit=0 \r\nusMenuLanguage=1 \r\n"
             "usSndLanguage=1 \r\n");
  window_->ApplyLanguage(1);
  const int reads = speedReads_;
  EXPECT_EQ(window_->SpeedUnit(), 0);
  bool seen = false;
  // While the dialog runs: switch the camera to Japanese and mph, and close.
  QTimer::singleShot(0, [&seen] {
    auto* dialog = qobject_cast<CNewSetupDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    seen = true;
    EXPECT_EQ(dialog->LanguageCode(), 1);
    QWidget* page = dialog->Page(CNewSetupDlg::kTabSetup);
    page->findChild<QRadioButton*>(QStringLiteral("languageRadio0"))->click();
    page->findChild<QRadioButton*>(QStringLiteral("mphRadio"))->click();
    dialog->close();
  });
  boxes_.QueueAnswer(kIdYes);
  EXPECT_TRUE(window_->OnCommand(kIdSetup));
  EXPECT_TRUE(seen);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, "Do you want to save the changes?");
  EXPECT_NE(test::ReadFile(dir_ / "card/cfg/data_setup.cfg").find("usMenuLanguage=0 \r\n"),
            std::string::npos);
  EXPECT_EQ(StringTable::Instance().Language(), kLangJapanese);
  EXPECT_EQ(speedReads_, reads + 1);
  EXPECT_EQ(window_->SpeedUnit(), 1);
}

TEST_F(SetupCommandsTest, LegacySettingsButtonNeedsAnOpenedCard) {
  EXPECT_TRUE(window_->OnCommand(kIdSettings));
  EXPECT_EQ(window_->LegacySetupDialog(), nullptr);
  window_->OpenCard(Card());
  EXPECT_TRUE(window_->OnCommand(kIdSettings));
  CSetupDlg* dialog = window_->LegacySetupDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
  dialog->hide();
  EXPECT_TRUE(window_->OnCommand(kIdSettings));  // the same window again
  EXPECT_EQ(window_->LegacySetupDialog(), dialog);
  EXPECT_TRUE(dialog->isVisible());
}

}  // namespace
}  // namespace lumora
