#pragma once
// The main window's card commands: formatting the card and downloading the
// selected recording to a folder on the PC. Every message goes through
// ShowMessageBox with the main window's caption; the platform pieces (the
// format tool, the folder picker, the file manager) can be replaced by tests.
#include <QString>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "library/CCardFormat.h"
#include "library/CCardLocator.h"
#include "library/CFileDownload.h"
#include "platform/CMountTable.h"
#include "platform/IDriveEnumerator.h"

class QWidget;

namespace lumora {

class CCardCommands {
 public:
  static constexpr int kStrFormatAsk = 618;
  static constexpr int kStrFormatComplete = 619;
  static constexpr int kStrFormatFail = 620;
  static constexpr int kStrDownloadTitle = 621;
  static constexpr int kStrDownloadDone = 622;
  static constexpr int kStrNoCard = 623;
  static constexpr int kStrNotSelected = 626;
  static constexpr int kStrFormatOnDevice = 730;
  static constexpr int kStrDownloadFailed = 800;
  static constexpr int kStrSystemDevice = 801;
  static constexpr int kStrCancel = 802;

  // Picks one of several drives; nothing when the user cancels.
  using ChooseDriveFn = std::function<std::optional<std::filesystem::path>(
      QWidget* parent, const IDriveEnumerator& drives)>;
  // The drive dialog (CSelectDriveDlg) over `drives`.
  static std::optional<std::filesystem::path> AskForDrive(QWidget* parent,
                                                          const IDriveEnumerator& drives);
  // The card to act on: the only drive holding the camera's folders, or the
  // one the user picks when several do. Nothing when there is no card or the
  // choice was cancelled (`cancelled` tells which).
  static std::optional<std::filesystem::path> ChooseCard(QWidget* parent,
                                                         const IDriveEnumerator& drives,
                                                         CardSearch search,
                                                         const ChooseDriveFn& choose = {},
                                                         bool* cancelled = nullptr);

  struct FormatHooks {
    CCardFormat::SizeFn size = CCardFormat::DriveSize;
    // Formats the checked card; the default unmounts, runs mkfs.fat and mounts.
    std::function<bool(const DriveInfo&, const std::vector<MountEntry>&, std::string*)> format;
    // Shows the card in the file manager.
    std::function<void(const QString& root)> openFolder;
    // Picks the card when several removable drives hold one; the default
    // shows the drive dialog.
    ChooseDriveFn chooseDrive;
  };

  enum class FormatOutcome { NoCard, TooLarge, Cancelled, Failed, Formatted };
  static FormatOutcome Format(QWidget* parent, const QString& caption,
                              const IDriveEnumerator& drives, const std::vector<MountEntry>& mounts,
                              const FormatHooks& hooks);
  static FormatOutcome Format(QWidget* parent, const QString& caption,
                              const IDriveEnumerator& drives,
                              const std::vector<MountEntry>& mounts);

  struct DownloadHooks {
    // Asks for the target folder; empty when none was chosen.
    std::function<QString(QWidget* parent, const QString& title)> pickFolder;
    // Whether a progress dialog with Cancel is shown during the copy.
    bool showProgress = true;
    // Called with each progress step; returning false cancels (for tests).
    CFileDownload::ProgressFn progress;
  };

  enum class DownloadOutcome { NotSelected, NoFolder, Copied, Cancelled, Failed };
  // `selectedPath` is the recording chosen in the list (empty: none).
  static DownloadOutcome Download(QWidget* parent, const QString& caption,
                                  const std::string& selectedPath, const DownloadHooks& hooks);
  static DownloadOutcome Download(QWidget* parent, const QString& caption,
                                  const std::string& selectedPath);
};

}  // namespace lumora
