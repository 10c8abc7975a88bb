#pragma once
// Collects the files below a folder, descending into every subfolder.

#include <filesystem>
#include <vector>

namespace lumora {

class CFileCollector {
 public:
  // Full paths of all regular files below `folder`; entries of one folder in
  // name order, a subfolder's files where the subfolder comes. Unreadable
  // folders are skipped; links to folders are not followed (no loops).
  static std::vector<std::filesystem::path> Collect(const std::filesystem::path& folder);
  static void Collect(const std::filesystem::path& folder, std::vector<std::filesystem::path>& out);
};

}  // namespace lumora
