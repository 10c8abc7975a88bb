// The main window's settings commands: SETUP (card and settings-file checks,
// the modal dialog, language and speed unit afterwards), the legacy settings
// button and DITSTP.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "library/qt/CDitMode.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "settings/CardSetupFiles.h"
#include "settings/SetupFile.h"
#include "settings/SystemPageRules.h"
#include "settings/qt/CDITSetupDlg.h"
#include "settings/qt/CNewSetupDlg.h"
#include "settings/qt/CSetupDlg.h"
#include "settings/qt/CSetupPage.h"
#include "tests/support/FakeParts.h"

namespace lumora {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class SetupCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    card_ = dir_.path().toStdString() + "/card";
    std::filesystem::create_directories(card_ + "/NORMAL");
    CSamplePlayerDlg::Parts parts;
    parts.player = std::make_unique<test::FakePlayer>();
    parts.track = std::make_unique<test::FakeTrack>();
    parts.map = std::make_unique<test::FakeMap>();
    parts.mapWidget = new QWidget;
    // The camera language as the viewer learns it: from the card's file.
    parts.languageProbe = [this] {
      ++probes_;
      const SetupFileLocation location = FindSetupFile(card_);
      SetupData data;
      SetupComments comments;
      if (!cardPresent_ || !location.found || !LoadSetupFile(location.path, data, comments))
        return 0;
      return DialogLanguageCode(data.usMenuLanguage);
    };
    parts.findRemovableCard = [this] { return cardPresent_ ? card_ : std::string(); };
    parts.findCard = [this] { return cardPresent_ ? card_ : std::string(); };
    parts.readSpeedUnit = [this](int previous) {
      ++speedReads_;
      return static_cast<int>(ReadSpeedUnit(card_, static_cast<std::uint16_t>(previous)));
    };
    window_ = std::make_unique<CSamplePlayerDlg>(std::move(parts));
    window_->OnInitDialog();
  }

  void WriteSetupFile(int language) {
    std::filesystem::create_directories(card_ + "/cfg");
    std::filesystem::create_directories(card_ + "/SETUP");
    std::ofstream(card_ + "/SETUP/data_factory.cfg", std::ios::binary) << "HVN";
    std::ofstream(card_ + "/cfg/data_setup.cfg", std::ios::binary)
        << "# camera settings\r\n[BB]\r\nusDisplaySpeedUnit=0 \r\nusMenuLanguage=" << language
        << " \r\nusSndLanguage=" << language << " \r\n";
  }

  QTemporaryDir dir_;
  std::string card_;
  bool cardPresent_ = true;
  int probes_ = 0;
  int speedReads_ = 0;
  MessageBoxRecorder boxes_;
  std::unique_ptr<CSamplePlayerDlg> window_;
};

TEST_F(SetupCommandsTest, SetupWithoutCardOrSettingsFileShowsItsMessage) {
  cardPresent_ = false;
  EXPECT_TRUE(window_->OnCommand(kIdSetup));
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, StringTable::Instance().Load(623));
  EXPECT_EQ(boxes_.Requests()[0].caption, window_->windowTitle());

  cardPresent_ = true;
  boxes_.Clear();
  const int reads = speedReads_;
  EXPECT_TRUE(window_->OnCommand(kIdSetup));
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, StringTable::Instance().Load(630));
  EXPECT_EQ(speedReads_, reads);  // the dialog did not open
}

TEST_F(SetupCommandsTest, SetupRunsTheDialogThenRefreshesLanguageAndUnit) {
  WriteSetupFile(1);
  window_->ApplyLanguage(1);
  const int reads = speedReads_;
  EXPECT_EQ(window_->SpeedUnit(), 0);
  bool seen = false;
  // While the dialog runs modally: switch the camera to Japanese and mph,
  // and close.
  QTimer::singleShot(0, [&seen] {
    auto* dialog = qobject_cast<CNewSetupDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    seen = true;
    EXPECT_EQ(dialog->LanguageCode(), 1);
    auto* japanese = dialog->Page(CNewSetupDlg::kTabSetup)
                         ->findChild<QRadioButton*>(QStringLiteral("languageRadio0"));
    japanese->click();
    dialog->Page(CNewSetupDlg::kTabSetup)
        ->findChild<QRadioButton*>(QStringLiteral("mphRadio"))
        ->click();
    dialog->close();
  });
  boxes_.QueueAnswer(kIdYes);
  EXPECT_TRUE(window_->OnCommand(kIdSetup));
  EXPECT_TRUE(seen);
  ASSERT_EQ(boxes_.Requests().size(), 1u);
  EXPECT_EQ(boxes_.Requests()[0].text, "Do you want to save the changes?");
  EXPECT_NE(ReadAll(card_ + "/cfg/data_setup.cfg").find("usMenuLanguage=0 \r\n"),
            std::string::npos);
  EXPECT_EQ(StringTable::Instance().Language(), kLangJapanese);
  EXPECT_EQ(speedReads_, reads + 1);
  EXPECT_EQ(window_->SpeedUnit(), 1);
}

TEST_F(SetupCommandsTest, LegacySettingsButtonNeedsAnOpenedCard) {
  EXPECT_TRUE(window_->OnCommand(kIdSettings));
  EXPECT_EQ(window_->LegacySetupDialog(), nullptr);
  window_->OpenCard(card_);
  EXPECT_TRUE(window_->OnCommand(kIdSettings));
  CSetupDlg* dialog = window_->LegacySetupDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
  dialog->hide();
  EXPECT_TRUE(window_->OnCommand(kIdSettings));
  EXPECT_EQ(window_->LegacySetupDialog(), dialog);
  EXPECT_TRUE(dialog->isVisible());
  dialog->Save();
  EXPECT_EQ(std::filesystem::file_size(card_ + "/setup.cfg"), 508u);
}

TEST_F(SetupCommandsTest, DitSetupTakesZeroOrMoreAndIgnoresNegative) {
  EXPECT_EQ(window_->Dit()->Limit(), 60);
  auto enter = [](const QString& text) {
    QTimer::singleShot(0, [text] {
      auto* dialog = qobject_cast<CDITSetupDlg*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      dialog->LimitEdit()->setText(text);
      dialog->accept();
    });
  };
  enter(QStringLiteral("85"));
  EXPECT_TRUE(window_->OnCommand(kIdDitSetup));
  EXPECT_EQ(window_->Dit()->Limit(), 85);
  enter(QStringLiteral("-4"));
  EXPECT_TRUE(window_->OnCommand(kIdDitSetup));
  EXPECT_EQ(window_->Dit()->Limit(), 85);
  enter(QStringLiteral("0"));
  EXPECT_TRUE(window_->OnCommand(kIdDitSetup));
  EXPECT_EQ(window_->Dit()->Limit(), 0);
}

}  // namespace
}  // namespace lumora
