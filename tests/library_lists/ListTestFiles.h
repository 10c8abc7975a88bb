#pragma once
// A temporary card folder with recordings of chosen sizes, for the list tests.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace lumora::test {

class ListTestFolder {
 public:
  ListTestFolder() {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("lumora-lists-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
  }
  ~ListTestFolder() {
    std::error_code ec;
    // Read-only files and folders must become writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(path_, ec);
  }
  ListTestFolder(const ListTestFolder&) = delete;
  ListTestFolder& operator=(const ListTestFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }

  std::filesystem::path File(const std::filesystem::path& rel,
                             std::size_t bytes = 20 * 1024) const {
    const auto p = path_ / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << std::string(bytes, 'r');
    return p;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace lumora::test
