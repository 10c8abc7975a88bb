#include "library/CFileCollector.h"

#include <algorithm>
#include <system_error>

namespace lumora {

std::vector<std::filesystem::path> CFileCollector::Collect(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> out;
  Collect(folder, out);
  return out;
}

void CFileCollector::Collect(const std::filesystem::path& folder,
                             std::vector<std::filesystem::path>& out) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  if (ec) return;
  std::vector<std::filesystem::directory_entry> entries;
  for (; it != std::filesystem::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    entries.push_back(*it);
  }
  std::sort(entries.begin(), entries.end(),
            [](const auto& a, const auto& b) { return a.path().filename() < b.path().filename(); });
  for (const auto& entry : entries) {
    if (entry.is_symlink(ec)) {
      if (entry.is_regular_file(ec)) out.push_back(entry.path());
      continue;
    }
    if (entry.is_directory(ec)) {
      Collect(entry.path(), out);
    } else if (entry.is_regular_file(ec)) {
      out.push_back(entry.path());
    }
  }
}

}  // namespace lumora
