#pragma once
// "DIT Setup": the over-speed limit (km/h) used by the drive statistics.

#include <QDialog>

class QLineEdit;

namespace lumora {

class CDITSetupDlg : public QDialog {
  Q_OBJECT

 public:
  // Shows `currentLimit`; placed 300 right of and 350 below the owner's
  // top-left corner, 250 by 100 pixels.
  explicit CDITSetupDlg(int currentLimit, QWidget* parent = nullptr);

  // The number in the edit (as the C library reads it; 0 when none).
  int Value() const;
  QLineEdit* LimitEdit() const { return edit_; }
  // What the dialog returns: the edit's number after OK, the limit it
  // opened with otherwise.
  int Result() const;

 private:
  int initial_;
  QLineEdit* edit_;
};

}  // namespace lumora
