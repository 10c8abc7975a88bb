#pragma once
// The drive-selection dialog (template 130): a drop-down list (control 3024)
// of the disks and cards the program can open, and OK.
#include <QDialog>
#include <QString>
#include <filesystem>
#include <optional>
#include <vector>

#include "library/CDriveList.h"
#include "platform/IDriveEnumerator.h"

class QComboBox;

namespace lumora {

class CSelectDriveDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 130;
  static constexpr int kIdDriveList = 3024;

  CSelectDriveDlg(const IDriveEnumerator& drives, QWidget* parent = nullptr);

  // Runs the dialog modally: the chosen entry's text, nothing on Cancel or
  // when there is no drive to offer.
  std::optional<QString> Run();
  // The entries offered and the chosen one (valid after OK).
  const std::vector<DriveListEntry>& Entries() const { return m_entries; }
  QComboBox* DriveList() const { return m_combo; }
  QString ChosenText() const { return m_chosen; }
  std::filesystem::path ChosenRoot() const;
  // OK: keeps the selected entry's text and closes the dialog.
  void OnOK();

 private:
  std::vector<DriveListEntry> m_entries;
  QComboBox* m_combo = nullptr;
  QString m_chosen;
  int m_chosenIndex = -1;
};

}  // namespace lumora
