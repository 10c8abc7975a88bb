#pragma once
// The recording list window behind the main window's list interface. Keeps
// the selection mark (the row the main window last chose or the user last
// clicked) apart from the list's momentary selection.

#include <QObject>

#include "app/IRecordingList.h"

namespace lumora {

class CListDlg;

class ListDlgPort : public QObject, public IRecordingList {
  Q_OBJECT

 public:
  explicit ListDlgPort(CListDlg* dialog);

  int RowCount() const override;
  std::string RowPath(int row) const override;
  int FindRow(const std::string& path) const override;
  int SelectionMark() const override;
  void SetSelectionMark(int row) override { mark_ = row; }
  void ClearSelection() override;
  void SelectRow(int row) override;
  void EnsureVisible(int row) override;
  void RestoreSelectionMark() override;
  void FocusList() override;
  void ClearLists() override;
  void FillFromCard(const std::string& cardRoot) override;
  void FillFromFiles(const std::vector<std::string>& paths) override;
  std::vector<std::string> AskForFiles() override;
  bool IsListVisible() const override;
  void Toggle(const QRect& mainFrame) override;
  void HideList() override;
  bool TakePlayRequest() override;
  bool PlayRequestPending() const override;
  bool TakeHideRequest() override;
  void ShowCategory(int id) override;

  CListDlg* Dialog() const { return dialog_; }

 private:
  CListDlg* dialog_;
  int mark_ = -1;
};

}  // namespace lumora
