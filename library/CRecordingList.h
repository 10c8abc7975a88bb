#pragma once
// The rows of the recording list window without any widget: the master list
// of every recording found, the visible list after the kind filter and the
// date order, the table of recording records, and the rules that fill them
// from a card scan or from files chosen by hand.
//
// CListDlg owns one and mirrors its rows into the list views; the main window
// reaches it through CListDlg (filter flags, rows, paths).

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace lumora {

// Row columns: 0 date, 1 time, 2 kind label, 3 full path.
struct ListRow {
  std::string date;
  std::string time;
  std::string kind;
  std::string path;
  bool operator==(const ListRow&) const = default;
};

// One entry of the record table: the combined date-time text and the name fields.
struct RecordingRecord {
  std::string dateTime;
  std::vector<std::string> nameFields;
  std::string path;
};

// Which kinds pass the filter ("File" rows always pass).
struct ListFilter {
  bool continuous = true;
  bool event = true;
  bool parking = true;
};

class CRecordingList {
 public:
  static constexpr const char* kFileLabel = "File";

  // Order flag: 1 descending (newest first, initial), 0 ascending.
  int Order() const { return order_; }
  void SetOrder(int order) { order_ = order ? 1 : 0; }
  ListFilter& Filter() { return filter_; }
  const ListFilter& Filter() const { return filter_; }

  const std::vector<ListRow>& Master() const { return master_; }
  const std::vector<ListRow>& Staging() const { return staging_; }
  const std::vector<ListRow>& Visible() const { return visible_; }
  const std::vector<RecordingRecord>& Records() const { return records_; }
  int RecordCount() const { return static_cast<int>(records_.size()); }

  // Empties the visible and master lists and the record table.
  void Clear();

  // Card scan: every file below `root`, classified by folder and suffix;
  // accepted files are appended to the master and visible lists. Then the
  // visible list is refilled. Returns the number of rows added.
  int ScanCard(const std::filesystem::path& root);
  // Appends one scanned file if it is a recording; true when added.
  bool AddScanned(const std::filesystem::path& path);

  // Files chosen in the open dialog: the lists are emptied, then each path that
  // ends in ".avi" or ".mp4" (any case), opens for reading and is larger than 10 KiB
  // is inserted as a "File" row before the first listed name it sorts before.
  // Then the visible list is refilled. Returns the number of rows added.
  int AddOpened(const std::vector<std::filesystem::path>& paths);

  // Size in bytes of a file opened read-only; nothing when it cannot be opened.
  static std::optional<std::uint64_t> ReadOnlySize(const std::filesystem::path& path);
  // Size text of an added file ("%d,%03d" / "%d" of its KiB), kept per row.
  const std::vector<std::string>& OpenedSizes() const { return sizes_; }

  // Whether a kind label passes the filter (exact, case-sensitive labels).
  static bool Passes(const std::string& kind, const ListFilter& filter);

  // Rebuilds the visible list: filter the master rows into the staging list,
  // then order them by their date-time key (descending when the order flag is 1).
  void Refill();

  // Flips the order flag and refills; returns the row that now shows the
  // recording that was `selected` (row count - 1 - selected), or -1.
  int ToggleOrder(int selected);

  // Category buttons: continuous only, event only, parking only, all three.
  void ShowOnly(bool continuous, bool event, bool parking);

 private:
  std::vector<ListRow> master_;
  std::vector<ListRow> staging_;
  std::vector<ListRow> visible_;
  std::vector<RecordingRecord> records_;
  std::vector<std::string> sizes_;
  ListFilter filter_;
  int order_ = 1;
};

}  // namespace lumora
