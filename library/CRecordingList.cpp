#include "library/CRecordingList.h"

#include "library/CFileCollector.h"
#include "library/CRecordingName.h"
#include "library/CTextForms.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <numeric>

namespace lumora {
namespace {

std::string Part(const std::string& s, std::size_t pos, std::size_t len) {
  return pos < s.size() ? s.substr(pos, len) : std::string();
}

// The camera writes AVI and MP4 recordings; a FAT card may show either
// extension in upper case.
bool IsRecordingFile(const std::filesystem::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext == ".avi" || ext == ".mp4";
}

}  // namespace

void CRecordingList::Clear() {
  master_.clear();
  staging_.clear();
  visible_.clear();
  records_.clear();
  sizes_.clear();
}

bool CRecordingList::AddScanned(const std::filesystem::path& path) {
  const std::optional<RecordingClass> found = CRecordingName::Classify(path);
  if (!found) return false;
  ListRow row{found->date, found->time, found->kind, path.string()};
  master_.push_back(row);
  visible_.push_back(row);
  records_.push_back(
      {found->dateTime, CRecordingName::ParseName(path.filename().string()), path.string()});
  return true;
}

int CRecordingList::ScanCard(const std::filesystem::path& root) {
  Clear();
  int added = 0;
  for (const std::filesystem::path& file : CFileCollector::Collect(root)) {
    if (AddScanned(file)) ++added;
  }
  Refill();
  return added;
}

std::optional<std::uint64_t> CRecordingList::ReadOnlySize(const std::filesystem::path& path) {
  // Only regular files: opening a pipe or device named like a recording could block.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  // Opened for reading only: recordings on a write-protected card must list too.
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return std::nullopt;
  const std::streamoff end = file.tellg();
  if (end < 0) return std::nullopt;
  return static_cast<std::uint64_t>(end);
}

int CRecordingList::AddOpened(const std::vector<std::filesystem::path>& paths) {
  Clear();
  int added = 0;
  for (const std::filesystem::path& path : paths) {
    const std::string text = path.string();
    if (!IsRecordingFile(path)) continue;
    const std::optional<std::uint64_t> size = ReadOnlySize(path);
    if (!size || !CTextForms::IsListableSize(*size)) continue;

    const std::string name = path.filename().string();
    // Before the first listed recording whose name the new one sorts before;
    // names that compare equal keep the order in which they were chosen.
    auto before = std::find_if(master_.begin(), master_.end(), [&](const ListRow& row) {
      return CRecordingName::SortsBefore(name, std::filesystem::path(row.path).filename().string());
    });
    const auto index = before - master_.begin();

    const std::vector<std::string> fields = CRecordingName::ParseName(name);
    const std::string& stamp = fields.empty() ? name : fields.front();
    ListRow row{Part(stamp, 0, 4) + "-" + Part(stamp, 4, 2) + "-" + Part(stamp, 6, 2),
                Part(stamp, 9, 2) + ":" + Part(stamp, 11, 2) + ":" + Part(stamp, 13, 2), kFileLabel,
                text};
    RecordingRecord record{row.date + " " + row.time, fields, text};
    master_.insert(master_.begin() + index, row);
    visible_.insert(visible_.begin() + std::min<std::ptrdiff_t>(index, visible_.size()), row);
    records_.insert(records_.begin() + index, record);
    sizes_.insert(sizes_.begin() + index, CTextForms::FileSizeText(*size));
    ++added;
  }
  Refill();
  return added;
}

bool CRecordingList::Passes(const std::string& kind, const ListFilter& filter) {
  if (kind == kFileLabel) return true;
  if (filter.continuous && (kind == "Normal" || kind == "NORMAL")) return true;
  if (filter.event && (kind == "Event" || kind == "EVENT")) return true;
  if (filter.parking && (kind == "Parking" || kind == "PARKING")) return true;
  return false;
}

void CRecordingList::Refill() {
  visible_.clear();
  staging_.clear();
  for (const ListRow& row : master_) {
    if (Passes(row.kind, filter_)) staging_.push_back(row);
  }
  std::vector<std::int64_t> keys;
  keys.reserve(staging_.size());
  for (const ListRow& row : staging_) keys.push_back(CRecordingName::SortKey(row.path));
  std::vector<std::size_t> order(staging_.size());
  std::iota(order.begin(), order.end(), 0);
  // Descending is the exact mirror of ascending, so that flipping the order
  // maps row r to row n - 1 - r even among equal keys.
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  if (order_ != 0) std::reverse(order.begin(), order.end());
  for (std::size_t i : order) visible_.push_back(staging_[i]);
}

int CRecordingList::ToggleOrder(int selected) {
  order_ = order_ ? 0 : 1;
  Refill();
  const int count = static_cast<int>(visible_.size());
  if (selected < 0 || selected >= count) return -1;
  return count - 1 - selected;
}

void CRecordingList::ShowOnly(bool continuous, bool event, bool parking) {
  filter_ = {continuous, event, parking};
  Refill();
}

}  // namespace lumora
