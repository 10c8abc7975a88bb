// The main window's card commands: FORMAT formats the camera card, DOWN
// copies the selected recording to a folder on the PC, PRINT prints the
// window through the print dialog.
#include <fstream>
#include <sstream>

#include <QWidget>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/CThumbnailView.h"
#include "app/IRecordingList.h"
#include "display/qt/CPrintScreen.h"
#include "library/qt/CCardCommands.h"
#include "platform/CLinuxDriveEnumerator.h"
#include "platform/CMountTable.h"

namespace lumora {

namespace {

std::vector<MountEntry> CurrentMounts() {
  std::ifstream in("/proc/self/mountinfo");
  std::stringstream text;
  text << in.rdbuf();
  return CMountTable::Parse(text.str());
}

}  // namespace

void CSamplePlayerDlg::InstallCardCommands() {
  commands_[kIdFormat] = [this] { FormatCard(); };
  commands_[kIdDownload] = [this] {
    const int row = list_->SelectionMark();
    const std::string path = row >= 0 ? list_->RowPath(row) : std::string();
    const auto outcome = CCardCommands::Download(this, caption_, path);
    // After the download message the same recording, chosen again, reloads.
    if (outcome == CCardCommands::DownloadOutcome::NotSelected ||
        outcome == CCardCommands::DownloadOutcome::Copied) {
      reloadMark_ = true;
    }
  };
  commands_[kIdPrint] = [this] {
    CPrintScreen printer(QString(), caption_);
    printer.Print(CPrintScreen::kWindow, CPrintScreen::kPortrait, true, this);
  };
}

void CSamplePlayerDlg::FormatCard() {
  const CLinuxDriveEnumerator system;
  const IDriveEnumerator& drives =
      parts_.drives ? *parts_.drives : static_cast<const IDriveEnumerator&>(system);
  CCardCommands::FormatHooks hooks = parts_.format;
  bool hadCard = false;
  hooks.release = [this, &hadCard] {
    hadCard = !cardRoot_.empty();
    ReleaseCard();
  };
  std::string root;
  CCardCommands::Format(this, caption_, drives, CurrentMounts(), hooks, &root);
  // The card is opened again where it can be reached now (its new mount path).
  if (hadCard && !root.empty()) OpenCard(root);
}

void CSamplePlayerDlg::ReleaseCard() {
  if (player_->GetState() != kStateClosed) Stop();  // stops and closes the recording
  if (thumbs_) thumbs_->ReleaseFiles();
  if (stillWindow_) stillWindow_->close();
  // Its lists and DIT drives go as when the card is taken out.
  if (!cardRoot_.empty()) OnDriveRemoved(QString::fromStdString(cardRoot_));
}

}  // namespace lumora
