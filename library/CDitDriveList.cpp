#include "library/CDitDriveList.h"

#include <algorithm>
#include <cstdio>

#include "library/CCardLocator.h"
#include "library/CRecordingName.h"

namespace lumora {

namespace fs = std::filesystem;

void CDitDriveList::Clear() {
  m_rows.clear();
  m_invalid.clear();
  m_nLastPoints = 0;
}

std::string CDitDriveList::DateOfName(const std::string& name) {
  auto part = [&](std::size_t pos, std::size_t len) {
    return pos < name.size() ? name.substr(pos, len) : std::string();
  };
  return part(0, 4) + "-" + part(4, 2) + "-" + part(6, 2);
}

void CDitDriveList::FillRow(DitDriveRow* row, const CDitStatistics& stats) {
  row->m_strDistance = stats.DistanceText();
  row->m_strTime = stats.MovingText() + " / " + stats.TotalText();
  row->m_strOverspeed = stats.OverspeedText();
  row->m_nPoints = stats.Points();
}

bool CDitDriveList::AddFile(const fs::path& path, int limit) {
  CDitStatistics stats(limit);
  if (!CDitStatistics::OfFile(path, limit, &stats) || stats.Points() == 0) {
    m_invalid += path.filename().string() + "\n";
    return false;
  }
  DitDriveRow row;
  char no[32];
  std::snprintf(no, sizeof no, "%04d", static_cast<int>(m_rows.size()) + 1);
  row.m_strNo = no;
  row.m_strDate = DateOfName(path.filename().string());
  row.m_path = path;
  FillRow(&row, stats);
  m_nLastPoints = stats.Points();
  m_rows.push_back(std::move(row));
  return true;
}

void CDitDriveList::ScanCard(const fs::path& root, int limit) {
  // No card: an empty root would name a DIT folder under the working folder.
  if (root.empty()) return;
  const auto folder = CCardLocator::Resolve(root, fs::path("DIT") / "GPS");
  if (!folder) return;
  std::vector<fs::path> files;
  std::error_code ec;
  for (fs::directory_iterator it(*folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    if (CRecordingName::Upper(it->path().extension().string()) != ".DIT") continue;
    files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& f : files) AddFile(f, limit);
}

void CDitDriveList::AddOpened(const std::vector<fs::path>& files, int limit) {
  for (const fs::path& f : files) {
    if (CRecordingName::Upper(f.filename().string()).find(".DIT") == std::string::npos) continue;
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(f, ec);
    if (ec || size <= kMinOpenSize) continue;
    AddFile(f, limit);
  }
}

void CDitDriveList::Recompute(int limit) {
  for (DitDriveRow& row : m_rows) {
    CDitStatistics stats(limit);
    CDitStatistics::OfFile(row.m_path, limit, &stats);
    FillRow(&row, stats);
  }
}

std::string CDitDriveList::InvalidMessage() const {
  if (m_invalid.empty()) return {};
  return kInvalidCaption + m_invalid;
}

}  // namespace lumora
