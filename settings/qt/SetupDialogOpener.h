#pragma once
// Opening the settings dialog from the main window's SETUP button: the card
// and settings-file checks with their messages, then the modal dialog.

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>

class QWidget;

namespace lumora {

class CNewSetupDlg;

inline constexpr int kNoSdCardStringId = 623;         // "There is no device SD card."
inline constexpr int kCannotOpenSetupStringId = 630;  // "Can't open a setup file."

enum class SetupOpenResult { kNoCard, kNoSetupFile, kShown };

// `card` is the card found among removable drives (nullopt: none). Without a
// card or without a readable data_setup.cfg the message (string 623 or 630 in
// the current string-table language, captioned `caption`) is shown and the
// dialog does not open. Otherwise the dialog runs through `run` (default:
// exec()) and is destroyed, which saves what the user chose to save.
SetupOpenResult OpenSetupDialog(QWidget* owner, const std::optional<std::filesystem::path>& card,
                                int languageCode, const QString& caption,
                                const std::function<void(CNewSetupDlg&)>& run = {});

}  // namespace lumora
