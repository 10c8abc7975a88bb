#pragma once
// A fresh folder under the system temp folder, removed with its contents.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

namespace lumora::test {

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    m_path = std::filesystem::temp_directory_path() /
             ("lumora-library-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(m_path);
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return m_path; }

  // Creates the file (and its folders) with `bytes` bytes.
  std::filesystem::path File(const std::filesystem::path& rel, std::size_t bytes = 1) const {
    const auto p = m_path / rel;
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << std::string(bytes, 'x');
    return p;
  }
  std::filesystem::path Dir(const std::filesystem::path& rel) const {
    std::filesystem::create_directories(m_path / rel);
    return m_path / rel;
  }

 private:
  std::filesystem::path m_path;
};

}  // namespace lumora::test
