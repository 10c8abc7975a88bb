#include "library/CThumbnailPages.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>
#include <string>
#include <system_error>

#include "library/CFileCollector.h"
#include "library/CTextForms.h"

namespace lumora {

namespace fs = std::filesystem;

ThumbnailKind CThumbnailPages::KindOf(const fs::path& file) {
  std::string ext = file.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == ".avi" || ext == ".mp4") return ThumbnailKind::Recording;
  if (ext == ".jpg") return ThumbnailKind::Picture;
  return ThumbnailKind::Other;
}

std::vector<fs::path> CThumbnailPages::Collect(const fs::path& cardRoot) {
  std::error_code ec;
  std::vector<fs::path> folders;
  fs::directory_iterator it(cardRoot, ec);
  if (ec) return {};
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    // Links are not followed: a link to a folder elsewhere is not the card's.
    if (!it->is_symlink(ec) && it->is_directory(ec)) folders.push_back(it->path());
  }
  std::sort(folders.begin(), folders.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  std::vector<fs::path> files;
  for (const fs::path& folder : folders) {
    for (fs::path& file : CFileCollector::Collect(folder)) {
      if (KindOf(file) != ThumbnailKind::Other) files.push_back(std::move(file));
    }
  }
  return files;
}

std::string CThumbnailPages::Details(const fs::path& file) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec) return {};
  const fs::file_time_type written = fs::last_write_time(file, ec);
  if (ec) return {};
  // The file's local date of last change.
  const auto system = std::chrono::file_clock::to_sys(written);
  const std::time_t when = std::chrono::system_clock::to_time_t(system);
  std::tm local{};
  if (!localtime_r(&when, &local)) return {};
  return file.filename().string() + "\n" +
         CTextForms::FileDateText(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) + "  " +
         CTextForms::FileSizeText(size) + " KB";
}

void CThumbnailPages::Load(std::vector<fs::path> files) {
  m_files = std::move(files);
  m_page = 0;
}

void CThumbnailPages::Clear() { Load({}); }

int CThumbnailPages::PageCount() const {
  const int count = static_cast<int>(m_files.size());
  return count == 0 ? 1 : (count + kPerPage - 1) / kPerPage;
}

bool CThumbnailPages::NextPage() {
  if (m_page + 1 >= PageCount()) return false;
  ++m_page;
  return true;
}

bool CThumbnailPages::PreviousPage() {
  if (m_page == 0) return false;
  --m_page;
  return true;
}

std::vector<fs::path> CThumbnailPages::PageFiles() const {
  const std::size_t first = static_cast<std::size_t>(FirstIndex());
  if (first >= m_files.size()) return {};
  const std::size_t last = std::min(m_files.size(), first + kPerPage);
  return {m_files.begin() + static_cast<std::ptrdiff_t>(first),
          m_files.begin() + static_cast<std::ptrdiff_t>(last)};
}

}  // namespace lumora
