#include "app/RecordingListWindow.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

namespace lumora {
namespace {

// Date and time texts of a camera name "YYYYMMDD_HHMMSS_..."; empty when the
// name does not have that form.
bool NameParts(const QString& name, QString* date, QString* time) {
  if (name.size() < 15 || name[8] != QLatin1Char('_')) return false;
  for (int i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14})
    if (!name[i].isDigit()) return false;
  *date = QStringLiteral("%1-%2-%3").arg(name.mid(0, 4), name.mid(4, 2), name.mid(6, 2));
  *time = QStringLiteral("%1:%2:%3").arg(name.mid(9, 2), name.mid(11, 2), name.mid(13, 2));
  return true;
}

}  // namespace

RecordingListWindow::RecordingListWindow(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint) {
  resize(256, 720);
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, QColor(0x33, 0x33, 0x33));
  pal.setColor(QPalette::Base, QColor(0x33, 0x33, 0x33));
  pal.setColor(QPalette::Text, Qt::white);
  pal.setColor(QPalette::WindowText, Qt::white);
  setPalette(pal);
  auto* close = new QPushButton(QStringLiteral("X"), this);
  close->setGeometry(230, 0, 25, 25);
  connect(close, &QPushButton::clicked, this, [this] { hideRequest_ = true; });
  rows_ = new QTreeWidget(this);
  rows_->setGeometry(0, 48, 256, 635);
  rows_->setColumnCount(4);
  rows_->setHeaderHidden(true);
  rows_->setRootIsDecorated(false);
  rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
  rows_->setPalette(pal);
  rows_->setColumnWidth(0, 80);
  rows_->setColumnWidth(1, 80);
  rows_->setColumnWidth(2, 70);
  rows_->setColumnHidden(3, true);
  auto request = [this](QTreeWidgetItem* item) {
    mark_ = rows_->indexOfTopLevelItem(item);
    playRequest_ = true;
  };
  connect(rows_, &QTreeWidget::itemClicked, this, request);
  connect(rows_, &QTreeWidget::itemDoubleClicked, this, request);
}

int RecordingListWindow::RowCount() const { return rows_->topLevelItemCount(); }

std::string RecordingListWindow::RowPath(int row) const {
  if (row < 0 || row >= RowCount()) return {};
  return rows_->topLevelItem(row)->text(3).toStdString();
}

void RecordingListWindow::ClearSelection() { rows_->clearSelection(); }

void RecordingListWindow::SelectRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  rows_->setCurrentItem(rows_->topLevelItem(row));
  rows_->topLevelItem(row)->setSelected(true);
}

void RecordingListWindow::EnsureVisible(int row) {
  if (row >= 0 && row < RowCount()) rows_->scrollToItem(rows_->topLevelItem(row));
}

void RecordingListWindow::RestoreSelectionMark() {
  if (mark_ >= 0 && mark_ < RowCount()) rows_->topLevelItem(mark_)->setSelected(true);
}

void RecordingListWindow::FocusList() {
  if (isVisible()) rows_->setFocus();
}

void RecordingListWindow::ClearLists() {
  rows_->clear();
  mark_ = -1;
}

void RecordingListWindow::AddRow(const QString& date, const QString& time, const QString& kind,
                                 const QString& path) {
  auto* item = new QTreeWidgetItem(QStringList{date, time, kind, path});
  rows_->addTopLevelItem(item);
}

void RecordingListWindow::SortDescending() {
  rows_->sortItems(3, Qt::DescendingOrder);
  // Sorting by path orders by folder first; order by the file name instead.
  std::vector<QTreeWidgetItem*> items;
  while (rows_->topLevelItemCount() > 0) items.push_back(rows_->takeTopLevelItem(0));
  std::stable_sort(items.begin(), items.end(), [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
    return QFileInfo(a->text(3)).fileName() > QFileInfo(b->text(3)).fileName();
  });
  for (QTreeWidgetItem* item : items) rows_->addTopLevelItem(item);
}

void RecordingListWindow::FillFromCard(const std::string& cardRoot) {
  ClearLists();
  QDirIterator it(QString::fromStdString(cardRoot), QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    const QFileInfo info(it.next());
    const QString ext = info.suffix().toUpper();
    if (ext != QLatin1String("AVI") && ext != QLatin1String("MP4")) continue;
    const QString folder = info.dir().dirName().toUpper();
    QString kind;
    if (folder == QLatin1String("NORMAL")) kind = QStringLiteral("Normal");
    else if (folder == QLatin1String("EVENT")) kind = QStringLiteral("Event");
    else if (folder == QLatin1String("PARKING")) kind = QStringLiteral("Parking");
    else continue;
    QString date, time;
    if (!NameParts(info.fileName(), &date, &time)) continue;
    AddRow(date, time, kind, info.filePath());
  }
  SortDescending();
  if (RowCount() > 0) {
    mark_ = 0;
    SelectRow(0);
  }
}

void RecordingListWindow::FillFromFiles(const std::vector<std::string>& paths) {
  ClearLists();
  for (const std::string& path : paths) {
    const QString file = QString::fromStdString(path);
    if (!file.contains(QLatin1String(".avi"))) continue;
    // Read-only: the size is all that is needed.
    QFile probe(file);
    if (!probe.open(QIODevice::ReadOnly)) continue;
    if (probe.size() / 1024 <= 10) continue;
    QString date, time;
    const QString name = QFileInfo(file).fileName();
    if (!NameParts(name, &date, &time)) date = name;
    int row = 0;
    while (row < RowCount() && QFileInfo(rows_->topLevelItem(row)->text(3)).fileName() <= name)
      ++row;
    rows_->insertTopLevelItem(row, new QTreeWidgetItem(QStringList{date, time, "File", file}));
  }
  if (RowCount() > 0) {
    mark_ = 0;
    SelectRow(0);
  }
}

std::vector<std::string> RecordingListWindow::AskForFiles() {
  const QStringList chosen = QFileDialog::getOpenFileNames(
      parentWidget(), QString(), QString(), QStringLiteral("mp4 files(*.mp4 *.avi)"));
  std::vector<std::string> paths;
  for (const QString& path : chosen) paths.push_back(path.toStdString());
  return paths;
}

void RecordingListWindow::Toggle(const QRect& mainFrame) {
  setGeometry(mainFrame.right() + 1, mainFrame.top(), 256, 720);
  setVisible(!isVisible());
}

bool RecordingListWindow::TakePlayRequest() {
  const bool was = playRequest_;
  playRequest_ = false;
  return was;
}

bool RecordingListWindow::TakeHideRequest() {
  const bool was = hideRequest_;
  hideRequest_ = false;
  return was;
}

}  // namespace lumora
