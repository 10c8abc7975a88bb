#include "settings/qt/SetupDialogOpener.h"

#include <fstream>

#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"
#include "settings/SetupFile.h"
#include "settings/qt/CNewSetupDlg.h"

namespace lumora {

SetupOpenResult OpenSetupDialog(QWidget* owner, const std::optional<std::filesystem::path>& card,
                                int languageCode, const QString& caption,
                                const std::function<void(CNewSetupDlg&)>& run) {
  StringTable& strings = StringTable::Instance();
  if (!card) {
    ShowMessageBox(owner, strings.Load(kNoSdCardStringId), caption, kMbOk);
    return SetupOpenResult::kNoCard;
  }
  const SetupFileLocation location = FindSetupFile(*card);
  if (!location.found || !std::ifstream(location.path, std::ios::binary).is_open()) {
    ShowMessageBox(owner, strings.Load(kCannotOpenSetupStringId), caption, kMbOk);
    return SetupOpenResult::kNoSetupFile;
  }
  {
    CNewSetupDlg dialog(*card, languageCode, owner);
    if (run)
      run(dialog);
    else
      dialog.exec();
  }
  return SetupOpenResult::kShown;
}

}  // namespace lumora
