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
#include "library/CCardFormatter.h"
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
  static constexpr int kStrCardBusy = 803;
  static constexpr int kStrNotMountedAgain = 804;

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
    // Lets go of everything that holds the card, once the user said OK.
    std::function<void()> release;
    // Unmounts, formats and mounts the checked card; the default is FormatCard.
    std::function<FormatResult(const DriveInfo&)> format;
    // Shows the card in the file manager.
    std::function<void(const QString& root)> openFolder;
    // Picks the card when several removable drives hold one; the default
    // shows the drive dialog.
    ChooseDriveFn chooseDrive;
  };

  enum class FormatOutcome { NoCard, TooLarge, Cancelled, Busy, Failed, NotMounted, Formatted };
  // `cardRoot` gets where the card can be reached after a released card was
  // handed to the formatter (its new mount path, or the old one when it was
  // never unmounted); empty otherwise.
  static FormatOutcome Format(QWidget* parent, const QString& caption,
                              const IDriveEnumerator& drives, const std::vector<MountEntry>& mounts,
                              const FormatHooks& hooks, std::string* cardRoot = nullptr);
  static FormatOutcome Format(QWidget* parent, const QString& caption,
                              const IDriveEnumerator& drives,
                              const std::vector<MountEntry>& mounts);

  // Formats through udisks2 on the system bus (plain mount commands as root
  // when it cannot be reached), with the format helper next to the program.
  static FormatResult FormatCard(const DriveInfo& drive);
  // The installed format helper: ../libexec/lumora-viewer/ from the program.
  static std::string HelperPath();

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
