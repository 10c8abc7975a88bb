#include "app/ListDlgPort.h"

#include <QFileDialog>
#include <QTreeWidget>

#include "library/qt/CListDlg.h"

namespace lumora {

ListDlgPort::ListDlgPort(CListDlg* dialog) : QObject(dialog), dialog_(dialog) {
  connect(dialog_, &CListDlg::RowActivated, this, [this](int row) { mark_ = row; });
  connect(dialog_, &CListDlg::SelectionMoved, this, [this](int row) { mark_ = row; });
}

int ListDlgPort::RowCount() const { return dialog_->RowCount(); }

std::string ListDlgPort::RowPath(int row) const { return dialog_->RowPath(row).toStdString(); }

int ListDlgPort::FindRow(const std::string& path) const {
  for (int row = 0; row < RowCount(); ++row)
    if (RowPath(row) == path) return row;
  return -1;
}

int ListDlgPort::SelectionMark() const {
  if (mark_ >= 0 && mark_ < RowCount()) return mark_;
  return dialog_->SelectedRow();
}

void ListDlgPort::ClearSelection() { dialog_->List(CListDlg::kIdVisibleList)->clearSelection(); }

void ListDlgPort::SelectRow(int row) { dialog_->SelectRow(row); }

void ListDlgPort::EnsureVisible(int row) {
  QTreeWidget* list = dialog_->List(CListDlg::kIdVisibleList);
  if (QTreeWidgetItem* item = list->topLevelItem(row)) list->scrollToItem(item);
}

void ListDlgPort::RestoreSelectionMark() {
  const int row = SelectionMark();
  if (row >= 0 && row < RowCount()) dialog_->SelectRow(row);
}

void ListDlgPort::FocusList() {
  if (dialog_->isVisible()) dialog_->List(CListDlg::kIdVisibleList)->setFocus();
}

void ListDlgPort::ClearLists() {
  dialog_->ClearLists();
  mark_ = -1;
}

void ListDlgPort::FillFromCard(const std::string& cardRoot) {
  dialog_->ScanCard(cardRoot);
  dialog_->SelectRow(0);
  mark_ = RowCount() > 0 ? 0 : -1;
}

void ListDlgPort::FillFromFiles(const std::vector<std::string>& paths) {
  std::vector<std::filesystem::path> files(paths.begin(), paths.end());
  dialog_->OpenFiles(files);
  mark_ = RowCount() > 0 ? 0 : -1;
}

std::vector<std::string> ListDlgPort::AskForFiles() {
  const QStringList chosen = QFileDialog::getOpenFileNames(dialog_->parentWidget(), QString(),
                                                           QString(), CListDlg::QtOpenFilter());
  std::vector<std::string> paths;
  for (const QString& path : chosen) paths.push_back(path.toStdString());
  return paths;
}

bool ListDlgPort::IsListVisible() const { return dialog_->isVisible(); }

void ListDlgPort::Toggle(const QRect& mainFrame) { dialog_->ToggleBeside(mainFrame); }

void ListDlgPort::HideList() { dialog_->hide(); }

bool ListDlgPort::TakePlayRequest() { return dialog_->TakePlayRequest(); }

bool ListDlgPort::PlayRequestPending() const { return dialog_->PlayRequested(); }

bool ListDlgPort::TakeHideRequest() { return dialog_->TakeHideRequest(); }

void ListDlgPort::ShowCategory(int id) { dialog_->ShowCategory(id); }

}  // namespace lumora
