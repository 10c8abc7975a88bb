#pragma once
// The recording list window (template 341): a tall frameless window docked
// at the right edge of the main window with the visible recording list 5013,
// the off-screen master (3014) and staging (3015) lists, the hidden second
// list 5014, the category buttons, the order bar and its close button.
//
// How the main window uses it: it creates one CListDlg (hidden) at start-up
// and keeps it for its life.
//  - SDOPEN: ScanCard(root) of the card found; then it plays row 0.
//  - OPEN: OpenFiles(paths) of the files chosen; then Stop and Play.
//  - Its update timer reads TakePlayRequest() (a row was clicked) and
//    TakeHideRequest() (the "X" button) and serves them.
//  - Buttons 1193 / 4200 call ToggleBeside(frameGeometry()) and show the
//    open or closed toggle bitmap by the returned visibility.
//  - Play / Previous / Next read RowCount(), SelectedRow(), RowPath(row) and
//    move the selection with SelectRow(row).
//  - Drive removal of the current card: ClearLists().
//  - Filter() holds the three kind flags shared with the main window's
//    category buttons (1150-1152), which call ShowCategory(id).

#include "library/CRecordingList.h"

#include <QDialog>
#include <QPoint>
#include <QString>

#include <filesystem>
#include <memory>
#include <vector>

class QTreeWidget;

namespace lumora {

class CSkinButton;

class CListDlg : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTemplateId = 341;
  // Lists.
  static constexpr int kIdVisibleList = 5013;
  static constexpr int kIdMasterList = 3014;
  static constexpr int kIdStagingList = 3015;
  static constexpr int kIdSecondList = 5014;
  // Buttons.
  static constexpr int kIdClose = 1200;
  static constexpr int kIdContinuous = 1201;
  static constexpr int kIdEvent = 1205;
  static constexpr int kIdParking = 8202;
  static constexpr int kIdAll = 1207;
  static constexpr int kIdManual = 4206;
  static constexpr int kIdOrder = 1331;
  // Category buttons of the main window's compact layout.
  static constexpr int kIdMainEvent = 1150;
  static constexpr int kIdMainMotion = 1151;
  static constexpr int kIdMainContinuous = 1152;
  static constexpr int kIdMainManual = 4153;
  // Size beside the main window (as high as its client area).
  static constexpr int kWidth = 256;
  static constexpr int kHeight = 760;
  // Filter of the open dialog, in the Windows form.
  static constexpr const char* kOpenFilter = "mp4 files(*.mp4, *.avi)|*.mp4; *.avi||";

  explicit CListDlg(QWidget* parent = nullptr);
  ~CListDlg() override;

  // Scans `root` as the current card (also used for an explicit card folder).
  // The folder walk runs on a worker thread while this thread goes on with
  // its timers and repaints (user input waits); returns when the rows are
  // listed. A call while a scan runs does nothing; ClearLists() during a
  // scan drops its result.
  void ScanCard(const std::filesystem::path& root);
  bool Scanning() const { return scanning_; }

  // The rows from chosen files; selects row 0, marks the list loaded and shows
  // the window. Returns the number of rows listed.
  int OpenFiles(const std::vector<std::filesystem::path>& paths);
  // The open dialog's filter in Qt's form, made from kOpenFilter.
  static QString QtOpenFilter();

  // Rebuild the visible list from the master list (filter and order).
  void Refill();
  // Category buttons (1201, 1205, 8202, 1207 here; 1150-1152 of the main window).
  void ShowCategory(int id);
  // Ascending / Descending, keeping the selected recording selected.
  void ToggleOrder();

  ListFilter& Filter() { return list_.Filter(); }
  const CRecordingList& Rows() const { return list_; }
  bool ManualRecording() const { return manual_; }

  int RowCount() const;
  int SelectedRow() const;
  void SelectRow(int row);
  // Column 3 of a visible row; empty when out of range.
  QString RowPath(int row) const;
  QString RowText(int row, int column) const;
  QTreeWidget* List(int id) const;

  // Requests served by the main window's update timer.
  bool PlayRequested() const { return play_request_; }
  bool TakePlayRequest();
  bool HideRequested() const { return hide_request_; }
  bool TakeHideRequest();

  // Moves the window next to the main window (left edge at its right edge,
  // same top), 256 x 760, and shows or hides it; returns whether it is shown now.
  bool ToggleBeside(const QRect& main_frame);

  // Drive removal of the current card: empties the visible and master lists.
  void ClearLists();
  QString CardRoot() const { return card_root_; }
  bool CardPresent() const { return !card_root_.isEmpty(); }
  void ClearCard() { card_root_.clear(); }
  bool Loaded() const { return loaded_; }

 signals:
  // A row was clicked or double-clicked (the play request is set).
  void RowActivated(int row);
  // The selected recording moved to another row (the order was flipped).
  void SelectionMoved(int row);
  // The card was scanned (the DIT list follows it).
  void CardScanned(const QString& root);
  void HideRequestSet();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTreeWidget* MakeList(int id, const QRect& where, const QStringList& titles,
                        const std::vector<int>& widths);
  CSkinButton* MakeButton(int id, const QString& caption, const QRect& where, int skin, int kind);
  void OnButton(int id);
  void Mirror();
  void UpdateCategoryLook();

  CRecordingList list_;
  QTreeWidget* visible_ = nullptr;
  QTreeWidget* master_ = nullptr;
  QTreeWidget* staging_ = nullptr;
  QTreeWidget* second_ = nullptr;
  QString card_root_;
  bool play_request_ = false;
  bool hide_request_ = false;
  bool loaded_ = false;
  bool manual_ = false;
  bool scanning_ = false;
  int scan_generation_ = 0;
  bool dragging_ = false;
  QPoint drag_offset_;
};

}  // namespace lumora
