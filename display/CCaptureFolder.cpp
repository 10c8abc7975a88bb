#include "display/CCaptureFolder.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace lumora {

namespace fs = std::filesystem;

bool CCaptureFolder::StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) !=
        std::toupper(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

bool CCaptureFolder::IsPictureName(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".jpg";
}

fs::path CCaptureFolder::FolderOf(const fs::path& recording) {
  const fs::path base = recording.parent_path().parent_path();
  std::error_code ec;
  fs::directory_iterator it(base, ec);
  if (!ec) {
    for (const auto& entry : it) {
      const std::string name = entry.path().filename().string();
      if (name.size() == 7 && StartsWithNoCase(name, kFolderName) && entry.is_directory(ec)) {
        return entry.path();
      }
    }
  }
  return base / kFolderName;
}

std::string CCaptureFolder::KeyOf(const fs::path& recording) {
  return recording.filename().string().substr(0, 8);
}

std::vector<fs::path> CCaptureFolder::FindPictures(const fs::path& recording) {
  std::vector<fs::path> pictures;
  const std::string key = KeyOf(recording);
  std::error_code ec;
  fs::directory_iterator folders(FolderOf(recording), ec);
  if (ec) return pictures;
  for (const auto& folder : folders) {
    if (!folder.is_directory(ec)) continue;
    if (!StartsWithNoCase(folder.path().filename().string(), key)) continue;
    fs::directory_iterator files(folder.path(), ec);
    if (ec) continue;
    for (const auto& file : files) {
      if (file.is_regular_file(ec) && IsPictureName(file.path().filename().string())) {
        pictures.push_back(file.path());
      }
    }
  }
  std::sort(pictures.begin(), pictures.end());
  return pictures;
}

std::vector<fs::path> CCaptureFolder::FindPicturesBelow(const fs::path& captureFolder,
                                                        const std::string& key) {
  std::vector<fs::path> pictures;
  std::error_code ec;
  fs::recursive_directory_iterator it(captureFolder, fs::directory_options::skip_permission_denied,
                                      ec);
  if (ec) return pictures;
  for (auto end = fs::recursive_directory_iterator(); it != end; it.increment(ec)) {
    if (ec) break;
    const fs::path& p = it->path();
    if (!it->is_regular_file(ec) || !IsPictureName(p.filename().string())) continue;
    if (!StartsWithNoCase(p.parent_path().filename().string(), key)) continue;
    pictures.push_back(p);
  }
  std::sort(pictures.begin(), pictures.end());
  return pictures;
}

}  // namespace lumora
