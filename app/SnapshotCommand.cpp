// The main window's snapshot (S, the snapshot button), its short status line
// and files dropped on the window. The picture work is CSnapshot's; the drop
// rule is DropRules'.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/DropRules.h"
#include "display/CSnapshot.h"
#include "library/qt/CDitMode.h"
#include "res/StringTable.h"

namespace lumora {

namespace {

constexpr int kStatusShownMs = 6000;

QString WithArgument(int stringId, const QString& argument) {
  QString text = StringTable::Instance().Load(stringId);
  return text.replace(QStringLiteral("%s"), argument);
}

}  // namespace

QString CSamplePlayerDlg::SnapshotFolder() {
  // Qt reads the XDG pictures folder and falls back to $HOME/Pictures.
  return QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) +
         QStringLiteral("/Lumora");
}

void CSamplePlayerDlg::TakeSnapshot() {
  const int state = player_->GetState();
  if (ditMode_ || (state != kStatePlaying && state != kStatePaused) || currentPath_.empty()) {
    ShowStatus(StringTable::Instance().Load(kStrSnapshotNothing));
    return;
  }
  const std::int64_t position = player_->GetPosition();
  const QString folder = SnapshotFolder();
  const CSnapshot::Result result = CSnapshot::Save(
      currentPath_, static_cast<double>(position) / 1000.0, {CSnapshot::kFront, CSnapshot::kRear},
      folder.toStdString(), SnapshotMoment::FromTrack(PanelTrack(), position));
  if (result.unwritable) {
    ShowMessage(WithArgument(kStrSnapshotUnwritable, folder));
    return;
  }
  if (!result.error.empty()) {
    ShowMessage(WithArgument(kStrSnapshotFailed, QString::fromStdString(result.error)));
    return;
  }
  QStringList names;
  for (const auto& path : result.written) names << QString::fromStdString(path.filename().string());
  ShowStatus(WithArgument(kStrSnapshotSaved, folder) + QStringLiteral(": ") +
             names.join(QStringLiteral(", ")));
}

void CSamplePlayerDlg::ShowStatus(const QString& text) {
  QLabel* line = labels_.at(kIdStatusLine);
  line->setText(text);
  line->setToolTip(text);
  if (!statusTimer_) {
    statusTimer_ = new QTimer(this);
    statusTimer_->setSingleShot(true);
    connect(statusTimer_, &QTimer::timeout, this, [line] { line->clear(); });
  }
  statusTimer_->start(kStatusShownMs);
}

QString CSamplePlayerDlg::StatusText() const { return labels_.at(kIdStatusLine)->text(); }

// ------------------------------------------------------------------ drops

void CSamplePlayerDlg::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CSamplePlayerDlg::dropEvent(QDropEvent* event) {
  std::vector<std::string> paths;
  for (const QUrl& url : event->mimeData()->urls()) {
    // Only local files can be played; anything else is named as ignored.
    paths.push_back(url.isLocalFile() ? url.toLocalFile().toStdString()
                                      : url.toString().toStdString());
  }
  event->acceptProposedAction();
  OnDrop(paths);
}

void CSamplePlayerDlg::OnDrop(const std::vector<std::string>& paths) {
  const DropPlan plan = DropRules::Plan(paths, ditMode_);
  if (!plan.ignored.empty()) {
    const QString name = QFileInfo(QString::fromStdString(plan.ignored.front())).fileName();
    ShowStatus(
        plan.ditOutsideDit
            ? StringTable::Instance().Load(kStrDropDitOutsideDit)
            : WithArgument(kStrDropIgnored,
                           name.isEmpty() ? QString::fromStdString(plan.ignored.front()) : name));
  }
  switch (plan.action) {
    case DropAction::kOpenCard:
      OpenCard(plan.paths.front());
      break;
    case DropAction::kOpenRecordings:
      frontPlacement_ = kPaneLarge;
      rearPlacement_ = kPaneSmall;
      if (player_->GetState() == kStatePlaying) player_->Pause();
      OpenFiles(plan.paths);
      break;
    case DropAction::kOpenDitFiles: {
      std::vector<std::filesystem::path> files(plan.paths.begin(), plan.paths.end());
      dit_->Stop();
      dit_->AddOpenedFiles(files);
      break;
    }
    case DropAction::kNone:
      break;
  }
}

}  // namespace lumora
