#include "library/qt/CCardCommands.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QProgressDialog>
#include <QUrl>
#include <memory>

#include <unistd.h>

#include "library/CMountCommands.h"
#include "library/qt/CSelectDriveDlg.h"
#include "platform/qt/CUDisks2.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"

namespace lumora {

namespace {

QString Text(int id) { return StringTable::Instance().Load(id); }

}  // namespace

CCardCommands::FormatOutcome CCardCommands::Format(QWidget* parent, const QString& caption,
                                                   const IDriveEnumerator& drives,
                                                   const std::vector<MountEntry>& mounts) {
  return Format(parent, caption, drives, mounts, FormatHooks{});
}

CCardCommands::DownloadOutcome CCardCommands::Download(QWidget* parent, const QString& caption,
                                                       const std::string& selectedPath) {
  return Download(parent, caption, selectedPath, DownloadHooks{});
}

std::optional<std::filesystem::path> CCardCommands::AskForDrive(QWidget* parent,
                                                                const IDriveEnumerator& drives) {
  CSelectDriveDlg dialog(drives, parent);
  if (!dialog.Run()) return std::nullopt;
  return dialog.ChosenRoot();
}

std::optional<std::filesystem::path> CCardCommands::ChooseCard(QWidget* parent,
                                                               const IDriveEnumerator& drives,
                                                               CardSearch search,
                                                               const ChooseDriveFn& choose,
                                                               bool* cancelled) {
  if (cancelled) *cancelled = false;
  const std::vector<DriveInfo> cards = CCardLocator::FindCardDrives(drives, search);
  if (cards.empty()) return std::nullopt;
  if (cards.size() == 1) return cards.front().root;
  // The dialog offers only the drives that hold a card.
  const CFixedDriveEnumerator offered(cards);
  auto root = choose ? choose(parent, offered) : AskForDrive(parent, offered);
  if (!root || root->empty()) {
    if (cancelled) *cancelled = true;
    return std::nullopt;
  }
  return root;
}

CCardCommands::FormatOutcome CCardCommands::Format(QWidget* parent, const QString& caption,
                                                   const IDriveEnumerator& drives,
                                                   const std::vector<MountEntry>& mounts,
                                                   const FormatHooks& hooks,
                                                   std::string* cardRoot) {
  if (cardRoot) cardRoot->clear();
  const CCardFormat::SizeFn size =
      hooks.size ? hooks.size : CCardFormat::SizeFn(CCardFormat::DriveSize);
  // Several cards: the user says which one is formatted; only that drive is
  // checked and formatted.
  bool cancelled = false;
  const auto chosen =
      ChooseCard(parent, drives, CardSearch::AnyDrive, hooks.chooseDrive, &cancelled);
  if (cancelled) return FormatOutcome::Cancelled;
  std::vector<DriveInfo> only;
  if (chosen) {
    for (const DriveInfo& d : drives.GetDrives()) {
      if (d.root == *chosen) only.push_back(d);
    }
  }
  const CFixedDriveEnumerator chosenDrive(only);
  const FormatPlan plan = CCardFormat::Check(
      chosen ? static_cast<const IDriveEnumerator&>(chosenDrive) : drives, mounts, size);
  if (plan.check == FormatCheck::NoCard) {
    ShowMessageBox(parent, Text(kStrNoCard), caption, kMbOk, kMbIconNone);
    return FormatOutcome::NoCard;
  }
  if (plan.check == FormatCheck::UnsafeDevice) {
    // A device that carries the system's own folders is never formatted,
    // even when it holds the camera's folders.
    ShowMessageBox(parent, Text(kStrSystemDevice), caption, kMbOk, kMbIconError);
    return FormatOutcome::NoCard;
  }
  if (plan.check == FormatCheck::TooLarge) {
    ShowMessageBox(parent, Text(kStrFormatOnDevice), caption, kMbOk, kMbIconNone);
    return FormatOutcome::TooLarge;
  }
  const QString root = QString::fromStdString(plan.drive.root.string());
  QString ask = Text(kStrFormatAsk);
  ask.replace(QStringLiteral("%c"), root);
  if (ShowMessageBox(parent, ask, caption, kMbOkCancel, kMbIconWarning) != kIdOk) {
    return FormatOutcome::Cancelled;
  }
  // Nothing of ours may hold the card while it is unmounted.
  if (hooks.release) hooks.release();
  FormatResult result;
  {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    result = hooks.format ? hooks.format(plan.drive) : FormatCard(plan.drive);
    QApplication::restoreOverrideCursor();
  }
  if (cardRoot) *cardRoot = result.mountPath;
  if (!result.error.empty()) qWarning("Format: %s", result.error.c_str());
  switch (result.status) {
    case FormatStatus::Cancelled:
      return FormatOutcome::Cancelled;
    case FormatStatus::Busy:
      ShowMessageBox(parent, Text(kStrCardBusy), caption, kMbOk, kMbIconWarning);
      return FormatOutcome::Busy;
    case FormatStatus::UnmountFailed:
    case FormatStatus::FormatFailed:
      ShowMessageBox(parent, Text(kStrFormatFail), caption, kMbOk, kMbIconNone);
      return FormatOutcome::Failed;
    case FormatStatus::MountFailed:
      ShowMessageBox(parent, Text(kStrNotMountedAgain), caption, kMbOk, kMbIconWarning);
      return FormatOutcome::NotMounted;
    case FormatStatus::Formatted:
      break;
  }
  // The fresh file system is reached at the mount path the remount answered.
  const QString newRoot = QString::fromStdString(result.mountPath);
  size(result.mountPath);
  if (hooks.openFolder) {
    hooks.openFolder(newRoot);
  } else {
    QDesktopServices::openUrl(QUrl::fromLocalFile(newRoot + QDir::separator()));
  }
  ShowMessageBox(parent, Text(kStrFormatComplete), caption, kMbOk, kMbIconNone);
  return FormatOutcome::Formatted;
}

std::string CCardCommands::HelperPath() {
  return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                         QStringLiteral("/../libexec/lumora-viewer/lumora-format-helper"))
      .toStdString();
}

FormatResult CCardCommands::FormatCard(const DriveInfo& drive) {
  CUDisks2 udisks(QDBusConnection::systemBus());
  const bool root = geteuid() == 0;
  CMountCommands commands(CCardFormat::RunProcess, drive.root.string());
  IDiskService& disks = root && !udisks.Available() ? static_cast<IDiskService&>(commands)
                                                    : static_cast<IDiskService&>(udisks);
  CCardFormatter formatter(disks, CCardFormat::RunProcess, HelperPath(), root);
  return formatter.Run(drive.device, drive.root.string());
}

CCardCommands::DownloadOutcome CCardCommands::Download(QWidget* parent, const QString& caption,
                                                       const std::string& selectedPath,
                                                       const DownloadHooks& hooks) {
  if (selectedPath.empty()) {
    ShowMessageBox(parent, Text(kStrNotSelected), caption, kMbOk, kMbIconWarning);
    return DownloadOutcome::NotSelected;
  }
  const QString title = Text(kStrDownloadTitle);
  const QString folder =
      hooks.pickFolder
          ? hooks.pickFolder(parent, title)
          : QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
  if (folder.isEmpty()) return DownloadOutcome::NoFolder;

  const std::filesystem::path source(selectedPath);
  const std::filesystem::path target =
      CFileDownload::TargetPath(source, std::filesystem::path(folder.toStdString()));
  std::unique_ptr<QProgressDialog> progress;
  if (hooks.showProgress) {
    progress = std::make_unique<QProgressDialog>(QString::fromStdString(source.filename().string()),
                                                 Text(kStrCancel), 0, 1000, parent);
    progress->setWindowTitle(caption);
    progress->setWindowModality(Qt::WindowModal);
    progress->setMinimumDuration(500);
    progress->setValue(0);
  }
  auto step = [&](std::uint64_t done, std::uint64_t total) {
    if (progress) {
      progress->setValue(total == 0 ? 1000 : static_cast<int>(done * 1000 / total));
      QCoreApplication::processEvents();
      if (progress->wasCanceled()) return false;
    }
    return !hooks.progress || hooks.progress(done, total);
  };
  std::string error;
  const DownloadResult result = CFileDownload::Copy(source, target, step, &error);
  if (progress) progress->reset();
  if (result == DownloadResult::Cancelled) return DownloadOutcome::Cancelled;
  if (result == DownloadResult::Failed) {
    QString text = Text(kStrDownloadFailed);
    if (!error.empty()) text += QLatin1Char('\n') + QString::fromStdString(error);
    ShowMessageBox(parent, text, caption, kMbOk, kMbIconError);
    return DownloadOutcome::Failed;
  }
  QString done = Text(kStrDownloadDone);
  done.replace(QStringLiteral("%s"), QString::fromStdString(target.string()));
  ShowMessageBox(parent, done, caption, kMbOk, kMbIconWarning);
  return DownloadOutcome::Copied;
}

}  // namespace lumora
