#pragma once
// The one temporary folder of the tests: a fresh folder per object, removed
// with its contents (read-only entries included), and plain file helpers.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace lumora::test {

inline std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes `bytes` to `p`, making its folders; returns `p`.
inline std::filesystem::path WriteFile(const std::filesystem::path& p, std::string_view bytes) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream(p, std::ios::binary | std::ios::trunc)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return p;
}

// The number of entries of a folder (to show that no temporary file is left).
inline int CountEntries(const std::filesystem::path& dir) {
  int n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

inline void MakeReadOnly(const std::filesystem::path& p) {
  std::filesystem::permissions(p, std::filesystem::perms::owner_read |
                                      std::filesystem::perms::group_read |
                                      std::filesystem::perms::others_read);
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumora-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& rel) const { return path_ / rel; }
  // A file below the folder with the given bytes.
  std::filesystem::path Write(const std::filesystem::path& rel, std::string_view bytes) const {
    return WriteFile(path_ / rel, bytes);
  }
  // A file of `size` filler bytes (by default above the lists' smallest size).
  std::filesystem::path File(const std::filesystem::path& rel, std::size_t size = 20 * 1024) const {
    return Write(rel, std::string(size, 'x'));
  }
  std::filesystem::path Dir(const std::filesystem::path& rel) const {
    std::filesystem::create_directories(path_ / rel);
    return path_ / rel;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace lumora::test
