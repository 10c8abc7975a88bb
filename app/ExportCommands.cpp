// The EXPORT command of the main window: in and out marks set with I and O
// on the seek strip, a small dialog (lossless or with the data drawn in,
// and the file name), the export on a worker thread behind a progress
// dialog with Cancel, and an offer to open the finished clip.

#include <QButtonGroup>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <filesystem>

#include "app/AppIds.h"
#include "app/CSamplePlayerDlg.h"
#include "app/ExportMarks.h"
#include "engine/CFileManager.h"
#include "library/CClipExportJob.h"
#include "platform/qt/MessageBox.h"
#include "res/StringTable.h"

namespace lumora {

namespace {

ExportRecording Probe(const std::string& path) {
  ExportRecording r{path, CExportRange::NameSeconds(path), 0};
  CFileManager reader;
  if (reader.Open(path) == 1) {
    r.durationMs = std::max<std::int64_t>(0, reader.GetDuration());
    r.channels = reader.GetVideoStreamCount();
  }
  return r;
}

// "<recording>_clip.avi" in the videos folder, numbered when taken.
QString DefaultClipName(const std::string& recording) {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
  const QString stem = QString::fromStdString(std::filesystem::path(recording).stem().string());
  QString name = QDir(folder).filePath(stem + QStringLiteral("_clip.avi"));
  for (int n = 2; QFileInfo::exists(name); ++n) {
    name = QDir(folder).filePath(stem + QStringLiteral("_clip%1.avi").arg(n));
  }
  return name;
}

}  // namespace

void CSamplePlayerDlg::InstallExportCommands() {
  commands_[kIdExport] = [this] { ExportClip(); };
  commands_[kIdExportIn] = [this] { SetExportMark(true); };
  commands_[kIdExportOut] = [this] { SetExportMark(false); };
  exportMarks_ = new ExportMarks(sliders_[kIdSeekSlider]);
  // The marks follow the strip's size and vanish with their recording.
  auto* follow = new QTimer(this);
  connect(follow, &QTimer::timeout, this, [this] {
    if (exportIn_ || exportOut_) ShowExportMarks();
  });
  follow->start(kUpdatePeriodMs);
}

void CSamplePlayerDlg::SetExportMark(bool in) {
  if (ditMode_ || currentPath_.empty() || duration_ <= 0) return;
  if (exportMarksPath_ != currentPath_) {
    exportIn_.reset();
    exportOut_.reset();
    exportMarksPath_ = currentPath_;
  }
  (in ? exportIn_ : exportOut_) = position_;
  ShowExportMarks();
}

void CSamplePlayerDlg::ShowExportMarks() {
  if (exportMarksPath_ != currentPath_) {
    exportIn_.reset();
    exportOut_.reset();
  }
  const auto fraction = [this](std::optional<std::int64_t> ms) -> std::optional<double> {
    if (!ms || duration_ <= 0) return std::nullopt;
    return std::clamp(static_cast<double>(*ms) / static_cast<double>(duration_), 0.0, 1.0);
  };
  exportMarks_->SetMarks(fraction(exportIn_), fraction(exportOut_));
}

ExportSpan CSamplePlayerDlg::ExportSpanNow() const {
  const ExportRecording current{currentPath_, CExportRange::NameSeconds(currentPath_), duration_,
                                player_ != nullptr ? player_->GetVideoStreamCount() : 1};
  std::optional<ExportRecording> previous, next;
  for (int row : {currentIndex_ - 1, currentIndex_ + 1}) {
    const std::string path = list_ != nullptr ? list_->RowPath(row) : std::string();
    if (path.empty()) continue;
    const std::int64_t start = CExportRange::NameSeconds(path);
    if (start < current.startSeconds && !previous) previous = Probe(path);
    if (start > current.startSeconds && !next) next = Probe(path);
  }
  std::int64_t in = exportIn_.value_or(position_ - CExportRange::kDefaultMarginMs);
  std::int64_t out = exportOut_.value_or(position_ + CExportRange::kDefaultMarginMs);
  if (out < in) std::swap(in, out);
  return CExportRange::Span(previous ? &*previous : nullptr, current, next ? &*next : nullptr, in,
                            out);
}

void CSamplePlayerDlg::ExportClip() {
  if (ditMode_) return;
  StringTable& strings = StringTable::Instance();
  if (currentPath_.empty() || duration_ <= 0) {
    ShowMessage(strings.Load(kStrFileNotSelected));
    return;
  }
  const ExportSpan span = ExportSpanNow();
  QDialog dialog(this);
  dialog.setWindowTitle(strings.Load(kStrExportTitle));
  auto* layout = new QVBoxLayout(&dialog);
  auto* lossless = new QRadioButton(strings.Load(kStrExportLossless), &dialog);
  auto* overlay = new QRadioButton(strings.Load(kStrExportOverlay), &dialog);
  lossless->setChecked(true);
  auto* layouts = new QComboBox(&dialog);
  layouts->addItems(strings.Load(kStrExportLayouts).split(QLatin1Char('\n')));
  layouts->setEnabled(false);
  connect(overlay, &QRadioButton::toggled, layouts, &QComboBox::setEnabled);
  auto* nameRow = new QHBoxLayout;
  auto* name = new QLineEdit(DefaultClipName(currentPath_), &dialog);
  name->setMinimumWidth(360);
  auto* browse = new QPushButton(QStringLiteral("..."), &dialog);
  connect(browse, &QPushButton::clicked, &dialog, [&] {
    const QString chosen = QFileDialog::getSaveFileName(
        &dialog, strings.Load(kStrExportTitle), name->text(), QStringLiteral("AVI (*.avi)"));
    if (!chosen.isEmpty()) name->setText(chosen);
  });
  nameRow->addWidget(new QLabel(strings.Load(kStrExportFileName), &dialog));
  nameRow->addWidget(name);
  nameRow->addWidget(browse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(lossless);
  layout->addWidget(overlay);
  layout->addWidget(layouts);
  layout->addLayout(nameRow);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted || name->text().trimmed().isEmpty()) return;
  ClipExportRequest request;
  for (const std::string& file : span.files) request.inputs.emplace_back(file);
  request.fromUs = span.fromMs * 1000;
  request.toUs = span.toMs * 1000;
  request.output = name->text().trimmed().toStdString();
  ClipOverlayOptions options;
  options.layout = static_cast<ClipLayout>(layouts->currentIndex());
  options.speedUnit = speedUnit_;
  RunExport(request, overlay->isChecked(), options);
}

void CSamplePlayerDlg::RunExport(const ClipExportRequest& request, bool overlay,
                                 const ClipOverlayOptions& options) {
  StringTable& strings = StringTable::Instance();
  CClipExportJob job;
  job.Start(request, overlay, options);
  QProgressDialog progress(strings.Load(kStrExportRunning), strings.Load(802), 0, 1000, this);
  progress.setWindowTitle(strings.Load(kStrExportTitle));
  progress.setMinimumDuration(0);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  QTimer poll;
  connect(&poll, &QTimer::timeout, &progress, [&] {
    progress.setValue(static_cast<int>(job.Progress() * 1000));
    if (job.Finished()) progress.done(QDialog::Accepted);
  });
  connect(&progress, &QProgressDialog::canceled, &progress, [&] { job.Cancel(); });
  poll.start(100);
  while (!job.Finished()) progress.exec();
  poll.stop();
  const ClipExportResult result = job.TakeResult();
  if (result.status == ClipExportResult::Status::kCancelled) return;
  if (result.status != ClipExportResult::Status::kOk) {
    ShowMessageBox(this, QString::fromStdString(result.message), caption_, kMbOk, kMbIconError);
    return;
  }
  const QString path = QString::fromStdString(result.output.string());
  const QString text = strings.Load(kStrExportSaved).replace(QStringLiteral("%s"), path);
  if (ShowMessageBox(this, text, caption_, kMbYesNo, kMbIconQuestion) == kIdYes) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  }
}

}  // namespace lumora
