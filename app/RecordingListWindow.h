#pragma once
// A plain recording list beside the main window: rows of date, time, kind and
// path, a close button, and the play / hide requests the main window's timer
// serves. Used until the skinned list window is wired in.

#include <QWidget>

#include "app/IRecordingList.h"

class QTreeWidget;

namespace lumora {

class RecordingListWindow : public QWidget, public IRecordingList {
  Q_OBJECT

 public:
  explicit RecordingListWindow(QWidget* parent = nullptr);

  int RowCount() const override;
  std::string RowPath(int row) const override;
  int SelectionMark() const override { return mark_; }
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
  bool IsListVisible() const override { return isVisible(); }
  void Toggle(const QRect& mainFrame) override;
  void HideList() override { hide(); }
  bool TakePlayRequest() override;
  bool PlayRequestPending() const override { return playRequest_; }
  bool TakeHideRequest() override;

  // Appends one row (date, time, kind, path) to the list.
  void AddRow(const QString& date, const QString& time, const QString& kind,
              const QString& path);

 private:
  void SortDescending();

  QTreeWidget* rows_ = nullptr;
  int mark_ = -1;
  bool playRequest_ = false;
  bool hideRequest_ = false;
};

}  // namespace lumora
