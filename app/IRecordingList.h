#pragma once
// The recording list window as the main window drives it: the visible list's
// rows and selection, the card scan and the chosen files, the toggle beside
// the main window, and the two request flags its timer serves.

#include <string>
#include <vector>

class QRect;

namespace lumora {

class IRecordingList {
 public:
  virtual ~IRecordingList() = default;
  virtual int RowCount() const = 0;
  // Full path (column 3) of a visible row; empty outside the list.
  virtual std::string RowPath(int row) const = 0;
  // The visible row listing `path`, -1 when none does.
  virtual int FindRow(const std::string& path) const = 0;
  virtual int SelectionMark() const = 0;
  virtual void SetSelectionMark(int row) = 0;
  // Clears the selected state of every row.
  virtual void ClearSelection() = 0;
  // Selects and focuses one row.
  virtual void SelectRow(int row) = 0;
  virtual void EnsureVisible(int row) = 0;
  // Re-selects the selection mark (after focus moved elsewhere).
  virtual void RestoreSelectionMark() = 0;
  virtual void FocusList() = 0;
  // Empties the visible and the master list.
  virtual void ClearLists() = 0;

  // Scans a card root and lists its recordings (row 0 selected).
  virtual void FillFromCard(const std::string& cardRoot) = 0;
  // Lists chosen files (row 0 selected).
  virtual void FillFromFiles(const std::vector<std::string>& paths) = 0;
  // Shows the open-file dialog; returns the chosen paths (none on cancel).
  virtual std::vector<std::string> AskForFiles() = 0;

  virtual bool IsListVisible() const = 0;
  // Moves the window beside `mainFrame` (256 x 760) and shows or hides it.
  virtual void Toggle(const QRect& mainFrame) = 0;
  virtual void HideList() = 0;

  // Requests set by the list window, read and cleared by the update timer.
  virtual bool TakePlayRequest() = 0;
  virtual bool PlayRequestPending() const = 0;
  virtual bool TakeHideRequest() = 0;

  // Category buttons of the main window (1150-1152, 4153): filter and refill.
  virtual void ShowCategory(int id) = 0;
};

}  // namespace lumora
