// Settings saved through the main window onto a card that cannot take them
// (full, or the file write-protected): the old file stays byte for byte, no
// temporary file is left, and the user is told.

#include <gtest/gtest.h>

#include <QApplication>
#include <QRadioButton>
#include <QTimer>

#include <array>

#include "FaultCard.h"
#include "app/AppIds.h"
#include "platform/AtomicFile.h"
#include "res/StringTable.h"
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
    test::WriteFile(setupFile_, MakeSetupFileText());
    test::WriteFile(card_.card + "/cfg/wifi.cfg", MakeWifiFileText(3));
    card_.Open();
  }
  void TearDown() override { SetAtomicWriteFaultForTesting({}); }

  // Makes every later write of `file` fail the way the card would.
  void Break(const fs::path& file) {
    if (GetParam() == CardFault::kFull) {  // no space: the write stops half-way
      SetAtomicWriteFaultForTesting(
          [](AtomicWriteStage s) { return s == AtomicWriteStage::kWrite; });
    } else {
      test::MakeReadOnly(file);
    }
  }
  bool Told() const {
    const QString failed = StringTable::Instance().Load(kSaveFailedStringId);
    for (const MessageBoxRequest& box : card_.boxes.Requests())
      if (box.text == failed && box.icon == kMbIconError) return true;
    return false;
  }

  FaultCard card_;
  fs::path setupFile_ = card_.card + "/cfg/data_setup.cfg";
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
      if (!radio->isChecked() && !changed) {
        radio->click();
        changed = true;
      }
    }
    dialog->close();
  });
  card_.boxes.QueueAnswer(kIdYes);  // save the changes
  EXPECT_TRUE(card_.window->OnCommand(kIdSetup));
  ASSERT_TRUE(changed);
  ASSERT_GE(card_.boxes.Requests().size(), 2u);
  EXPECT_EQ(card_.boxes.Requests()[0].text, StringTable::Instance().Load(kSaveChangesStringId));
  EXPECT_TRUE(Told());
  EXPECT_EQ(ReadFile(setupFile_), before);
  EXPECT_EQ(test::CountEntries(card_.card + "/cfg"), 2);
}

TEST_P(SettingsSaveFault, LegacySettingsKeepTheOldFileAndSaySo) {
  card_.window->OpenCard(card_.card);
  ASSERT_TRUE(card_.window->OnCommand(kIdSettings));
  CSetupDlg* dialog = card_.window->LegacySetupDialog();
  ASSERT_NE(dialog, nullptr);
  dialog->Save();  // a first save that works
  ASSERT_TRUE(dialog->LastWriteOk());
  EXPECT_FALSE(Told());
  const fs::path legacy = card_.card + "/setup.cfg";
  const std::string before = ReadFile(legacy);
  Break(legacy);
  ASSERT_TRUE(card_.window->OnCommand(kIdSettings));
  dialog->Reset();
  EXPECT_FALSE(dialog->LastWriteOk());
  EXPECT_TRUE(Told());
  EXPECT_EQ(ReadFile(legacy), before);
}

INSTANTIATE_TEST_SUITE_P(Faults, SettingsSaveFault,
                         ::testing::Values(CardFault::kFull, CardFault::kReadOnly),
                         [](const ::testing::TestParamInfo<CardFault>& param) {
                           return param.param == CardFault::kFull ? "FullCard" : "ReadOnlyCard";
                         });

// Only a planned write that did not happen counts as a failed save.
TEST(SaveFailed, OnlyAPlannedWriteThatDidNotHappenCounts) {
  // {write setup, setup written, write wifi, wifi written}, failed
  const std::pair<std::array<bool, 4>, bool> rows[] = {{{0, 0, 0, 0}, false}, {{1, 0, 0, 0}, true},
                                                       {{1, 1, 0, 0}, false}, {{1, 1, 1, 0}, true},
                                                       {{1, 1, 1, 1}, false}, {{0, 0, 1, 0}, true}};
  for (const auto& [in, failed] : rows) {
    SaveOutcome outcome;
    outcome.plan.writeSetup = in[0];
    outcome.setupWritten = in[1];
    outcome.plan.writeWifi = in[2];
    outcome.wifiWritten = in[3];
    EXPECT_EQ(SaveFailed(outcome), failed) << in[0] << in[1] << in[2] << in[3];
  }
}

}  // namespace
}  // namespace lumora::faults
