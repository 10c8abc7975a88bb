#pragma once
// The camera settings dialog: five tab pages editing the card's
// data_setup.cfg record and wifi.cfg, in the camera's menu language. Changes
// go into the in-memory record at once; closing asks whether to save them.

#include <QDialog>
#include <QString>

#include <filesystem>
#include <memory>
#include <string>

#include "settings/SettingsCloseRules.h"
#include "settings/SetupData.h"
#include "settings/SetupFile.h"

class QCloseEvent;
class QFont;
class QKeyEvent;
class QTabWidget;

namespace lumora {

class CSetupPage;
class CTabOneEngDlg;
class CTabTwoEngDlg;
class CTabThreeEngDlg;
class CTabFourEngDlg;
class CTabFiveDlg;

class CNewSetupDlg : public QDialog {
  Q_OBJECT

 public:
  // Tab order.
  enum Tab { kTabAdas = 0, kTabDvr = 1, kTabSetup = 2, kTabInstall = 3, kTabOthers = 4 };

  // Reads the card's settings (so the language is known) and builds the
  // dialog. `language` is the caller's language code; the dialog's own comes
  // from the card.
  CNewSetupDlg(const std::filesystem::path& cardRoot, int language, QWidget* parent = nullptr);
  // Saves as the user decides (see SaveSettingsOnClose) and frees the pages.
  ~CNewSetupDlg() override;

  // Dialog language code (0, 1 or 9) and its string-table language.
  int LanguageCode() const { return languageCode_; }
  int StringLanguage() const { return stringLanguage_; }
  QString MessageCaption() const { return messageCaption_; }
  int WifiCancelFlag() const { return cancelFlag_; }

  const SetupData& Record() const { return record_; }
  const SetupData& Snapshot() const { return snapshot_; }
  QTabWidget* Tabs() const { return tabs_; }
  CSetupPage* Page(int tab) const;
  CTabFiveDlg* OthersPage() const { return othersPage_; }

  // What the destruction's save did (for the caller and tests).
  const SaveOutcome& LastSave() const { return lastSave_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;

 private:
  void ReadSettings();
  void OnInitDialog();
  void OnTabChanged(int index);
  // The close command: true when the dialog may close.
  bool ConfirmClose();
  void SaveOnDestroy();

  std::filesystem::path cardRoot_;
  int languageCode_ = 0;
  int stringLanguage_ = 1041;
  SetupData record_;
  SetupData snapshot_;
  SetupComments comments_;
  WifiEditState wifi_;
  int cancelFlag_ = 0;
  QString messageCaption_;
  std::unique_ptr<QFont> font_;
  QTabWidget* tabs_ = nullptr;
  CTabTwoEngDlg* adasPage_ = nullptr;
  CTabThreeEngDlg* dvrPage_ = nullptr;
  CTabFourEngDlg* setupPage_ = nullptr;
  CTabOneEngDlg* installPage_ = nullptr;
  CTabFiveDlg* othersPage_ = nullptr;
  SaveOutcome lastSave_;
};

}  // namespace lumora
