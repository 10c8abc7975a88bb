#pragma once
// The drive list of DIT mode: one row per accepted ".DIT" file with its date,
// distance and driving times; files without a single valid point are collected
// and reported together.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "library/CDitStatistics.h"

namespace lumora {

struct DitDriveRow {
  std::string m_strNo;         // "%04d" of the row number + 1
  std::string m_strDate;       // "YYYY-MM-DD" from the file name
  std::string m_strDistance;   // "%0.2lf km"
  std::string m_strTime;       // moving " / " total
  std::string m_strOverspeed;  // "%02d:%02d:%02d"
  std::string m_strImgFolder;  // not filled by the scan
  std::filesystem::path m_path;
  int m_nPoints = 0;
};

class CDitDriveList {
 public:
  static constexpr const char* kInvalidCaption = "Invalid DIT Files :\n";
  // Files chosen in the open dialog of this size or smaller are skipped.
  static constexpr std::uintmax_t kMinOpenSize = 10 * 1024;

  void Clear();
  // Checks one file and adds its row. When it has no valid point its name and
  // a line break go to the invalid list and false is returned.
  bool AddFile(const std::filesystem::path& path, int limit);
  // Walks DIT/GPS of the card root (names matched without regard to case) and
  // adds every file whose extension is ".DIT", in name order.
  void ScanCard(const std::filesystem::path& root, int limit);
  // Adds the files chosen in the open dialog: names containing ".dit" (any
  // case) larger than kMinOpenSize; others are skipped without a message.
  void AddOpened(const std::vector<std::filesystem::path>& files, int limit);
  // Recomputes every row's statistics with a new limit.
  void Recompute(int limit);

  const std::vector<DitDriveRow>& Rows() const { return m_rows; }
  // The names of the invalid files, each followed by a line break.
  const std::string& InvalidList() const { return m_invalid; }
  // "Invalid DIT Files :\n" and the list; empty when every file was accepted.
  std::string InvalidMessage() const;
  void ClearInvalid() { m_invalid.clear(); }
  // Point count of the last accepted file.
  int LastPointCount() const { return m_nLastPoints; }

  // Fills the columns of a row from the statistics.
  static void FillRow(DitDriveRow* row, const CDitStatistics& stats);
  // "YYYY-MM-DD" from the first eight characters of a file name.
  static std::string DateOfName(const std::string& name);

 private:
  std::vector<DitDriveRow> m_rows;
  std::string m_invalid;
  int m_nLastPoints = 0;
};

}  // namespace lumora
