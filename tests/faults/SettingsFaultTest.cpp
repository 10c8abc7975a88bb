// Settings saved through the main window onto a card that cannot take them
// (full, or the file write-protected): the old file stays byte for byte and
// the user is told.

#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <filesystem>
#include <fstream>

#include "FaultCard.h"
#include "app/AppIds.h"
#include "platform/AtomicFile.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "settings/LegacySetupRecord.h"
#include "settings/SettingsCloseRules.h"
#include "settings/qt/CNewSetupDlg.h"
#include "settings/qt/CSetupDlg.h"
#include "settings/qt/CSetupPage.h"
#include "tools/mkcard/SettingsFiles.h"

namespace lumora::faults {
namespace {

namespace fs = std::filesystem;

enum class CardFault { kFull, kReadOnly };

class SettingsSaveFault : public ::testing::TestWithParam<CardFault> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    card_ = dir_.path().toStdString() + "/card";
    fs::create_directories(card_ + "/NORMAL");
    fs::create_directories(card_ + "/cfg");
    setupFile_ = card_ + "/cfg/data_setup.cfg";
    std::ofstream(setupFile_, std::ios::binary) << MakeSetupFileText();
    std::ofstream(card_ + "/cfg/wifi.cfg", std::ios::binary) << MakeWifiFileText(3);
    window_ = std::make_unique<CSamplePlayerDlg>(RealParts(card_));
    window_->OnInitDialog();
  }
  void TearDown() override {
    SetAtomicWriteFaultForTesting({});
    for (const auto& entry : fs::recursive_directory_iterator(card_))
      fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
  }

  // Makes every later write of `file` fail the way the card would.
  void Break(const fs::path& file) {
    if (GetParam() == CardFault::kFull) {
      // No space: the write stops half-way.
      SetAtomicWriteFaultForTesting(
          [](AtomicWriteStage stage) { return stage == AtomicWriteStage::kWrite; });
    } else {
      fs::permissions(file,
                      fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                      fs::perm_options::remove);
    }
  }

  bool Told(const QString& text) const {
    for (const MessageBoxRequest& box : boxes_.Requests())
      if (box.text == text) return true;
    return false;
  }

  QTemporaryDir dir_;
  std::string card_;
  fs::path setupFile_;
  MessageBoxRecorder boxes_;
  std::unique_ptr<CSamplePlayerDlg> window_;
};

TEST_P(SettingsSaveFault, SetupDialogKeepsTheOldFileAndSaysSo) {
  const std::string before = ReadFile(setupFile_);
  Break(setupFile_);
  bool changed = false;
  // While the dialog runs modally: pick the other language, then close.
  QTimer::singleShot(0, [&changed] {
    auto* dialog = qobject_cast<CNewSetupDlg*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    CSetupPage* page = dialog->Page(CNewSetupDlg::kTabSetup);
    for (const char* name : {"languageRadio0", "languageRadio1"}) {
      auto* radio = page->findChild<QRadioButton*>(QLatin1String(name));
      ASSERT_NE(radio, nullptr);
      if (!radio->isChecked()) {
        radio->click();
        changed = true;
        break;
      }
    }
    dialog->close();
  });
  boxes_.QueueAnswer(kIdYes);  // save the changes
  EXPECT_TRUE(window_->OnCommand(kIdSetup));
  ASSERT_TRUE(changed);
  ASSERT_GE(boxes_.Requests().size(), 2u);
  EXPECT_EQ(boxes_.Requests()[0].text, StringTable::Instance().Load(kSaveChangesStringId));
  EXPECT_EQ(boxes_.Requests().back().text, StringTable::Instance().Load(kSaveFailedStringId));
  EXPECT_EQ(boxes_.Requests().back().icon, kMbIconError);
  EXPECT_EQ(ReadFile(setupFile_), before);
  // No temporary file is left behind on the card.
  int files = 0;
  for (const auto& entry : fs::directory_iterator(card_ + "/cfg")) files += entry.is_regular_file();
  EXPECT_EQ(files, 2);
}

TEST_P(SettingsSaveFault, LegacySettingsKeepTheOldFileAndSaySo) {
  window_->OpenCard(card_);
  ASSERT_TRUE(window_->OnCommand(kIdSettings));
  CSetupDlg* dialog = window_->LegacySetupDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->Save();  // a first save that works
  ASSERT_TRUE(dialog->LastWriteOk());
  EXPECT_FALSE(Told(StringTable::Instance().Load(kSaveFailedStringId)));
  const fs::path legacy = card_ + "/setup.cfg";
  const std::string before = ReadFile(legacy);
  ASSERT_EQ(before.size(), 508u);
  Break(legacy);
  ASSERT_TRUE(window_->OnCommand(kIdSettings));
  dialog->Reset();
  EXPECT_FALSE(dialog->LastWriteOk());
  EXPECT_TRUE(Told(StringTable::Instance().Load(kSaveFailedStringId)));
  EXPECT_EQ(ReadFile(legacy), before);
}

INSTANTIATE_TEST_SUITE_P(Faults, SettingsSaveFault,
                         ::testing::Values(CardFault::kFull, CardFault::kReadOnly),
                         [](const ::testing::TestParamInfo<CardFault>& param) {
                           return param.param == CardFault::kFull ? "FullCard" : "ReadOnlyCard";
                         });

}  // namespace
}  // namespace lumora::faults

namespace lumora::faults {
namespace {

TEST(SaveFailed, OnlyAPlannedWriteThatDidNotHappenCounts) {
  SaveOutcome outcome;
  EXPECT_FALSE(SaveFailed(outcome));  // nothing planned
  outcome.plan.writeSetup = true;
  EXPECT_TRUE(SaveFailed(outcome));
  outcome.setupWritten = true;
  EXPECT_FALSE(SaveFailed(outcome));
  outcome.plan.writeWifi = true;
  EXPECT_TRUE(SaveFailed(outcome));
  outcome.wifiWritten = true;
  EXPECT_FALSE(SaveFailed(outcome));
}

TEST(LegacySetupFile, AWriteProtectedFileIsNotReplaced) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const fs::path file = dir.path().toStdString() + "/setup.cfg";
  ASSERT_TRUE(WriteLegacySetupFile(dir.path().toStdString(), LegacyResetValues()));
  const std::string before = ReadFile(file);
  fs::permissions(file, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  LegacySetupValues changed = LegacyResetValues();
  changed.brightness = 7;
  std::string error;
  EXPECT_FALSE(WriteLegacySetupFile(dir.path().toStdString(), changed, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(ReadFile(file), before);
  fs::permissions(file, fs::perms::owner_write, fs::perm_options::add);
  EXPECT_TRUE(WriteLegacySetupFile(dir.path().toStdString(), changed));
  EXPECT_NE(ReadFile(file), before);
}

}  // namespace
}  // namespace lumora::faults
