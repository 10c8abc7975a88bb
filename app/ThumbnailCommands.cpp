// The main window's thumbnail page: 1155 and 1156 show the card's recordings
// and captured pictures ten at a time, 1157 and 1158 page forward and back
// while the page is shown. Clicking a recording plays it; clicking a picture
// shows it in a still window. Any other command leaves the page.
#include <QDialog>
#include <QFileInfo>
#include <QVBoxLayout>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/CThumbnailView.h"
#include "display/qt/CStillView.h"
#include "library/CThumbnailPages.h"
#include "res/StringTable.h"
#include "ui/CSkinButton.h"

namespace lumora {

bool CSamplePlayerDlg::IsThumbnailCommand(int id) {
  return id == kIdThumbList || id == kIdThumbFile || id == kIdThumbNext || id == kIdThumbPrevious;
}

void CSamplePlayerDlg::InstallThumbnailCommands() {
  thumbs_ = new CThumbnailView(this);
  connect(thumbs_, &CThumbnailView::fileChosen, this,
          [this](const QString& path) { OpenThumbnailFile(path); });
  commands_[kIdThumbList] = [this] { ShowThumbnailPage(); };
  commands_[kIdThumbFile] = [this] { ShowThumbnailPage(); };
  commands_[kIdThumbNext] = [this] { thumbs_->NextPage(); };
  commands_[kIdThumbPrevious] = [this] { thumbs_->PreviousPage(); };
}

void CSamplePlayerDlg::ShowThumbnailPage() {
  std::string root = cardRoot_;
  if (root.empty() && parts_.findCard) root = parts_.findCard();
  if (root.empty()) {
    ShowMessage(StringTable::Instance().Load(kStrNoSdCard));
    return;
  }
  // The page takes the place of the video: playback stops (a paused player
  // would be moved on to the next recording by the update timer).
  const int state = player_->GetState();
  if (state == kStatePlaying || state == kStatePaused) Stop();
  thumbs_->ShowCard(root);
}

void CSamplePlayerDlg::OpenThumbnailFile(const QString& path) {
  const std::string file = path.toStdString();
  if (CThumbnailPages::KindOf(file) == ThumbnailKind::Picture) {
    if (!stillWindow_) {
      auto* window = new QDialog(this);
      window->setAttribute(Qt::WA_DeleteOnClose);
      auto* layout = new QVBoxLayout(window);
      layout->setContentsMargins(0, 0, 0, 0);
      auto* view = new CStillView(window, caption_);
      view->setObjectName(QStringLiteral("still"));
      view->setFixedSize(CDrawBitmap::kDrawWidth, CDrawBitmap::kDrawHeight);
      layout->addWidget(view);
      stillWindow_ = window;
    }
    stillWindow_->setWindowTitle(QFileInfo(path).fileName());
    stillWindow_->findChild<CStillView*>(QStringLiteral("still"))->LoadFile(file);
    stillWindow_->show();
    stillWindow_->raise();
    return;
  }
  thumbs_->Leave();
  for (int row = 0; row < list_->RowCount(); ++row) {
    if (list_->RowPath(row) != file) continue;
    list_->ClearSelection();
    list_->SelectRow(row);
    list_->SetSelectionMark(row);
    list_->EnsureVisible(row);
    Stop();
    PlayPause();
    return;
  }
  // Not in the list (another filter, or the card was not opened): list it alone.
  OpenFiles({file});
}

}  // namespace lumora
